// The real program end to end: the launcher started in a copy of the runnable tree, with a
// stand-in user plug-in (tests/plugins/RobotModule.cpp) that answers its questions.
#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include <gtest/gtest.h>

#include "MakePdf.h"
#include "Plug.h"
#include "ReadJpeg.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

struct ProgramRun {
  int status = -1;
  pid_t pid = 0;
  std::vector<std::string> log, err;
};

class Product : public ::testing::Test {
 protected:
  void SetUp() override {
    tree = dir.Path() / "tree";
    home = dir.Path() / "home";
    fs::copy(APP_TREE, tree, fs::copy_options::recursive);
    fs::copy_file(ROBOT_SO, tree / "PlugDll" / "zz-robot.so");
    fs::create_directories(home / ".config");
    fs::create_directories(dir.Path() / "run");
    fs::permissions(dir.Path() / "run", fs::perms::owner_all);
  }

  ProgramRun Start(const std::vector<std::string>& arguments, int rows) {
    const fs::path log = dir.Path() / "log", err = dir.Path() / "err";
    std::vector<std::string> env = {"HOME=" + home.string(),
                                    "XDG_CONFIG_HOME=" + (home / ".config").string(),
                                    "XDG_RUNTIME_DIR=" + (dir.Path() / "run").string(),
                                    "QT_QPA_PLATFORM=offscreen",
                                    "OSTREL_TEST_LOG=" + log.string(),
                                    "ROBOT_ROWS=" + std::to_string(rows),
                                    "LD_DEBUG=files"};
    for (const char* name : {"PATH", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
      if (const char* value = getenv(name)) env.push_back(std::string(name) + "=" + value);
    std::vector<std::string> args = {(tree / "Ostrel").string()};
    args.insert(args.end(), arguments.begin(), arguments.end());
    const auto pointers = [](std::vector<std::string>& texts) {
      std::vector<char*> p;
      for (std::string& t : texts) p.push_back(t.data());
      p.push_back(nullptr);
      return p;
    };
    std::vector<char*> argv = pointers(args), envp = pointers(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ProgramRun run;
    if (posix_spawn(&run.pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0)
      waitpid(run.pid, &run.status, 0);
    posix_spawn_file_actions_destroy(&actions);
    run.log = ReadLines(log);
    run.err = ReadLines(err);
    return run;
  }

  // The library was unloaded by the launcher (dlclose), not merely dropped at exit.
  bool Unloaded(const ProgramRun& run, const fs::path& library) {
    const std::string line = "file=" + library.string() + " [0];  destroying link map";
    return std::any_of(run.err.begin(), run.err.end(),
                       [&](const std::string& l) { return l.find(line) != std::string::npos; });
  }
  void ExpectCleanExit(const ProgramRun& run) {
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
    for (const fs::path& library : {tree / "dll/Tamberlo.so", tree / "PlugDll/SaveOptionXml.so",
                                    tree / "PlugDll/zz-robot.so"}) {
      if (fs::exists(library)) {
        EXPECT_TRUE(Unloaded(run, library)) << library;
      }
    }
    EXPECT_FALSE(fs::exists("/dev/shm/" + std::to_string(run.pid) + "Plug3.0"));
  }
  std::vector<std::string> Boxes(const ProgramRun& run) {
    std::vector<std::string> boxes;
    for (const std::string& line : run.log)
      if (line.rfind("box: ", 0) == 0) boxes.push_back(line.substr(5));
    return boxes;
  }

  TempDir dir;
  fs::path tree, home;
};

TEST_F(Product, ConvertsTheStartupFilesAndUnloadsEverything) {
  const fs::path a = dir.Path() / "first.pdf", b = dir.Path() / "second report.pdf";
  ASSERT_TRUE(MakeSamplePdf(a.string(), 3));
  ASSERT_TRUE(MakeSamplePdf(b.string(), 12));
  const ProgramRun run = Start({"-f", a.string(), b.string()}, 2);
  ExpectCleanExit(run);
  const std::vector<std::string> expected = {"robot: started",
                                             "title: Ostrel PDF to JPEG",
                                             "application: Ostrel PDF to JPEG",
                                             "icon: 4",
                                             "rows: 2",
                                             "convert",
                                             "box: Ostrel PDF to JPEG: Conversion is completed. "
                                             "Open output folder?",
                                             "converted"};
  EXPECT_EQ(run.log, expected);

  const fs::path out = home / "Documents/Glimmerhof Studio/Ostrel PDF to JPEG/Image";
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(out))
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), out).string());
  std::sort(files.begin(), files.end());
  std::vector<std::string> pages;
  for (int i = 1; i <= 3; ++i) pages.push_back("first/first-" + std::to_string(i) + ".jpg");
  for (int i = 1; i <= 12; ++i)
    pages.push_back("second report/second report-" + std::string(i < 10 ? "0" : "") +
                    std::to_string(i) + ".jpg");
  std::sort(pages.begin(), pages.end());
  EXPECT_EQ(files, pages);
  for (const std::string& page : pages) {
    const JpegImage image = ReadJpeg((out / page).string());
    EXPECT_TRUE(image.ok) << page;
    EXPECT_EQ(image.width, 1275) << page;  // letter at 150 dpi
  }
}

TEST_F(Product, WithoutTheOptionsModuleOneErrorIsShownAndTheRunEnds) {
  fs::remove(tree / "PlugDll/SaveOptionXml.so");
  const ProgramRun run = Start({}, 0);
  ExpectCleanExit(run);
  // The title is set once the context is built, so the box still has the program's name.
  EXPECT_EQ(Boxes(run), std::vector<std::string>{
                            "Ostrel: The options module \"SaveOptionXml\" is not installed."});
}

TEST_F(Product, HostileAndUnusualNames) {
  const fs::path folder = dir.Path() / "we ird 'dir' \"x\"";
  fs::create_directories(folder);
  const std::string longName = std::string(251, 'x') + ".pdf";  // 255 bytes
  const std::vector<std::string> names = {
      "a b.pdf",   "it's \"q\" $(x) `y`.pdf",
      "-dash.pdf", "\u00dcn\u00efc\u00f6d\u00e9 \u6587\u5b57.pdf",
      "Case.pdf",  "case.pdf",
      longName};
  std::vector<std::string> arguments = {"-f"};
  for (const std::string& name : names) {
    ASSERT_TRUE(MakeSamplePdf((folder / name).string(), 1)) << name;
    arguments.push_back((folder / name).string());
  }
  // Files named like libraries that are not ones are passed over.
  std::ofstream(tree / "dll/AAA.SO") << "not a library";
  std::ofstream(tree / "PlugDll/broken.so") << "\x7f"
                                               "ELF garbage";
  const ProgramRun run = Start(arguments, static_cast<int>(names.size()));
  ExpectCleanExit(run);
  const fs::path out = home / "Documents/Glimmerhof Studio/Ostrel PDF to JPEG/Image";
  for (const std::string& name : names) {
    const std::string stem = name.substr(0, name.size() - 4);
    if (name == longName) continue;
    EXPECT_TRUE(ReadJpeg((out / stem / (stem + "-1.jpg")).string()).ok) << name;
  }
  // The long name's page file would be 257 bytes: the system refuses it, and that is said.
  EXPECT_EQ(Boxes(run), (std::vector<std::string>{
                            "Ostrel PDF to JPEG: Internal error occurs while converting files.",
                            "Ostrel PDF to JPEG: Conversion is completed. Open output folder?"}));
  EXPECT_TRUE(fs::is_empty(out / longName.substr(0, 251)));
}

TEST(KovraneMui, IsOfferedByThePluginAndCountsItsReferences) {
  void* library = dlopen(APP_TREE "/dll/Tamberlo.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  I_Plug* module = Plug::CreateModule("KovraneMui");
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(static_cast<I_KovraneMui*>(module)->Ready());
  EXPECT_EQ(module->AddRef(), 2);
  EXPECT_EQ(module->AddRef(), 3);
  for (int i = 0; i < 3; ++i) module->Release();  // the last one deletes it
  dlclose(library);
  EXPECT_EQ(Plug::OpenModuleManage(Plug::RegistryName), nullptr);  // unregistered at unload
}

}  // namespace

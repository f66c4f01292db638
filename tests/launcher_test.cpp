#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "Launcher.h"
#include "TestSupport.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const std::string kPurchase = "https://order.reseller.example/checkout/buy.php?ITEMS=30917-417";

TEST(Base64Decode, GroupsStopsAndPadding) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"TWFu", "Man"},
      {"TWE=", "Ma"},         // three characters before "=": two bytes
      {"TQ==", "M"},          // two characters: one byte
      {"TWFuT", "Man"},       // a lone trailing character: nothing
      {"TWFuTQ", "ManM"},     // a partial group without padding
      {"TWFu=TWFu", "Man"},   // the first "=" ends the input
      {"TWFu\nTWFu", "Man"},  // so does a line break
      {"TW-Fu", "M"},         // and any other character
      {"+/+/", "\xfb\xff\xbf"},
  };
  for (const auto& c : cases) EXPECT_EQ(Base64Decode(c.in, kAlphabet), c.out) << c.in;
}

TEST(Base64Decode, PurchasePrefixIsTheOrderAddress) {
  const std::string prefix = Base64Decode(PURCHASE_PREFIX_B64, kAlphabet);
  EXPECT_EQ(std::string(PURCHASE_PREFIX_B64).size(), 80u);
  EXPECT_EQ(prefix.size(), 60u);
  EXPECT_EQ(prefix.rfind("https://", 0), 0u);
  EXPECT_EQ(prefix.back(), '-');
  EXPECT_EQ(prefix + PRODUCT_NUMBER, kPurchase);
}

TEST(ModuleFolder, IsTheExecutablesFolder) {
  EXPECT_EQ(ModuleFolder(), fs::canonical("/proc/self/exe").parent_path().string() + "/");
}

TEST(PlugLibraryList, LoadsLibrariesByNameAndUnloadsInReverse) {
  TempDir tree;
  const fs::path dir = tree.Path() / "plugins";
  fs::create_directories(dir / "nested.so");
  fs::copy_file(PROBE_ALPHA1, dir / "b.so");
  fs::copy_file(PROBE_OWNER, dir / "A.SO");                 // a capital suffix loads too
  fs::copy_file(PROBE_ALPHA2, dir / "nested.so" / "c.so");  // subfolders are not searched
  fs::copy_file(PROBE_NOINIT, dir / "d.so.txt");
  std::ofstream(dir / "junk.so") << "not a library";
  const fs::path log = tree.Path() / "log";
  setenv("OSTREL_TEST_LOG", log.c_str(), 1);

  PlugLibraryList list;
  list.LoadFolder(dir.string() + "/");  // absolute: not prefixed with the launcher's folder
  list.LoadFolder("no-such-folder/");
  EXPECT_EQ(list.Count(), 2);
  list.FreeAll();
  EXPECT_EQ(list.Count(), 0);
  const std::vector<std::string> expected = {"load owner", "load alpha1", "unload alpha1",
                                             "unload owner"};
  EXPECT_EQ(ReadLines(log), expected);
}

// Runs a copy of the launcher in `tree` with the given plug-in folders; its exit status.
struct LauncherRun {
  int status;
  std::vector<std::string> log;
  std::string err;
};

LauncherRun RunOstrel(const fs::path& tree) {
  fs::copy_file(OSTREL_BINARY, tree / "Ostrel");
  const fs::path log = tree / "events.log", err = tree / "stderr.txt";
  setenv("OSTREL_TEST_LOG", log.c_str(), 1);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const std::string program = (tree / "Ostrel").string();
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  pid_t pid = 0;
  LauncherRun run{-1, {}, {}};
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  run.log = ReadLines(log);
  std::ifstream in(err);
  run.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return run;
}

TEST(Ostrel, RunsTheModuleAndUnloadsInReverseOrder) {
  TempDir tree;
  const fs::path dll = tree.Path() / "dll", plugDll = tree.Path() / "PlugDll";
  fs::create_directories(dll / "nested.so");
  fs::create_directories(plugDll);
  fs::copy_file(LAYOUT_OTHER, dll / "a_owner.SO");  // first to register: owns the table
  fs::copy_file(LAYOUT_MUI, dll / "B_mui.so");      // offers the converter module
  fs::copy_file(PROBE_ALPHA1, dll / "c_probe.so");  // built on the registry's own code
  fs::copy_file(LAYOUT_QUIET, dll / "nested.so" / "x.so");
  std::ofstream(dll / "broken.so") << "not a library";
  fs::copy_file(LAYOUT_MUI2, plugDll / "a_twin.so");  // later, so shadowed
  fs::copy_file(LAYOUT_QUIET, plugDll / "quiet.so");  // registers nothing

  const LauncherRun run = RunOstrel(tree.Path());
  EXPECT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> expected = {
      "load other",  "load mui",
      "load alpha1", "load mui2",
      "load quiet",  "run mui " + std::string(PRODUCT_TITLE) + "|" + kPurchase + "|8 png",
      "release mui", "unload quiet",
      "unload mui2", "unload alpha1",
      "unload mui",  "unload other"};
  EXPECT_EQ(run.log, expected);
  EXPECT_EQ(run.err, "");
}

TEST(Ostrel, WithoutTheModuleSaysSoAndExits1) {
  TempDir tree;
  fs::create_directories(tree.Path() / "dll");
  fs::copy_file(LAYOUT_OTHER, tree.Path() / "dll" / "other.so");
  const LauncherRun run = RunOstrel(tree.Path());
  EXPECT_EQ(run.status, 1);
  const std::string folder = fs::canonical(tree.Path()).string() + "/";
  EXPECT_NE(run.err.find("\"KovraneMui\""), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(folder + "dll/"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(folder + "PlugDll/"), std::string::npos) << run.err;
  EXPECT_EQ(run.log, (std::vector<std::string>{"load other", "unload other"}));
}

TEST(Ostrel, AModuleThatRefusesToStartIsReleased) {
  TempDir tree;
  fs::create_directories(tree.Path() / "PlugDll");
  fs::copy_file(LAYOUT_NOINIT, tree.Path() / "PlugDll" / "noinit.so");
  const LauncherRun run = RunOstrel(tree.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.log, (std::vector<std::string>{"load noinit", "release noinit", "unload noinit"}));
}

}  // namespace

// Converts PDFs to JPEG at 150 dpi, quality 75, colour, with the engine on every core and on
// one render thread, and with Ghostscript and pdftoppm at the same settings; prints seconds,
// pages per second and the ratios. With --memory it converts an A0 page at 600 dpi in a child
// process and prints that process's peak resident memory.
//
//   engine_bench [--memory] [--runs N] [--threads N] file.pdf ...
//
// --threads N times only the engine, on N render threads.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Engine.h"
#include "MakePdf.h"

extern char** environ;
namespace fs = std::filesystem;

namespace {

constexpr int kDpi = 150, kQuality = 75;

double CpuSeconds() {
  double total = 0;
  for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
    rusage usage{};
    getrusage(who, &usage);
    total += usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
             (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  }
  return total;
}

// Wall-clock seconds of `work`; its processor seconds (all threads and children) in *cpu.
double Seconds(const std::function<bool()>& work, bool* ok, double* cpu) {
  const double cpuStart = CpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  *ok = work();
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  *cpu = CpuSeconds() - cpuStart;
  return wall;
}

bool Spawn(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  return started == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

bool Engine(const std::vector<std::string>& files, const fs::path& out) {
  bool ok = true;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const int handle = OpenPDF(files[i].c_str(), 0);
    if (handle <= 0) return false;
    ok = PDF2JPG(handle, out.c_str(), ("f" + std::to_string(i)).c_str(), kDpi, kDpi, 1,
                 GetPageCount(handle), nullptr, kQuality, 0) == 0 &&
         ok;
    ClosePDF(handle);
  }
  return ok;
}

bool Ghostscript(const std::vector<std::string>& files, const fs::path& out, int threads) {
  for (std::size_t i = 0; i < files.size(); ++i)
    if (!Spawn({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=jpeg",
                "-r" + std::to_string(kDpi), "-dJPEGQ=" + std::to_string(kQuality),
                "-dNumRenderingThreads=" + std::to_string(threads),
                "-sOutputFile=" + (out / ("f" + std::to_string(i) + "-%d.jpg")).string(),
                files[i]}))
      return false;
  return true;
}

bool Pdftoppm(const std::vector<std::string>& files, const fs::path& out) {
  for (std::size_t i = 0; i < files.size(); ++i)
    if (!Spawn({"pdftoppm", "-jpeg", "-jpegopt", "quality=" + std::to_string(kQuality), "-r",
                std::to_string(kDpi), files[i], (out / ("f" + std::to_string(i))).string()}))
      return false;
  return true;
}

int MemoryRun(const fs::path& dir) {
  const std::string pdf = (dir / "a0.pdf").string();
  // A0: 2384 x 3370 points, 19867 x 28084 pixels at 600 dpi.
  if (!MakePdf(pdf, {TestPage{2384, 3370, ""}})) return 1;
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    const int handle = OpenPDF(pdf.c_str(), 0);
    _exit(PDF2JPG(handle, dir.c_str(), "a0", 600, 600, 1, 1, nullptr, kQuality, 0) == 0 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  std::printf("A0 page at 600 dpi (19867 x 28084): %s, peak resident memory %.1f MB\n",
              WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "converted" : "FAILED",
              usage.ru_maxrss / 1024.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> files;
  bool memory = false;
  int runs = 1, only = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--memory") == 0)
      memory = true;
    else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
      runs = std::max(1, std::atoi(argv[++i]));
    else if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc)
      only = std::max(1, std::atoi(argv[++i]));
    else
      files.push_back(argv[i]);
  }
  const fs::path dir = fs::temp_directory_path() / ("engine-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  if (memory) {
    const int rc = MemoryRun(dir);
    fs::remove_all(dir);
    return rc;
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: engine_bench [--memory] [--runs N] [--threads N] file.pdf ...\n");
    return 2;
  }

  // Files that every tool can convert without a password.
  int pages = 0;
  std::vector<std::string> usable;
  for (const std::string& file : files) {
    const int handle = OpenPDF(file.c_str(), 0);
    const auto document = rastmond::FindDocument(handle);
    if (document && !document->needsPassword && document->pageCount > 0) {
      pages += document->pageCount;
      usable.push_back(file);
    } else {
      std::printf("skipped: %s\n", file.c_str());
    }
    ClosePDF(handle);
  }
  files = usable;
  if (only) {  // the engine alone, on this many render threads
    rastmond::SetRenderThreads(only);
    const fs::path out = dir / "out";
    fs::create_directories(out);
    bool ok = false;
    double cpu = 0;
    const double s = Seconds([&] { return Engine(files, out); }, &ok, &cpu);
    std::printf("engine, %d threads: %.2f s, %.1f pages/s, %.2f s of processor time%s\n", only, s,
                pages / s, cpu, ok ? "" : " (FAILED)");
    fs::remove_all(dir);
    return 0;
  }
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  std::printf("%zu files, %d pages, %d dpi, quality %d, colour, %d cores, best of %d\n",
              files.size(), pages, kDpi, kQuality, cores, runs);

  struct Tool {
    std::string name;
    std::function<bool(const fs::path&)> run;
    double seconds = 1e300;
    double cpu = 0;
  };
  std::vector<Tool> tools = {
      {"engine", [&](const fs::path& out) { return Engine(files, out); }},
      {"engine, 1 thread",
       [&](const fs::path& out) {
         rastmond::SetRenderThreads(1);
         const bool ok = Engine(files, out);
         rastmond::SetRenderThreads(0);
         return ok;
       }},
      {"gs", [&](const fs::path& out) { return Ghostscript(files, out, cores); }},
      {"pdftoppm", [&](const fs::path& out) { return Pdftoppm(files, out); }},
  };
  for (int r = 0; r < runs; ++r) {
    for (Tool& tool : tools) {
      const fs::path out = dir / "out";
      fs::create_directories(out);
      bool ok = false;
      double cpu = 0;
      const double s = Seconds([&] { return tool.run(out); }, &ok, &cpu);
      fs::remove_all(out);
      if (!ok) std::printf("%s: FAILED\n", tool.name.c_str());
      if (s < tool.seconds) {
        tool.seconds = s;
        tool.cpu = cpu;
      }
    }
  }
  for (const Tool& tool : tools)
    std::printf("%-18s %8.2f s %8.1f pages/s %8.2f s of processor time\n", tool.name.c_str(),
                tool.seconds, pages / tool.seconds, tool.cpu);
  const double engine = tools[0].seconds;
  std::printf("engine vs gs:       %.2fx\n", tools[2].seconds / engine);
  std::printf("engine vs pdftoppm: %.2fx\n", tools[3].seconds / engine);
  std::printf("scaling: %.0f%% of ideal (1-thread time / %d cores / engine time)\n",
              100.0 * tools[1].seconds / cores / engine, cores);
  fs::remove_all(dir);
  return 0;
}

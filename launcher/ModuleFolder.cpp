#include <filesystem>

#include "Launcher.h"

std::string ModuleFolder() {
  std::error_code error;
  const std::string exe = std::filesystem::read_symlink("/proc/self/exe", error).string();
  const auto slash = exe.rfind('/');
  return slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
}

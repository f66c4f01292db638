#include <dlfcn.h>

#include <strings.h>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "Launcher.h"

namespace {
bool HasLibrarySuffix(const std::string& name) {
  return name.size() > 3 && strcasecmp(name.c_str() + name.size() - 3, ".so") == 0;
}
}  // namespace

void PlugLibraryList::LoadFolder(const std::string& folder) {
  namespace fs = std::filesystem;
  const fs::path dir =
      (!folder.empty() && folder[0] == '/') ? fs::path(folder) : fs::path(ModuleFolder() + folder);
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (HasLibrarySuffix(name) && !it->is_directory(error)) names.push_back(name);
  }
  // The order a case-insensitive file system lists, so that runs repeat.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int c = strcasecmp(a.c_str(), b.c_str());
    return c != 0 ? c < 0 : a < b;
  });
  for (const std::string& name : names) {
    if (count >= Capacity) return;
    if (void* handle = dlopen((dir / name).c_str(), RTLD_NOW | RTLD_LOCAL))
      handles[count++] = handle;
    else
      dlerror();  // a file that is not a library is skipped silently
  }
}

void PlugLibraryList::FreeAll() {
  while (count > 0) dlclose(handles[--count]);
}

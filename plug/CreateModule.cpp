#include <cstring>

#include "Plug.h"

namespace Plug {

I_Plug* CreateModule(const char* moduleName) {
  char name[32] = {};
  if (!moduleName || std::strlen(moduleName) >= sizeof name) return nullptr;
  std::memcpy(name, moduleName, std::strlen(moduleName));

  PlugModuleManage* table = OpenModuleManage(RegistryName);
  if (!table) return nullptr;
  const ModuleEntry* entry = table->Find(name);
  if (!entry || !entry->factory) return nullptr;

  I_Plug* module = nullptr;
  try {
    module = entry->factory();
    if (module && module->InitInstance()) return module;
  } catch (...) {
  }
  // A module that cannot be used is released at once; a failure stays silent.
  if (module) {
    try {
      module->Release();
    } catch (...) {
    }
  }
  return nullptr;
}

}  // namespace Plug

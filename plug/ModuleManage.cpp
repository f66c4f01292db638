#include <cstring>

#include "Plug.h"

namespace Plug {

namespace {
// Entries in use; a damaged count never lets a scan leave the table.
int32_t Used(const PlugModuleManage& table) {
  return table.count < 0 ? 0
                         : (table.count > PlugModuleManage::Capacity ? PlugModuleManage::Capacity
                                                                     : table.count);
}
}  // namespace

int32_t PlugModuleManage::IndexOf(const char* name, const ModuleFactory* factory) const {
  if (!name || std::strlen(name) >= sizeof(ModuleEntry::name)) return -1;
  for (int32_t i = 0; i < Used(*this); ++i)
    if (std::strncmp(entries[i].name, name, sizeof entries[i].name) == 0 &&
        (!factory || entries[i].factory == *factory))
      return i;
  return -1;
}

ModuleEntry* PlugModuleManage::Find(const char* name) {
  const int32_t i = IndexOf(name, nullptr);
  return i < 0 ? nullptr : &entries[i];
}

bool PlugModuleManage::Add(const char* name, ModuleFactory factory) {
  if (!name || std::strlen(name) >= sizeof(ModuleEntry::name)) return false;
  if (count < 0 || count >= Capacity) return false;
  ModuleEntry& entry = entries[count];
  std::memset(entry.name, 0, sizeof entry.name);
  std::memcpy(entry.name, name, std::strlen(name));
  entry.factory = factory;
  ++count;
  return true;
}

void PlugModuleManage::RemoveAt(int32_t index) {
  const int32_t used = Used(*this);
  entries[index].factory = nullptr;
  for (int32_t i = index; i + 1 < used; ++i) entries[i] = entries[i + 1];
  count = used - 1;
}

void PlugModuleManage::Remove(const char* name) {
  if (const int32_t i = IndexOf(name, nullptr); i >= 0) RemoveAt(i);
}

void PlugModuleManage::Remove(const char* name, ModuleFactory factory) {
  if (const int32_t i = IndexOf(name, &factory); i >= 0) RemoveAt(i);
}

}  // namespace Plug

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

#include "Section.h"

namespace Plug {

AutoReg::AutoReg(const char* moduleName, ModuleFactory factory) {
  // A name the table cannot hold is not registered at all.
  if (!moduleName || !factory || std::strlen(moduleName) >= sizeof FName) return;
  std::memcpy(FName, moduleName, std::strlen(moduleName));
  FFactory = factory;

  PlugModuleManage* table = OpenModuleManage(RegistryName);
  if (!table) {
    ShareHeader* header = CreateModuleManage(RegistryName);
    if (!header) return;  // no registry can exist: register nothing, the process goes on
    table = new PlugModuleManage{};
    header->table = table;
    FOwner = true;
    FHeader = header;
  }
  FRegistered = table->Add(FName, FFactory);
  FTable = table;
}

AutoReg::~AutoReg() {
  if (!FTable) return;
  // Once the owner has gone its table is freed; never touch it then.
  if (FRegistered && (FOwner || OpenModuleManage(RegistryName) == FTable))
    FTable->Remove(FName, FFactory);
  if (!FOwner) return;
  const std::string name = SectionName(RegistryName);
  if (ReadSection(name) == FHeader) shm_unlink(name.c_str());
  close(FHeader->sectionHandle);
  delete FTable;
  delete FHeader;
}

}  // namespace Plug

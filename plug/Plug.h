// The per-process module registry and the module interfaces.
//
// The launcher and the plug-in libraries are built separately and meet only through the
// layouts below: the registry section, its header, the table and the slot order of the
// module interfaces. Changing any of them breaks every deliverable built before.
#pragma once

#include <cstddef>
#include <cstdint>

// Root interface of every module. Callers in other libraries call these operations by slot
// position, so the three virtual functions are the whole virtual table, in this order. There
// is deliberately no virtual destructor (it would take slots); Release deletes the object.
class I_Plug {
 public:
  virtual bool InitInstance() = 0;  // slot 0: called once, right after the factory
  virtual int32_t AddRef() = 0;     // slot 1: returns the new reference count
  virtual void Release() = 0;       // slot 2: at zero references the object deletes itself

 protected:
  ~I_Plug() = default;
};

// The converter module's interface: slots 3 and 4 follow those of I_Plug.
class I_KovraneMui : public I_Plug {
 public:
  virtual bool Ready() = 0;  // slot 3
  // slot 4: icon is the launcher's icon handle (a Plug::IconSet); title and purchase are
  // NUL-terminated 8-bit texts owned by the caller for the whole call. Returns when the
  // application has ended.
  virtual bool Run(const void* icon, const char* title, const char* purchase) = 0;

 protected:
  ~I_KovraneMui() = default;
};

namespace Plug {

// The registry name every caller in this system uses.
inline constexpr char RegistryName[] = "Plug3.0";

// What the launcher's icon handle points at: the icon's images as PNG files.
struct IconImage {
  const unsigned char* data;
  uint32_t size;
};
struct IconSet {
  uint32_t count;
  const IconImage* images;
};

using ModuleFactory = I_Plug* (*)();

// One registration: a NUL-terminated name of at most 31 characters and its factory.
struct ModuleEntry {
  char name[32];
  ModuleFactory factory;
};

// The table, in the heap of the first library that registered anything.
struct PlugModuleManage {
  static constexpr int32_t Capacity = 256;
  ModuleEntry entries[Capacity];  // 0..count-1 in order of registration
  int32_t count;

  // First entry named exactly `name` (case-sensitive), or nullptr.
  ModuleEntry* Find(const char* name);
  // Appends an entry; refuses (returns false) a full table or a name of 32 or more bytes.
  bool Add(const char* name, ModuleFactory factory);
  // Removes the first entry named `name`, closing the gap; nothing when there is none.
  void Remove(const char* name);
  // The same, for the first entry that has both this name and this factory.
  void Remove(const char* name, ModuleFactory factory);

 private:
  int32_t IndexOf(const char* name, const ModuleFactory* factory) const;
  void RemoveAt(int32_t index);
};

// The record the registry section points at.
struct ShareHeader {
  int sectionHandle;  // descriptor of the open section, which keeps its name alive
  PlugModuleManage* table;
};

static_assert(sizeof(ModuleEntry) == 40);
static_assert(offsetof(PlugModuleManage, count) == 10240);
static_assert(offsetof(ShareHeader, table) == 8);

// The table of this process's registry, or nullptr when there is none (no section, or one
// left behind by a dead process whose id this process now has).
PlugModuleManage* OpenModuleManage(const char* registryName);

// Creates this process's registry section and a header for it (table not yet set), or
// returns nullptr. A stale section of a dead process is replaced; a live one is kept.
ShareHeader* CreateModuleManage(const char* registryName);

// Creates and initialises the module registered under `moduleName`, or returns nullptr
// (no registry, unknown name, InitInstance false, or an exception). The caller owns the one
// reference and must Release it before the module's library unloads.
I_Plug* CreateModule(const char* moduleName);

// One static object per module a library offers: registers at load, unregisters at unload.
// The first registrar of the process creates and owns the registry.
class AutoReg {
 public:
  AutoReg(const char* moduleName, ModuleFactory factory);
  ~AutoReg();
  AutoReg(const AutoReg&) = delete;
  AutoReg& operator=(const AutoReg&) = delete;

 private:
  char FName[32] = {};
  ModuleFactory FFactory = nullptr;
  bool FOwner = false;
  bool FRegistered = false;
  PlugModuleManage* FTable = nullptr;
  ShareHeader* FHeader = nullptr;
};

}  // namespace Plug

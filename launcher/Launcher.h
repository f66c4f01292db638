// The launcher: product identity, plug-in folder loading and the purchase address decoder.
#pragma once

#include <cstdint>
#include <string>

#include "Plug.h"

inline constexpr char PRODUCT_TITLE[] = OSTREL_PRODUCT_TITLE;  // set by the build
inline constexpr char PRODUCT_NUMBER[] = "417";
// Decodes to the reseller's 60-character order address, ending in the vendor's number and a
// hyphen so that PRODUCT_NUMBER completes it.
inline constexpr char PURCHASE_PREFIX_B64[] =
    "aHR0cHM6Ly9vcmRlci5yZXNlbGxlci5leGFtcGxlL2NoZWNrb3V0L2J1eS5waHA/SVRFTVM9MzA5MTct";
inline constexpr char MODULE_NAME[] = "KovraneMui";

// The folder of the running executable, "/" kept at the end.
std::string ModuleFolder();

// Standard Base64 up to the first "=" or character outside letters, digits, "+" and "/";
// a partial group of n characters yields n-1 bytes.
std::string Base64Decode(const std::string& text, const std::string& alphabet);

// The launcher's icon images, handed to the module as its opaque icon handle.
const Plug::IconSet& AppIcon();

// The loaded plug-in libraries, in load order.
class PlugLibraryList {
 public:
  static constexpr int32_t Capacity = 256;

  // Loads every library of `folder` (relative to ModuleFolder unless it starts with "/"):
  // names ending in ".so" in any case, sorted by name without regard to case; subfolders
  // and files that do not load are skipped. Libraries beyond Capacity are not loaded.
  void LoadFolder(const std::string& folder);
  // Unloads from the last loaded to the first.
  void FreeAll();
  int32_t Count() const { return count; }

 private:
  void* handles[Capacity] = {};
  int32_t count = 0;
};

// The program: loads the plug-ins, runs the converter module, unloads; the exit status.
int RunLauncher();

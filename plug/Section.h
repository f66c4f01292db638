// The registry section: "/" + pid + registry name, 16 bytes holding the header's address and
// the creating process's start time. Internal to the registry.
#pragma once

#include <cstdint>
#include <string>

#include "Plug.h"

namespace Plug {

struct SectionImage {
  ShareHeader* header;
  uint64_t startTime;  // 22nd field of /proc/<pid>/stat of the process that created it
};
static_assert(sizeof(SectionImage) == 16);

// The section name for this process, or "" when it does not fit the 32-byte name buffer.
std::string SectionName(const char* registryName);

// This process's start time, as the section records it.
uint64_t ProcessStartTime();

// The header recorded by this process's own section, or nullptr when there is none or
// the section belongs to a dead process with the same id.
ShareHeader* ReadSection(const std::string& name);

}  // namespace Plug

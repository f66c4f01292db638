#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "Section.h"

namespace Plug {

std::string SectionName(const char* registryName) {
  char name[32] = {};
  const int n = std::snprintf(name, sizeof name, "/%ld%s", static_cast<long>(getpid()),
                              registryName ? registryName : "");
  if (n < 0 || n >= static_cast<int>(sizeof name)) return {};
  return name;
}

uint64_t ProcessStartTime() {
  std::ifstream in("/proc/self/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The command name (field 2) may hold spaces and parentheses: count from the last ')'.
  const auto close = stat.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(stat.substr(close + 1));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
    if (i == 22) return std::strtoull(field.c_str(), nullptr, 10);
  }
  return 0;
}

ShareHeader* ReadSection(const std::string& name) {
  if (name.empty()) return nullptr;
  const int fd = shm_open(name.c_str(), O_RDWR, 0);
  if (fd < 0) return nullptr;
  ShareHeader* header = nullptr;
  struct stat st {};
  if (fstat(fd, &st) == 0 && st.st_size >= static_cast<off_t>(sizeof(SectionImage))) {
    void* view = mmap(nullptr, sizeof(SectionImage), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (view != MAP_FAILED) {
      SectionImage image;
      std::memcpy(&image, view, sizeof image);
      munmap(view, sizeof(SectionImage));
      if (image.startTime == ProcessStartTime()) header = image.header;
    }
  }
  close(fd);
  return header;
}

PlugModuleManage* OpenModuleManage(const char* registryName) {
  ShareHeader* header = ReadSection(SectionName(registryName));
  return header ? header->table : nullptr;
}

ShareHeader* CreateModuleManage(const char* registryName) {
  const std::string name = SectionName(registryName);
  if (name.empty()) return nullptr;
  int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  if (fd < 0 && errno == EEXIST && !ReadSection(name)) {
    // Left behind by a crashed process whose id this one now has.
    shm_unlink(name.c_str());
    fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  }
  if (fd < 0) return nullptr;
  void* view = MAP_FAILED;
  if (ftruncate(fd, sizeof(SectionImage)) == 0)
    view = mmap(nullptr, sizeof(SectionImage), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (view == MAP_FAILED) {
    close(fd);
    shm_unlink(name.c_str());
    return nullptr;
  }
  auto* header = new ShareHeader{fd, nullptr};
  const SectionImage image{header, ProcessStartTime()};
  std::memcpy(view, &image, sizeof image);
  munmap(view, sizeof(SectionImage));
  return header;
}

}  // namespace Plug

// A test plug-in that knows nothing of the project's headers: it reaches the registry and
// offers the converter module's interface through the binary layout alone. Configured by the
// build: LAYOUT_TAG names it in the log, LAYOUT_MODULE is the name it registers ("" for
// none), LAYOUT_INIT what InitInstance answers.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Entry {
  char name[32];
  void* (*factory)();
};
struct Table {
  Entry entries[256];
  int32_t count;
};
struct Header {
  int handle;
  Table* table;
};
struct Section {
  Header* header;
  uint64_t startTime;
};
struct IconImage {
  const unsigned char* data;
  uint32_t size;
};
struct IconSet {
  uint32_t count;
  const IconImage* images;
};

void Log(const std::string& line) {
  if (const char* path = std::getenv("OSTREL_TEST_LOG")) {
    if (FILE* log = std::fopen(path, "a")) {
      std::fprintf(log, "%s\n", line.c_str());
      std::fclose(log);
    }
  }
}

uint64_t StartTime() {
  std::ifstream in("/proc/self/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(stat.substr(stat.rfind(')') + 1));
  std::string field;
  for (int i = 3; i <= 22; ++i) fields >> field;
  return std::strtoull(field.c_str(), nullptr, 10);
}

std::string SectionName() {
  return "/" + std::to_string(getpid()) + "Plug3.0";
}

Header* ReadHeader() {
  const int fd = shm_open(SectionName().c_str(), O_RDWR, 0);
  if (fd < 0) return nullptr;
  Section section{};
  if (void* view = mmap(nullptr, sizeof section, PROT_READ, MAP_SHARED, fd, 0);
      view != MAP_FAILED) {
    std::memcpy(&section, view, sizeof section);
    munmap(view, sizeof section);
  }
  close(fd);
  return section.startTime == StartTime() ? section.header : nullptr;
}

// Slots: InitInstance, AddRef, Release, Ready, Run.
class Mui final {
 public:
  virtual bool InitInstance() { return LAYOUT_INIT; }
  virtual int32_t AddRef() { return ++refs; }
  virtual void Release() {
    if (--refs == 0) {
      Log("release " LAYOUT_TAG);
      delete this;
    }
  }
  virtual bool Ready() { return true; }
  virtual bool Run(const void* icon, const char* title, const char* purchase) {
    const auto* icons = static_cast<const IconSet*>(icon);
    uint32_t pngs = 0;
    for (uint32_t i = 0; i < icons->count; ++i)
      pngs += icons->images[i].size > 8 && std::memcmp(icons->images[i].data, "\x89PNG", 4) == 0;
    Log("run " LAYOUT_TAG " " + std::string(title) + "|" + purchase + "|" + std::to_string(pngs) +
        " png");
    return true;
  }

 private:
  int32_t refs = 1;
};

void* Factory() {
  return new Mui;
}

struct Registrar {
  Table* table = nullptr;
  Header* owned = nullptr;

  Registrar() {
    Log("load " LAYOUT_TAG);
    if (!*LAYOUT_MODULE) return;
    Header* header = ReadHeader();
    if (!header) {
      shm_unlink(SectionName().c_str());
      const int fd = shm_open(SectionName().c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
      if (fd < 0 || ftruncate(fd, sizeof(Section)) != 0) return;
      owned = header = new Header{fd, new Table{}};
      const Section section{header, StartTime()};
      void* view = mmap(nullptr, sizeof section, PROT_WRITE, MAP_SHARED, fd, 0);
      std::memcpy(view, &section, sizeof section);
      munmap(view, sizeof section);
    }
    table = header->table;
    Entry& entry = table->entries[table->count++];
    std::strncpy(entry.name, LAYOUT_MODULE, sizeof entry.name - 1);
    entry.factory = Factory;
  }

  ~Registrar() {
    Header* live = ReadHeader();
    if (table && live && live->table == table) {
      for (int32_t i = 0; i < table->count; ++i) {
        if (table->entries[i].factory != Factory) continue;
        for (int32_t j = i; j + 1 < table->count; ++j) table->entries[j] = table->entries[j + 1];
        --table->count;
        break;
      }
    }
    if (owned) {
      shm_unlink(SectionName().c_str());
      close(owned->handle);
      delete owned->table;
      delete owned;
    }
    Log("unload " LAYOUT_TAG);
  }
} registrar;

}  // namespace

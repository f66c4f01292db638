// A test plug-in built on the registry's own code. Configured by the build:
// PROBE_ORIGIN names the library, PROBE_NAME (and PROBE_NAME2) the modules it registers,
// PROBE_INIT what InitInstance answers, PROBE_THROW whether the factory throws.
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "Probe.h"

namespace {

int liveObjects = 0;

void Log(const char* event) {
  if (const char* path = std::getenv("OSTREL_TEST_LOG")) {
    if (FILE* log = std::fopen(path, "a")) {
      std::fprintf(log, "%s %s\n", event, PROBE_ORIGIN);
      std::fclose(log);
    }
  }
}

class ProbeModule final : public I_Probe {
 public:
  ProbeModule() { ++liveObjects; }
  bool InitInstance() override { return PROBE_INIT; }
  int32_t AddRef() override { return ++FRefCount; }
  void Release() override {
    if (--FRefCount == 0) delete this;
  }
  const char* Origin() override { return PROBE_ORIGIN; }

 private:
  ~ProbeModule() { --liveObjects; }
  int32_t FRefCount = 1;
};

I_Plug* Factory() {
  if (PROBE_THROW) throw std::runtime_error("factory failed");
  return new ProbeModule;
}

// Declared before the registrars, so it logs the load first and the unload last.
struct LoadLog {
  LoadLog() { Log("load"); }
  ~LoadLog() { Log("unload"); }
} loadLog;

Plug::AutoReg registrar(PROBE_NAME, Factory);
#ifdef PROBE_NAME2
Plug::AutoReg registrar2(PROBE_NAME2, Factory);
#endif

}  // namespace

extern "C" __attribute__((visibility("default"))) int ProbeLiveObjects() {
  return liveObjects;
}

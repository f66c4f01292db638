#include <sys/stat.h>

#include <mutex>

#include "Engine.h"

namespace rastmond {

namespace {

// MuPDF's caches shared by all threads; the default of 256 MiB would dominate the engine's
// memory on large documents.
constexpr std::size_t kStoreBytes = 256u << 20;

std::mutex locks[FZ_LOCK_MAX];
void Lock(void*, int lock) {
  locks[lock].lock();
}
void Unlock(void*, int lock) {
  locks[lock].unlock();
}
void Quiet(void*, const char*) {}

void Silence(fz_context* ctx) {
  fz_set_error_callback(ctx, Quiet, nullptr);
  fz_set_warning_callback(ctx, Quiet, nullptr);
}

std::once_flag baseMade;
fz_context* base = nullptr;

fz_context* BaseContext() {
  std::call_once(baseMade, [] {
    const fz_locks_context lockContext{nullptr, Lock, Unlock};
    base = fz_new_context(nullptr, &lockContext, kStoreBytes);
    if (base) Silence(base);
  });
  return base;
}

}  // namespace

void DropBaseContext() {
  fz_drop_context(base);
  base = nullptr;
}

fz_context* NewContext() {
  fz_context* base = BaseContext();
  fz_context* ctx = base ? fz_clone_context(base) : nullptr;
  if (ctx) Silence(ctx);
  return ctx;
}

unsigned FileMode() {
  static const unsigned mode = [] {
    const mode_t mask = umask(022);
    umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
  }();
  return mode;
}

}  // namespace rastmond

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <vector>

#include "Engine.h"

namespace rastmond {

namespace {

std::mutex tableMutex;
std::vector<std::shared_ptr<Document>> table;  // handle n is table[n - 1]

// Destroyed before the table (reverse order of definition): when the library is unloaded,
// the documents still open are closed, then the shared caches freed, so nothing the engine
// allocated outlives it.
struct Shutdown {
  ~Shutdown() {
    {
      std::lock_guard<std::mutex> guard(tableMutex);
      table.clear();
    }
    DropBaseContext();
  }
} closeAtUnload;

// A regular, readable, non-empty file: MuPDF is never handed anything else.
bool IsCandidate(const char* path) {
  struct stat st {};
  if (!path || !*path || stat(path, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0)
    return false;
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char byte;
  const bool readable = read(fd, &byte, 1) == 1;
  close(fd);
  return readable;
}

// Opens `path`, or returns nullptr when it is not a PDF with a page tree.
std::unique_ptr<Document> Open(fz_context* ctx, const char* path) {
  auto document = std::make_unique<Document>();
  pdf_document* volatile pdf = nullptr;
  volatile int pages = -1;
  volatile bool locked = false;
  fz_try(ctx) {
    pdf = pdf_open_document(ctx, path);
    locked = pdf_needs_password(ctx, pdf);
    pdf_obj* root = pdf_dict_get(ctx, pdf_trailer(ctx, pdf), PDF_NAME(Root));
    pdf_obj* tree = pdf_dict_get(ctx, root, PDF_NAME(Pages));
    if (pdf_is_dict(ctx, tree))
      pages = pdf_count_pages(ctx, pdf);
    else if (locked)
      pages = 0;  // the tree cannot be read without the password
  }
  fz_catch(ctx) {
    pages = -1;
  }
  if (pages < 0) {
    pdf_drop_document(ctx, pdf);
    return nullptr;
  }
  document->pdf = pdf;
  document->pageCount = pages;
  document->needsPassword = locked;
  return document;
}

}  // namespace

Document::~Document() {
  if (fz_context* ctx = NewContext()) {
    pdf_drop_document(ctx, pdf);
    fz_drop_context(ctx);
  }
}

std::shared_ptr<Document> FindDocument(int handle) {
  std::lock_guard<std::mutex> guard(tableMutex);
  if (handle < 1 || static_cast<std::size_t>(handle) > table.size()) return nullptr;
  return table[handle - 1];
}

}  // namespace rastmond

using namespace rastmond;

extern "C" int SetRCPath(const char*) {
  return 0;
}

extern "C" int OpenPDF(const char* path, int flags) {
  if (flags != 0 || !IsCandidate(path)) return -1;
  try {
    fz_context* ctx = NewContext();
    if (!ctx) return -1;
    std::shared_ptr<Document> document = Open(ctx, path);
    fz_drop_context(ctx);
    if (!document) return -1;
    std::lock_guard<std::mutex> guard(tableMutex);
    // The lowest free handle, so that handles stay small.
    std::size_t slot = 0;
    while (slot < table.size() && table[slot]) ++slot;
    if (slot == table.size()) table.emplace_back();
    table[slot] = std::move(document);
    return static_cast<int>(slot + 1);
  } catch (...) {
    return -1;
  }
}

extern "C" int GetPageCount(int handle) {
  const std::shared_ptr<Document> document = FindDocument(handle);
  return document ? document->pageCount : -1;
}

extern "C" int ClosePDF(int handle) {
  std::shared_ptr<Document> document;
  {
    std::lock_guard<std::mutex> guard(tableMutex);
    if (handle < 1 || static_cast<std::size_t>(handle) > table.size()) return -1;
    document = std::move(table[handle - 1]);
  }
  return document ? 0 : -1;
}

// Inside the engine: the MuPDF contexts, the table of open documents and the parallel page
// pipeline that every image format shares.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

extern "C" {
#include <mupdf/fitz.h>
#include <mupdf/pdf.h>
}

#include "Rastmond.h"

namespace rastmond {

// A context for one thread, cloned from the process's base context (shared store and locks)
// and silent: MuPDF's messages never reach stdout or stderr. nullptr when out of memory.
fz_context* NewContext();
// Frees the shared caches when the engine is unloaded (or the process ends), after the last
// document; NewContext fails from then on.
void DropBaseContext();

// The mode bits new files get (what the process's umask allows of 0666).
unsigned FileMode();

struct Document {
  pdf_document* pdf = nullptr;
  int pageCount = 0;
  bool needsPassword = false;
  ~Document();
};

// The open document of `handle`, or nullptr. Shared, so that a close during a call drops the
// document only when the call is done with it.
std::shared_ptr<Document> FindDocument(int handle);

struct PageShape {
  int width, height, channels;  // channels: 1 gray, 3 RGB
  int xdpi, ydpi;
  int bandRows;  // every band but the last has this many rows
};

// Writes one page. Bands are encoded on any thread in any order; the chunks are then
// appended to the file in band order by one thread at a time. Every method returns false on
// failure.
class PageEncoder {
 public:
  virtual ~PageEncoder() = default;
  virtual bool EncodeBand(int band, const unsigned char* samples, std::ptrdiff_t stride, int rows,
                          std::string& chunk) = 0;
  virtual bool Append(FILE* file, int band, const std::string& chunk) = 0;
  virtual bool Finish(FILE* file) = 0;
};

struct ImageFormat {
  const char* extension;  // ".jpg"
  bool gray;              // render one gray channel instead of RGB
  int maxDimension;       // pages wider or taller than this are skipped
  int bandAlign;          // band heights are a multiple of this
  std::unique_ptr<PageEncoder> (*makeEncoder)(const PageShape& shape, const void* options);
  const void* options;
  // When set, a page this finds free of colour is rendered gray (one channel) even though
  // the format renders RGB.
  bool (*pageIsGray)(fz_context* ctx, fz_display_list* list) = nullptr;
};

// Renders pages first..last of `handle` into `folder` in `format`; the result of the calls.
int RenderPages(int handle, const char* folder, const char* base, int xdpi, int ydpi, int first,
                int last, ProgressCallback callback, const ImageFormat& format);

// Test and benchmark controls; 0 restores the default.
void SetRenderThreads(int threads);    // default: one per core
void SetBandBytes(std::size_t bytes);  // default: 8 MiB of pixels per band

}  // namespace rastmond

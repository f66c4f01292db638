// The image calls other than JPEG: one table entry per format on the shared page pipeline.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "ImageEncoders.h"

using namespace rastmond;

namespace {

// The multi-page TIFF being written by the current call (calls come from one thread each).
struct MultiPage {
  void* tiff = nullptr;
  std::string pageBase;  // the hidden single-page files' base
  std::string folder;
  int digits = 1;
  ProgressCallback callback = nullptr;
  bool failed = false;
  int pages = 0;
};
thread_local MultiPage* multiPage = nullptr;

// Moves the page just finished into the multi-page file, then reports it.
int CollectPage(int a, int b, int page) {
  MultiPage& m = *multiPage;
  std::string number = std::to_string(page);
  number.insert(0, std::max(0, m.digits - static_cast<int>(number.size())), '0');
  const std::string path = m.folder + m.pageBase + "-" + number + ".tif";
  if (AppendTiffPages(m.tiff, path.c_str()))
    ++m.pages;
  else
    m.failed = true;
  unlink(path.c_str());
  return m.callback ? m.callback(a, b, page) : 1;
}

// One TIFF holding every page of the range, written under a hidden name and renamed when
// complete. The pages are rendered as single-page files first (in parallel) and joined in
// page order as each is done.
int RenderMultiPage(int handle, const char* folder, const char* base, int xdpi, int ydpi, int first,
                    int last, ProgressCallback callback, const ImageFormat& format) {
  const std::shared_ptr<Document> document = FindDocument(handle);
  if (!document || !folder || !*folder || !base || !*base) return -1;
  if (document->needsPassword) return -2;
  std::string dir = folder;
  if (dir.back() != '/') dir += '/';
  std::string temp = dir + ".rastmond-XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return -1;
  close(fd);
  MultiPage m;
  m.tiff = OpenTiff(temp.c_str());
  m.pageBase = temp.substr(dir.size()) + "-p";
  m.folder = dir;
  m.digits = static_cast<int>(std::to_string(document->pageCount).size());
  m.callback = callback;
  if (!m.tiff) {
    unlink(temp.c_str());
    return -1;
  }
  multiPage = &m;
  int result =
      RenderPages(handle, folder, m.pageBase.c_str(), xdpi, ydpi, first, last, CollectPage, format);
  multiPage = nullptr;
  const bool closed = CloseTiff(m.tiff);
  if (result == -2 || result == -4 || !closed || m.failed || m.pages == 0) {
    unlink(temp.c_str());
    return result == -2 || result == -4 || (m.pages == 0 && !m.failed && closed) ? result : -1;
  }
  if (std::rename(temp.c_str(), (dir + base + ".tif").c_str()) != 0) {
    unlink(temp.c_str());
    return -1;
  }
  return result;
}

}  // namespace

extern "C" {

int PDF2PNG(int handle, const char* folder, const char* base, int xdpi, int ydpi, int first,
            int last, ProgressCallback callback) {
  static const ImageFormat format{".png", false, kPngMaxDimension, 1, MakePngEncoder, nullptr};
  return RenderPages(handle, folder, base, xdpi, ydpi, first, last, callback, format);
}

int PDF2BMP(int handle, const char* folder, const char* base, int xdpi, int ydpi, int first,
            int last, ProgressCallback callback) {
  static const ImageFormat format{".bmp", false, kBmpMaxDimension, 1, MakeBmpEncoder, nullptr};
  return RenderPages(handle, folder, base, xdpi, ydpi, first, last, callback, format);
}

int PDF2TGA(int handle, const char* folder, const char* base, int xdpi, int ydpi, int first,
            int last, ProgressCallback callback) {
  static const ImageFormat format{".tga", false, kSmallMaxDimension, 1, MakeTgaEncoder, nullptr};
  return RenderPages(handle, folder, base, xdpi, ydpi, first, last, callback, format);
}

int PDF2PCX(int handle, const char* folder, const char* base, int xdpi, int ydpi, int first,
            int last, ProgressCallback callback) {
  static const ImageFormat format{".pcx", false,          kSmallMaxDimension - 1,
                                  1,      MakePcxEncoder, nullptr};
  return RenderPages(handle, folder, base, xdpi, ydpi, first, last, callback, format);
}

int PDF2GIF(int handle, const char* folder, const char* base, int xdpi, int ydpi, int first,
            int last, ProgressCallback callback) {
  static const ImageFormat format{".gif",         false,   kSmallMaxDimension, 1,
                                  MakeGifEncoder, nullptr, PageIsGray};
  return RenderPages(handle, folder, base, xdpi, ydpi, first, last, callback, format);
}

int PDF2TIF(int handle, const char* folder, const char* base, int xdpi, int ydpi, int first,
            int last, ProgressCallback callback, int compression, int colorDepth, int tiffOption) {
  const TiffOptions options{compression};
  const ImageFormat format{".tif",         colorDepth == 8, kTiffMaxDimension,
                           kTiffBandAlign, MakeTiffEncoder, &options};
  if (tiffOption == 1)
    return RenderMultiPage(handle, folder, base, xdpi, ydpi, first, last, callback, format);
  return RenderPages(handle, folder, base, xdpi, ydpi, first, last, callback, format);
}

}  // extern "C"

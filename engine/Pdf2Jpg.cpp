#include <algorithm>

#include "JpegEncoder.h"

using namespace rastmond;

extern "C" int PDF2JPG(int handle, const char* folder, const char* base, int xdpi, int ydpi,
                       int first, int last, ProgressCallback callback, int quality, int gray) {
  const JpegOptions options{std::clamp(quality, 1, 100)};
  const ImageFormat format{".jpg",         gray == 1,       kJpegMaxDimension,
                           kJpegBandAlign, MakeJpegEncoder, &options};
  return RenderPages(handle, folder, base, xdpi, ydpi, first, last, callback, format);
}

// JPEG encoding through libjpeg's scanline interface, so that a page streams band by band and
// the encoder never holds more than a few rows. libjpeg reports errors by longjmp: every
// entry into it sets the jump target first.
#include <csetjmp>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jpeglib.h>
}

#include "JpegSink.h"

namespace rastmond {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}
void Silent(j_common_ptr) {}

class JpegSink final : public BandSink {
 public:
  explicit JpegSink(const JpegOptions& options) : FOptions(options) {
    std::memset(&FInfo, 0, sizeof FInfo);
    FInfo.err = jpeg_std_error(&FError.pub);
    FError.pub.error_exit = OnError;
    FError.pub.output_message = Silent;
  }
  ~JpegSink() override {
    if (FCreated) jpeg_destroy_compress(&FInfo);
  }

  bool Begin(FILE* file, int width, int height, int channels, int xdpi, int ydpi) override {
    if (setjmp(FError.jump)) return false;
    jpeg_create_compress(&FInfo);
    FCreated = true;
    jpeg_stdio_dest(&FInfo, file);
    FInfo.image_width = static_cast<JDIMENSION>(width);
    FInfo.image_height = static_cast<JDIMENSION>(height);
    FInfo.input_components = channels;
    FInfo.in_color_space = channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&FInfo);
    jpeg_set_quality(&FInfo, FOptions.quality, TRUE);
    FInfo.write_JFIF_header = TRUE;
    FInfo.density_unit = 1;  // dots per inch
    FInfo.X_density = static_cast<UINT16>(std::min(xdpi, 65535));
    FInfo.Y_density = static_cast<UINT16>(std::min(ydpi, 65535));
    jpeg_start_compress(&FInfo, TRUE);
    return true;
  }

  bool WriteRows(const unsigned char* samples, std::ptrdiff_t stride, int rows) override {
    if (setjmp(FError.jump)) return false;
    JSAMPROW pointers[64];
    for (int y = 0; y < rows;) {
      const int count = std::min(rows - y, 64);
      for (int i = 0; i < count; ++i)
        pointers[i] = const_cast<JSAMPROW>(samples + (y + i) * stride);
      y += static_cast<int>(jpeg_write_scanlines(&FInfo, pointers, static_cast<JDIMENSION>(count)));
    }
    return true;
  }

  bool Finish() override {
    if (setjmp(FError.jump)) return false;
    jpeg_finish_compress(&FInfo);
    return true;
  }

 private:
  const JpegOptions FOptions;
  jpeg_compress_struct FInfo;
  ErrorManager FError;
  bool FCreated = false;
};

}  // namespace

std::unique_ptr<BandSink> MakeJpegSink(const void* options) {
  return std::make_unique<JpegSink>(*static_cast<const JpegOptions*>(options));
}

}  // namespace rastmond

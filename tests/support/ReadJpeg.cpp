#include "ReadJpeg.h"

#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

namespace {
struct Errors {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  bool warned;
};
// libjpeg decodes some damage with only a warning; for the tests that is a failure.
void Warn(j_common_ptr info, int level) {
  if (level < 0) reinterpret_cast<Errors*>(info->err)->warned = true;
}
[[noreturn]] void Fail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<Errors*>(info->err)->jump, 1);
}
}  // namespace

JpegImage ReadJpeg(const std::string& path) {
  JpegImage image;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return image;
  jpeg_decompress_struct info{};
  Errors errors{};
  info.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = Fail;
  errors.pub.emit_message = Warn;
  if (setjmp(errors.jump) == 0) {
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.components = info.output_components;
    image.densityUnit = info.density_unit;
    image.xDensity = info.X_density;
    image.yDensity = info.Y_density;
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * image.components);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = image.pixels.data() + static_cast<std::size_t>(info.output_scanline) *
                                               image.width * image.components;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    image.ok = !errors.warned;
  }
  jpeg_destroy_decompress(&info);
  std::fclose(file);
  return image;
}

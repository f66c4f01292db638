// JPEG pages encoded band by band on several threads. Every band is compressed on its own by
// libjpeg with a restart marker after each MCU row; since a restart resets the entropy coder
// exactly as a new image does, the bands' scans joined with the right restart markers are one
// valid baseline scan. The first band's headers (with the full height) open the file.
// libjpeg reports errors by longjmp: every entry into it sets the jump target first.
#include <csetjmp>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jpeglib.h>
}

#include "JpegEncoder.h"

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

// libjpeg's output, collected in a string.
struct StringDestination {
  jpeg_destination_mgr pub;
  std::string* out;
  unsigned char buffer[16384];

  static void Init(j_compress_ptr info) {
    auto* self = reinterpret_cast<StringDestination*>(info->dest);
    self->pub.next_output_byte = self->buffer;
    self->pub.free_in_buffer = sizeof self->buffer;
  }
  static boolean Empty(j_compress_ptr info) {
    auto* self = reinterpret_cast<StringDestination*>(info->dest);
    self->out->append(reinterpret_cast<char*>(self->buffer), sizeof self->buffer);
    Init(info);
    return TRUE;
  }
  static void Term(j_compress_ptr info) {
    auto* self = reinterpret_cast<StringDestination*>(info->dest);
    self->out->append(reinterpret_cast<char*>(self->buffer),
                      sizeof self->buffer - self->pub.free_in_buffer);
  }
};

// Compresses rows into a complete JPEG stream in `out`; false on failure.
bool Compress(const PageShape& shape, int quality, const unsigned char* samples,
              std::ptrdiff_t stride, int rows, std::string& out) {
  jpeg_compress_struct info;
  std::memset(&info, 0, sizeof info);
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = OnError;
  errors.pub.output_message = Silent;
  StringDestination destination{};
  destination.out = &out;
  destination.pub.init_destination = StringDestination::Init;
  destination.pub.empty_output_buffer = StringDestination::Empty;
  destination.pub.term_destination = StringDestination::Term;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  info.dest = &destination.pub;
  info.image_width = static_cast<JDIMENSION>(shape.width);
  info.image_height = static_cast<JDIMENSION>(rows);
  info.input_components = shape.channels;
  info.in_color_space = shape.channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.restart_in_rows = 1;
  info.write_JFIF_header = TRUE;
  info.density_unit = 1;  // dots per inch
  info.X_density = static_cast<UINT16>(std::min(shape.xdpi, 65535));
  info.Y_density = static_cast<UINT16>(std::min(shape.ydpi, 65535));
  jpeg_start_compress(&info, TRUE);
  JSAMPROW pointers[kJpegBandAlign];
  while (info.next_scanline < info.image_height) {
    const int count = std::min(rows - static_cast<int>(info.next_scanline), kJpegBandAlign);
    for (int i = 0; i < count; ++i)
      pointers[i] = const_cast<JSAMPROW>(samples + (info.next_scanline + i) * stride);
    jpeg_write_scanlines(&info, pointers, static_cast<JDIMENSION>(count));
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

// The offset of the first byte after the start-of-scan header, or 0.
std::size_t ScanStart(const std::string& jpeg, std::size_t* frame) {
  std::size_t at = 2;  // after SOI
  while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
    const unsigned char marker = static_cast<unsigned char>(jpeg[at + 1]);
    const std::size_t length =
        (static_cast<unsigned char>(jpeg[at + 2]) << 8) | static_cast<unsigned char>(jpeg[at + 3]);
    if (marker == 0xC0) *frame = at;
    at += 2 + length;
    if (marker == 0xDA) return at;
  }
  return 0;
}

class JpegEncoder final : public PageEncoder {
 public:
  JpegEncoder(const PageShape& shape, const JpegOptions& options)
      : FShape(shape), FQuality(options.quality) {}

  bool EncodeBand(int band, const unsigned char* samples, std::ptrdiff_t stride, int rows,
                  std::string& chunk) override {
    std::string jpeg;
    if (!Compress(FShape, FQuality, samples, stride, rows, jpeg)) return false;
    std::size_t frame = 0;
    const std::size_t scan = ScanStart(jpeg, &frame);
    if (scan == 0 || frame == 0 || jpeg.size() < scan + 2) return false;
    const std::size_t end = jpeg.size() - 2;  // EOI

    // Restart markers count the MCU rows of the whole page, modulo 8; an MCU is 16 rows high
    // in colour (4:2:0) and 8 in gray.
    const int mcuRows = FShape.bandRows / (FShape.channels == 1 ? 8 : 16);
    const int offset = (band * mcuRows) % 8;
    chunk.clear();
    chunk.reserve(end + 2);
    if (band == 0) {
      chunk.assign(jpeg, 0, scan);
      chunk[frame + 5] = static_cast<char>(FShape.height >> 8);
      chunk[frame + 6] = static_cast<char>(FShape.height & 0xFF);
    } else {
      chunk += static_cast<char>(0xFF);
      chunk += static_cast<char>(0xD0 + (offset + 7) % 8);
    }
    for (std::size_t i = scan; i < end; ++i) {
      const unsigned char byte = static_cast<unsigned char>(jpeg[i]);
      chunk += static_cast<char>(byte);
      if (byte == 0xFF && i + 1 < end) {
        const unsigned char next = static_cast<unsigned char>(jpeg[++i]);
        const bool restart = next >= 0xD0 && next <= 0xD7;
        chunk += static_cast<char>(restart ? 0xD0 + (next - 0xD0 + offset) % 8 : next);
      }
    }
    return true;
  }

  bool Append(FILE* file, int, const std::string& chunk) override {
    return std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size();
  }

  bool Finish(FILE* file) override {
    static const unsigned char eoi[2] = {0xFF, 0xD9};
    return std::fwrite(eoi, 1, 2, file) == 2;
  }

 private:
  const PageShape FShape;
  const int FQuality;
};

}  // namespace

std::unique_ptr<PageEncoder> MakeJpegEncoder(const PageShape& shape, const void* options) {
  return std::make_unique<JpegEncoder>(shape, *static_cast<const JpegOptions*>(options));
}

}  // namespace rastmond

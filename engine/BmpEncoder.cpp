#include "ImageEncoders.h"

namespace rastmond {

namespace {

class BmpEncoder : public PageEncoder {
 public:
  explicit BmpEncoder(const PageShape& shape)
      : FShape(shape), FRowBytes((shape.width * 3 + 3) / 4 * 4) {}

  // BGR rows, bottom row of the band first, each padded to four bytes.
  bool EncodeBand(int, const unsigned char* samples, std::ptrdiff_t stride, int rows,
                  std::string& chunk) override {
    chunk.assign(static_cast<std::size_t>(rows) * FRowBytes, '\0');
    for (int y = 0; y < rows; ++y) {
      const unsigned char* in = samples + (rows - 1 - y) * stride;
      char* out = chunk.data() + static_cast<std::size_t>(y) * FRowBytes;
      for (int x = 0; x < FShape.width; ++x, in += 3) {
        out[3 * x] = static_cast<char>(in[2]);
        out[3 * x + 1] = static_cast<char>(in[1]);
        out[3 * x + 2] = static_cast<char>(in[0]);
      }
    }
    return true;
  }

  // The file stores the bottom row first, so a band goes to its own place from the end.
  bool Append(FILE* file, int band, const std::string& chunk) override {
    if (band == 0 && !WriteAll(file, Header())) return false;
    const int top = band * FShape.bandRows;
    const int rows = static_cast<int>(chunk.size() / FRowBytes);
    const long offset = 54 + static_cast<long>(FShape.height - top - rows) * FRowBytes;
    return std::fseek(file, offset, SEEK_SET) == 0 && WriteAll(file, chunk);
  }
  bool Finish(FILE* file) override { return std::fseek(file, 0, SEEK_END) == 0; }

 private:
  std::string Header() const {
    const uint32_t pixels = static_cast<uint32_t>(FRowBytes) * FShape.height;
    std::string out = "BM";
    PutLE(out, 54 + pixels, 4);
    PutLE(out, 0, 4);
    PutLE(out, 54, 4);
    PutLE(out, 40, 4);
    PutLE(out, FShape.width, 4);
    PutLE(out, FShape.height, 4);
    PutLE(out, 1, 2);
    PutLE(out, 24, 2);
    PutLE(out, 0, 4);  // no compression
    PutLE(out, pixels, 4);
    PutLE(out, static_cast<uint32_t>(FShape.xdpi / 0.0254 + 0.5), 4);
    PutLE(out, static_cast<uint32_t>(FShape.ydpi / 0.0254 + 0.5), 4);
    PutLE(out, 0, 4);
    PutLE(out, 0, 4);
    return out;
  }
  PageShape FShape;
  int FRowBytes;
};

}  // namespace

std::unique_ptr<PageEncoder> MakeBmpEncoder(const PageShape& shape, const void*) {
  return std::make_unique<BmpEncoder>(shape);
}

}  // namespace rastmond

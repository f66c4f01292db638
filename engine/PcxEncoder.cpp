#include "ImageEncoders.h"

namespace rastmond {

namespace {

class PcxEncoder : public StreamEncoder {
 public:
  explicit PcxEncoder(const PageShape& shape)
      : StreamEncoder(shape), FLineBytes((shape.width + 1) / 2 * 2) {}

  // Per row the red, green and blue planes, each padded to an even length; a byte of 0xC0
  // or more, or a run, is written as a count byte (0xC0 | n, n up to 63) and the value.
  bool EncodeBand(int, const unsigned char* samples, std::ptrdiff_t stride, int rows,
                  std::string& chunk) override {
    chunk.clear();
    std::string plane(FLineBytes, '\0');
    for (int y = 0; y < rows; ++y) {
      const unsigned char* row = samples + y * stride;
      for (int c = 0; c < 3; ++c) {
        for (int x = 0; x < FShape.width; ++x) plane[x] = static_cast<char>(row[3 * x + c]);
        for (int x = 0; x < FLineBytes;) {
          const char value = plane[x];
          int run = 1;
          while (x + run < FLineBytes && run < 63 && plane[x + run] == value) ++run;
          if (run > 1 || (static_cast<unsigned char>(value) & 0xC0) == 0xC0)
            chunk.push_back(static_cast<char>(0xC0 | run));
          chunk.push_back(value);
          x += run;
        }
      }
    }
    return true;
  }

 private:
  std::string Header() const override {
    std::string out{10, 5, 1, 8};  // PCX, version 3.0+, run-length, 8 bits per plane
    PutLE(out, 0, 2);
    PutLE(out, 0, 2);
    PutLE(out, FShape.width - 1, 2);
    PutLE(out, FShape.height - 1, 2);
    PutLE(out, FShape.xdpi, 2);
    PutLE(out, FShape.ydpi, 2);
    out += std::string(48, '\0');  // 16-colour palette, unused
    out.push_back(0);
    out.push_back(3);  // planes
    PutLE(out, FLineBytes, 2);
    PutLE(out, 1, 2);  // colour
    out += std::string(128 - out.size(), '\0');
    return out;
  }
  int FLineBytes;
};

}  // namespace

std::unique_ptr<PageEncoder> MakePcxEncoder(const PageShape& shape, const void*) {
  return std::make_unique<PcxEncoder>(shape);
}

}  // namespace rastmond

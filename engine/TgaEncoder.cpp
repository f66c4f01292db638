#include <cstring>

#include "ImageEncoders.h"

namespace rastmond {

namespace {

class TgaEncoder : public StreamEncoder {
 public:
  using StreamEncoder::StreamEncoder;

  // Packets of at most 128 pixels: a run of one repeated pixel, or a stretch of literals.
  bool EncodeBand(int, const unsigned char* samples, std::ptrdiff_t stride, int rows,
                  std::string& chunk) override {
    chunk.clear();
    const int w = FShape.width;
    for (int y = 0; y < rows; ++y) {
      const unsigned char* row = samples + y * stride;
      const auto same = [row](int a, int b) {
        return std::memcmp(row + 3 * a, row + 3 * b, 3) == 0;
      };
      const auto pixel = [&](int x) {
        chunk.push_back(static_cast<char>(row[3 * x + 2]));
        chunk.push_back(static_cast<char>(row[3 * x + 1]));
        chunk.push_back(static_cast<char>(row[3 * x]));
      };
      for (int x = 0; x < w;) {
        int run = 1;
        while (x + run < w && run < 128 && same(x, x + run)) ++run;
        if (run > 1) {
          chunk.push_back(static_cast<char>(0x80 | (run - 1)));
          pixel(x);
          x += run;
          continue;
        }
        int literal = 1;
        while (x + literal < w && literal < 128 &&
               !(x + literal + 1 < w && same(x + literal, x + literal + 1)))
          ++literal;
        chunk.push_back(static_cast<char>(literal - 1));
        for (int i = 0; i < literal; ++i) pixel(x + i);
        x += literal;
      }
    }
    return true;
  }

 private:
  std::string Header() const override {
    std::string out;
    out += std::string{0, 0, 10};  // no id, no colour map, run-length true colour
    out += std::string(5, '\0');   // no colour map
    PutLE(out, 0, 2);              // origin
    PutLE(out, 0, 2);
    PutLE(out, FShape.width, 2);
    PutLE(out, FShape.height, 2);
    out.push_back(24);
    out.push_back(0x20);  // top-left origin
    return out;
  }
};

}  // namespace

std::unique_ptr<PageEncoder> MakeTgaEncoder(const PageShape& shape, const void*) {
  return std::make_unique<TgaEncoder>(shape);
}

}  // namespace rastmond

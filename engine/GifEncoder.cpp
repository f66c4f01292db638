// GIF pages. Gray pages index their exact gray level; colour pages are dithered onto a
// 6 x 7 x 6 colour cube with an 8 x 8 ordered (Bayer) pattern, which depends only on the
// pixel's position, so bands dither on their own. Each band is an LZW run starting with a
// clear code; the codes are packed into the file's bit stream in order, and the clear code
// that opens a band takes the code width the decoder has reached at the end of the band
// before.
#include <array>
#include <vector>

#include "ImageEncoders.h"

namespace rastmond {

namespace {

constexpr int kRed = 6, kGreen = 7, kBlue = 6;
constexpr int kClear = 256, kEnd = 257, kFirstFree = 258, kMaxCodes = 4096;

constexpr std::array<std::array<int, 8>, 8> kBayer = {{{0, 32, 8, 40, 2, 34, 10, 42},
                                                       {48, 16, 56, 24, 50, 18, 58, 26},
                                                       {12, 44, 4, 36, 14, 46, 6, 38},
                                                       {60, 28, 52, 20, 62, 30, 54, 22},
                                                       {3, 35, 11, 43, 1, 33, 9, 41},
                                                       {51, 19, 59, 27, 49, 17, 57, 25},
                                                       {15, 47, 7, 39, 13, 45, 5, 37},
                                                       {63, 31, 55, 23, 61, 29, 53, 21}}};

int Level(int value, int levels, int threshold) {
  return (value * (levels - 1) * 256 + threshold * 255) / (255 * 256);
}

// The codes of one band with the width the decoder reads each with.
struct Codes {
  std::vector<uint16_t> code;
  std::vector<uint8_t> width;
  int finalWidth = 9;  // the decoder's width after the band's last code
};

// Follows the decoder's table, which is one entry behind the encoder's, to know the width of
// each code exactly as the decoder will read it.
class CodeWriter {
 public:
  explicit CodeWriter(Codes& out) : FOut(out) {}
  void Emit(int code) {
    FOut.code.push_back(static_cast<uint16_t>(code));
    FOut.width.push_back(static_cast<uint8_t>(FWidth));
    if (code == kClear) {
      FWidth = 9;
      FNext = kFirstFree;
      FFirst = true;
    } else if (FFirst) {
      FFirst = false;
    } else if (FNext < kMaxCodes) {
      ++FNext;
      if (FNext == (1 << FWidth) && FWidth < 12) ++FWidth;
    }
    FOut.finalWidth = FWidth;
  }

 private:
  Codes& FOut;
  int FWidth = 9, FNext = kFirstFree;
  bool FFirst = true;
};

// String table: (prefix code, next index) -> code, open addressing; a generation number
// empties it at once.
class Table {
 public:
  Table() : FKey(kSize), FCode(kSize), FGen(kSize, 0) {}
  void Clear() { ++FGeneration; }
  int Find(uint32_t key) const {
    for (uint32_t i = Hash(key);; i = (i + 1) & (kSize - 1)) {
      if (FGen[i] != FGeneration) return -1;
      if (FKey[i] == key) return FCode[i];
    }
  }
  void Add(uint32_t key, int code) {
    uint32_t i = Hash(key);
    while (FGen[i] == FGeneration) i = (i + 1) & (kSize - 1);
    FGen[i] = FGeneration;
    FKey[i] = key;
    FCode[i] = static_cast<uint16_t>(code);
  }

 private:
  static constexpr uint32_t kSize = 8192;
  static uint32_t Hash(uint32_t key) { return (key * 2654435761u) >> 19; }
  std::vector<uint32_t> FKey;
  std::vector<uint16_t> FCode;
  std::vector<uint32_t> FGen;
  uint32_t FGeneration = 1;
};

class GifEncoder : public PageEncoder {
 public:
  explicit GifEncoder(const PageShape& shape) : FShape(shape) {}

  bool EncodeBand(int band, const unsigned char* samples, std::ptrdiff_t stride, int rows,
                  std::string& chunk) override {
    const int w = FShape.width, top = band * FShape.bandRows;
    std::vector<uint8_t> index(static_cast<std::size_t>(w) * rows);
    for (int y = 0; y < rows; ++y) {
      const unsigned char* row = samples + y * stride;
      uint8_t* out = index.data() + static_cast<std::size_t>(y) * w;
      if (FShape.channels == 1) {
        std::copy(row, row + w, out);
        continue;
      }
      const auto& pattern = kBayer[(top + y) & 7];
      for (int x = 0; x < w; ++x) {
        const int t = pattern[x & 7] * 4 + 2;  // 0..255 in the middle of each step
        const int r = Level(row[3 * x], kRed, t), g = Level(row[3 * x + 1], kGreen, t),
                  b = Level(row[3 * x + 2], kBlue, t);
        out[x] = static_cast<uint8_t>((r * kGreen + g) * kBlue + b);
      }
    }

    Codes codes;
    CodeWriter writer(codes);
    Table table;
    writer.Emit(kClear);
    int next = kFirstFree;
    int prefix = index[0];
    for (std::size_t i = 1; i < index.size(); ++i) {
      const uint32_t key = (static_cast<uint32_t>(prefix) << 8) | index[i];
      const int found = table.Find(key);
      if (found >= 0) {
        prefix = found;
        continue;
      }
      writer.Emit(prefix);
      table.Add(key, next++);
      if (next == kMaxCodes) {
        writer.Emit(kClear);
        table.Clear();
        next = kFirstFree;
      }
      prefix = index[i];
    }
    writer.Emit(prefix);
    if (band == (FShape.height + FShape.bandRows - 1) / FShape.bandRows - 1) writer.Emit(kEnd);

    // The chunk: the final width, then the codes (without the opening clear) and widths.
    chunk.assign(1, static_cast<char>(codes.finalWidth));
    for (std::size_t i = 1; i < codes.code.size(); ++i) {
      PutLE(chunk, codes.code[i], 2);
      chunk.push_back(static_cast<char>(codes.width[i]));
    }
    return true;
  }

  bool Append(FILE* file, int band, const std::string& chunk) override {
    if (band == 0 && !WriteAll(file, Header())) return false;
    Put(kClear, FWidth);
    for (std::size_t i = 1; i + 2 < chunk.size(); i += 3) {
      const int code = static_cast<uint8_t>(chunk[i]) | (static_cast<uint8_t>(chunk[i + 1]) << 8);
      Put(code, static_cast<uint8_t>(chunk[i + 2]));
    }
    FWidth = static_cast<uint8_t>(chunk[0]);
    return Flush(file, false);
  }

  bool Finish(FILE* file) override {
    return Flush(file, true) && WriteAll(file, std::string("\0;", 2));  // terminator, trailer
  }

 private:
  void Put(int code, int width) {
    FBits |= static_cast<uint64_t>(code) << FBitCount;
    FBitCount += width;
    while (FBitCount >= 8) {
      FData.push_back(static_cast<char>(FBits & 0xFF));
      FBits >>= 8;
      FBitCount -= 8;
    }
  }
  // Writes the packed bytes as sub-blocks of 255; the last partial block waits unless `all`.
  bool Flush(FILE* file, bool all) {
    if (all && FBitCount > 0) {
      FData.push_back(static_cast<char>(FBits & 0xFF));
      FBits = 0;
      FBitCount = 0;
    }
    std::string out;
    std::size_t at = 0;
    while (FData.size() - at >= 255 || (all && at < FData.size())) {
      const std::size_t n = std::min<std::size_t>(255, FData.size() - at);
      out.push_back(static_cast<char>(n));
      out.append(FData, at, n);
      at += n;
    }
    FData.erase(0, at);
    return WriteAll(file, out);
  }

  std::string Header() const {
    std::string out = "GIF89a";
    PutLE(out, FShape.width, 2);
    PutLE(out, FShape.height, 2);
    out.push_back(static_cast<char>(0xF7));  // global table of 256 colours
    out.push_back(0);
    out.push_back(0);
    for (int i = 0; i < 256; ++i) {
      int r = i, g = i, b = i;
      if (FShape.channels == 3) {
        const int k = std::min(i, kRed * kGreen * kBlue - 1);
        r = k / (kGreen * kBlue) * 255 / (kRed - 1);
        g = k / kBlue % kGreen * 255 / (kGreen - 1);
        b = k % kBlue * 255 / (kBlue - 1);
      }
      out += std::string{static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)};
    }
    out.push_back(',');
    PutLE(out, 0, 2);
    PutLE(out, 0, 2);
    PutLE(out, FShape.width, 2);
    PutLE(out, FShape.height, 2);
    out.push_back(0);  // no local table, not interlaced
    out.push_back(8);  // LZW minimum code size
    return out;
  }

  PageShape FShape;
  uint64_t FBits = 0;
  int FBitCount = 0;
  int FWidth = 9;
  std::string FData;
};

}  // namespace

std::unique_ptr<PageEncoder> MakeGifEncoder(const PageShape& shape, const void*) {
  return std::make_unique<GifEncoder>(shape);
}

bool PageIsGray(fz_context* ctx, fz_display_list* list) {
  int colour = 0;
  fz_device* volatile device = nullptr;
  fz_try(ctx) {
    device =
        fz_new_test_device(ctx, &colour, 0.01f, FZ_TEST_OPT_IMAGES | FZ_TEST_OPT_SHADINGS, nullptr);
    fz_run_display_list(ctx, list, device, fz_identity, fz_infinite_rect, nullptr);
    fz_close_device(ctx, device);
  }
  fz_always(ctx) {
    fz_drop_device(ctx, device);
  }
  fz_catch(ctx) {
    colour = 1;
  }
  return !colour;
}

}  // namespace rastmond

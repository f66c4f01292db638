// The page encoders of the engine's other image formats. Each writes a standard file that
// common readers open; where the format allows it, bands are compressed on their own (on any
// thread) and only joined in order.
#pragma once

#include "Engine.h"

namespace rastmond {

// PNG, 8-bit RGB: every band is its own run of deflate blocks (Sub filter, so no band needs
// the row above it), joined into one zlib stream whose checksum is combined band by band.
std::unique_ptr<PageEncoder> MakePngEncoder(const PageShape& shape, const void* options);
// BMP, 24-bit, bottom-up: bands are placed at their own offset in the file.
std::unique_ptr<PageEncoder> MakeBmpEncoder(const PageShape& shape, const void* options);
// TGA, 24-bit, run-length encoded (no packet crosses a row), top-left origin.
std::unique_ptr<PageEncoder> MakeTgaEncoder(const PageShape& shape, const void* options);
// PCX, 24-bit: three colour planes per row, run-length encoded.
std::unique_ptr<PageEncoder> MakePcxEncoder(const PageShape& shape, const void* options);
// GIF: an exact gray palette for pages rendered gray, and a 6x7x6 colour cube with ordered
// dithering otherwise. Each band is its own LZW run that starts with a clear code.
std::unique_ptr<PageEncoder> MakeGifEncoder(const PageShape& shape, const void* options);
// Whether a recorded page has no colour (GIF pages are then rendered gray).
bool PageIsGray(fz_context* ctx, fz_display_list* list);

struct TiffOptions {
  int compression;  // libtiff's COMPRESSION_* value: 1 none, 5 LZW, 7 JPEG, 8 deflate
};
// TIFF through libtiff, one strip per band.
std::unique_ptr<PageEncoder> MakeTiffEncoder(const PageShape& shape, const void* options);
// Appends the pages of the single-page TIFF `page` to the open multi-page TIFF `out`.
bool AppendTiffPages(void* out, const char* page);
void* OpenTiff(const char* path);  // a TIFF* for writing
bool CloseTiff(void* tiff);

inline constexpr int kBmpMaxDimension = 32767;    // keeps the file under 4 GB
inline constexpr int kSmallMaxDimension = 65535;  // 16-bit sizes: TGA, PCX, GIF
inline constexpr int kPngMaxDimension = 1 << 24;
inline constexpr int kTiffMaxDimension = 65500;  // JPEG-in-TIFF's limit
inline constexpr int kTiffBandAlign = 16;        // strips of JPEG-in-TIFF hold whole MCUs

// Little- and big-endian fields.
inline void PutLE(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}
inline void PutBE(std::string& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>(value >> (8 * i)));
}
inline bool WriteAll(FILE* file, const std::string& data) {
  return std::fwrite(data.data(), 1, data.size(), file) == data.size();
}

// An encoder whose header goes before band 0 and whose bands are appended as they are.
class StreamEncoder : public PageEncoder {
 public:
  explicit StreamEncoder(const PageShape& shape) : FShape(shape) {}
  bool Append(FILE* file, int band, const std::string& chunk) override {
    return (band > 0 || WriteAll(file, Header())) && WriteAll(file, chunk);
  }
  bool Finish(FILE*) override { return true; }

 protected:
  virtual std::string Header() const = 0;
  // The rows of a band start at this page row.
  int Top(int band) const { return band * FShape.bandRows; }
  int Bands() const { return (FShape.height + FShape.bandRows - 1) / FShape.bandRows; }
  PageShape FShape;
};

}  // namespace rastmond

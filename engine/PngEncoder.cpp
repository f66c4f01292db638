#include <zlib.h>

#include <cstring>

#include "ImageEncoders.h"

namespace rastmond {

namespace {

void Chunk(std::string& out, const char* type, const std::string& data) {
  PutBE(out, static_cast<uint32_t>(data.size()), 4);
  const std::string body = type + data;
  out += body;
  PutBE(out, crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size()), 4);
}

class PngEncoder : public StreamEncoder {
 public:
  using StreamEncoder::StreamEncoder;

  bool EncodeBand(int band, const unsigned char* samples, std::ptrdiff_t stride, int rows,
                  std::string& chunk) override {
    const int c = FShape.channels, rowBytes = FShape.width * c;
    std::string raw(static_cast<std::size_t>(rows) * (rowBytes + 1), '\0');
    for (int y = 0; y < rows; ++y) {
      const unsigned char* row = samples + y * stride;
      unsigned char* out = reinterpret_cast<unsigned char*>(raw.data()) + y * (rowBytes + 1);
      out[0] = 1;  // Sub: each byte minus the one to its left
      for (int i = 0; i < rowBytes; ++i) out[1 + i] = row[i] - (i >= c ? row[i - c] : 0);
    }
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    std::string compressed(deflateBound(&z, raw.size()) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(raw.data());
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = reinterpret_cast<Bytef*>(compressed.data());
    z.avail_out = static_cast<uInt>(compressed.size());
    // Bands end on a byte boundary and only the last one closes the stream.
    const int status = deflate(&z, band == Bands() - 1 ? Z_FINISH : Z_SYNC_FLUSH);
    const bool ok = (status == Z_OK || status == Z_STREAM_END) && z.avail_in == 0;
    compressed.resize(z.total_out);
    deflateEnd(&z);
    if (!ok) return false;
    chunk.clear();
    PutLE(chunk, adler32(1, reinterpret_cast<const Bytef*>(raw.data()), raw.size()), 4);
    PutLE(chunk, static_cast<uint32_t>(raw.size()), 4);
    chunk += compressed;
    return true;
  }

  bool Append(FILE* file, int band, const std::string& chunk) override {
    uint32_t adler, length;
    std::memcpy(&adler, chunk.data(), 4);
    std::memcpy(&length, chunk.data() + 4, 4);
    FAdler = band == 0 ? adler : adler32_combine(FAdler, adler, length);
    std::string data = band == 0 ? std::string("\x78\x01", 2) : std::string();  // zlib header
    data.append(chunk, 8);
    std::string out = band == 0 ? Header() : std::string();
    Chunk(out, "IDAT", data);
    return WriteAll(file, out);
  }

  bool Finish(FILE* file) override {
    std::string trailer, out;
    PutBE(trailer, static_cast<uint32_t>(FAdler), 4);
    Chunk(out, "IDAT", trailer);
    Chunk(out, "IEND", {});
    return WriteAll(file, out);
  }

 private:
  std::string Header() const override {
    std::string out("\x89PNG\r\n\x1a\n", 8), ihdr, phys;
    PutBE(ihdr, FShape.width, 4);
    PutBE(ihdr, FShape.height, 4);
    ihdr += std::string{8, static_cast<char>(FShape.channels == 1 ? 0 : 2), 0, 0, 0};
    Chunk(out, "IHDR", ihdr);
    PutBE(phys, static_cast<uint32_t>(FShape.xdpi / 0.0254 + 0.5), 4);
    PutBE(phys, static_cast<uint32_t>(FShape.ydpi / 0.0254 + 0.5), 4);
    phys.push_back(1);  // metres
    Chunk(out, "pHYs", phys);
    return out;
  }
  uLong FAdler = 1;
};

}  // namespace

std::unique_ptr<PageEncoder> MakePngEncoder(const PageShape& shape, const void*) {
  return std::make_unique<PngEncoder>(shape);
}

}  // namespace rastmond

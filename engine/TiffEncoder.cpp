// TIFF pages through libtiff, one strip per band, written through the pipeline's FILE. The
// strips are compressed by libtiff as they are appended, in band order. libtiff's warnings
// and errors are silenced: the engine never writes to stdout or stderr.
#include <tiffio.h>

#include <vector>

#include "ImageEncoders.h"

namespace rastmond {

namespace {

tmsize_t ReadProc(thandle_t h, void* data, tmsize_t size) {
  return static_cast<tmsize_t>(std::fread(data, 1, size, static_cast<FILE*>(h)));
}
tmsize_t WriteProc(thandle_t h, void* data, tmsize_t size) {
  return static_cast<tmsize_t>(std::fwrite(data, 1, size, static_cast<FILE*>(h)));
}
toff_t SeekProc(thandle_t h, toff_t offset, int whence) {
  FILE* file = static_cast<FILE*>(h);
  if (fseeko(file, static_cast<off_t>(offset), whence) != 0) return static_cast<toff_t>(-1);
  return static_cast<toff_t>(ftello(file));
}
int CloseProc(thandle_t) {
  return 0;  // the pipeline closes the file
}
toff_t SizeProc(thandle_t h) {
  FILE* file = static_cast<FILE*>(h);
  const off_t at = ftello(file);
  fseeko(file, 0, SEEK_END);
  const off_t size = ftello(file);
  fseeko(file, at, SEEK_SET);
  return static_cast<toff_t>(size);
}

void Silence() {
  static const bool once = [] {
    TIFFSetWarningHandler(nullptr);
    TIFFSetErrorHandler(nullptr);
    return true;
  }();
  (void)once;
}

int Compression(int requested) {
  switch (requested) {
    case COMPRESSION_LZW:
    case COMPRESSION_JPEG:
    case COMPRESSION_ADOBE_DEFLATE:
      return requested;
    default:
      return COMPRESSION_NONE;
  }
}

// The tags of a page; `rowsPerStrip` rows in every strip but the last.
bool SetTags(TIFF* tiff, int width, int height, int channels, int compression, int rowsPerStrip,
             float xdpi, float ydpi) {
  compression = Compression(compression);
  bool ok = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width) &&
            TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height) &&
            TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8) &&
            TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, channels) &&
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                         channels == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB) &&
            TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
            TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, rowsPerStrip) &&
            TIFFSetField(tiff, TIFFTAG_XRESOLUTION, xdpi) &&
            TIFFSetField(tiff, TIFFTAG_YRESOLUTION, ydpi) &&
            TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH) &&
            TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression);
  if (ok && (compression == COMPRESSION_LZW || compression == COMPRESSION_ADOBE_DEFLATE))
    ok = TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  if (ok && compression == COMPRESSION_JPEG) ok = TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, 75);
  return ok;
}

class TiffEncoder : public PageEncoder {
 public:
  TiffEncoder(const PageShape& shape, int compression) : FShape(shape), FCompression(compression) {}
  ~TiffEncoder() override {
    if (FTiff) TIFFCleanup(FTiff);
  }

  // libtiff compresses when the strip is appended: the band is handed over as it is.
  bool EncodeBand(int, const unsigned char* samples, std::ptrdiff_t stride, int rows,
                  std::string& chunk) override {
    const std::size_t rowBytes = static_cast<std::size_t>(FShape.width) * FShape.channels;
    chunk.resize(rowBytes * rows);
    for (int y = 0; y < rows; ++y)
      std::copy(samples + y * stride, samples + y * stride + rowBytes, chunk.data() + y * rowBytes);
    return true;
  }

  bool Append(FILE* file, int band, const std::string& chunk) override {
    if (band == 0) {
      Silence();
      FTiff = TIFFClientOpen("page", "w", file, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                             nullptr, nullptr);
      if (!FTiff || !SetTags(FTiff, FShape.width, FShape.height, FShape.channels, FCompression,
                             FShape.bandRows, FShape.xdpi, FShape.ydpi))
        return false;
    }
    return FTiff && TIFFWriteEncodedStrip(FTiff, band, const_cast<char*>(chunk.data()),
                                          static_cast<tmsize_t>(chunk.size())) >= 0;
  }

  bool Finish(FILE* file) override {
    if (!FTiff) return false;
    const bool ok = TIFFWriteDirectory(FTiff) && TIFFFlush(FTiff);
    TIFFClose(FTiff);  // the close procedure leaves the file to the pipeline
    FTiff = nullptr;
    return ok && std::fflush(file) == 0;
  }

 private:
  PageShape FShape;
  int FCompression;
  TIFF* FTiff = nullptr;
};

}  // namespace

std::unique_ptr<PageEncoder> MakeTiffEncoder(const PageShape& shape, const void* options) {
  return std::make_unique<TiffEncoder>(shape,
                                       static_cast<const TiffOptions*>(options)->compression);
}

void* OpenTiff(const char* path) {
  Silence();
  return TIFFOpen(path, "w");
}

bool CloseTiff(void* tiff) {
  TIFF* t = static_cast<TIFF*>(tiff);
  const bool ok = TIFFFlush(t);
  TIFFClose(t);
  return ok;
}

// Decodes each strip of the page and encodes it again into a new directory of `out`.
bool AppendTiffPages(void* out, const char* page) {
  Silence();
  TIFF* in = TIFFOpen(page, "r");
  if (!in) return false;
  TIFF* tiff = static_cast<TIFF*>(out);
  bool ok = true;
  do {
    uint32_t width = 0, height = 0, rows = 0;
    uint16_t channels = 0, compression = COMPRESSION_NONE;
    float xdpi = 72, ydpi = 72;
    TIFFGetField(in, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(in, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetField(in, TIFFTAG_SAMPLESPERPIXEL, &channels);
    TIFFGetField(in, TIFFTAG_ROWSPERSTRIP, &rows);
    TIFFGetField(in, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(in, TIFFTAG_XRESOLUTION, &xdpi);
    TIFFGetField(in, TIFFTAG_YRESOLUTION, &ydpi);
    ok = SetTags(tiff, width, height, channels, compression, rows, xdpi, ydpi);
    std::vector<char> strip(TIFFStripSize(in));
    for (tstrip_t s = 0; ok && s < TIFFNumberOfStrips(in); ++s) {
      const tmsize_t n =
          TIFFReadEncodedStrip(in, s, strip.data(), static_cast<tmsize_t>(strip.size()));
      ok = n >= 0 && TIFFWriteEncodedStrip(tiff, s, strip.data(), n) >= 0;
    }
    ok = ok && TIFFWriteDirectory(tiff);
  } while (ok && TIFFReadDirectory(in));
  TIFFClose(in);
  return ok;
}

}  // namespace rastmond

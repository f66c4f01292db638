#include <cstdio>
#include <vector>

#include <gtest/gtest.h>

#include "JpegEncoder.h"
#include "ReadJpeg.h"
#include "TestSupport.h"

namespace {

using rastmond::PageShape;

// Encodes `pixels` in bands of `bandRows` (encoded last band first), decodes the file.
JpegImage EncodeInBands(const std::string& path, const std::vector<unsigned char>& pixels,
                        PageShape shape) {
  const rastmond::JpegOptions options{90};
  auto encoder = rastmond::MakeJpegEncoder(shape, &options);
  const int bands = (shape.height + shape.bandRows - 1) / shape.bandRows;
  const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(shape.width) * shape.channels;
  std::vector<std::string> chunks(bands);
  for (int band = bands - 1; band >= 0; --band) {
    const int top = band * shape.bandRows;
    const int rows = std::min(shape.bandRows, shape.height - top);
    EXPECT_TRUE(
        encoder->EncodeBand(band, pixels.data() + top * stride, stride, rows, chunks[band]));
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  for (int band = 0; band < bands; ++band) EXPECT_TRUE(encoder->Append(file, band, chunks[band]));
  EXPECT_TRUE(encoder->Finish(file));
  std::fclose(file);
  return ReadJpeg(path);
}

TEST(JpegEncoder, BandsJoinIntoTheImageEncodedWhole) {
  TempDir dir;
  const struct {
    int width, height, channels, bandRows;
  } cases[] = {
      {37, 100, 3, 16},   // seven bands, the last one short
      {200, 300, 1, 16},  // nineteen bands: restart numbers wrap round more than twice
      {65, 17, 3, 16},    // a last band of one row
      {1, 1, 3, 16},     {130, 96, 3, 32},
  };
  for (const auto& c : cases) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(c.width) * c.height * c.channels);
    for (std::size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = static_cast<unsigned char>((i * 7919 % 251) ^ (i / (c.width * 3 + 1)));
    const PageShape banded{c.width, c.height, c.channels, 150, 100, c.bandRows};
    PageShape whole = banded;
    whole.bandRows = c.height;
    const JpegImage a = EncodeInBands((dir.Path() / "a.jpg").string(), pixels, banded);
    const JpegImage b = EncodeInBands((dir.Path() / "b.jpg").string(), pixels, whole);
    ASSERT_TRUE(a.ok && b.ok) << c.width << "x" << c.height;
    EXPECT_EQ(a.width, c.width);
    EXPECT_EQ(a.height, c.height);
    EXPECT_EQ(a.components, c.channels);
    EXPECT_EQ(a.xDensity, 150);
    EXPECT_EQ(a.yDensity, 100);
    EXPECT_TRUE(a.pixels == b.pixels) << c.width << "x" << c.height;
  }
}

}  // namespace

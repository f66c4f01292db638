// Decodes a JPEG file for the tests' checks.
#pragma once

#include <string>
#include <vector>

struct JpegImage {
  bool ok = false;  // decoded without error or warning
  int width = 0, height = 0, components = 0;
  int densityUnit = 0, xDensity = 0, yDensity = 0;
  std::vector<unsigned char> pixels;
};

JpegImage ReadJpeg(const std::string& path);

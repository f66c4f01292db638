#pragma once

#include <algorithm>

#include "Engine.h"

namespace rastmond {

struct JpegOptions {
  int quality;  // 1..100
};

std::unique_ptr<BandSink> MakeJpegSink(const void* options);  // options: a JpegOptions

// libjpeg's limit on either side of an image.
inline constexpr int kJpegMaxDimension = 65500;

}  // namespace rastmond

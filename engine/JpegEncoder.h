#pragma once

#include "Engine.h"

namespace rastmond {

struct JpegOptions {
  int quality;  // 1..100
};

// Baseline JPEG whose bands are encoded independently and joined by restart markers.
std::unique_ptr<PageEncoder> MakeJpegEncoder(const PageShape& shape, const void* options);

inline constexpr int kJpegMaxDimension = 65500;  // libjpeg's limit on either side
inline constexpr int kJpegBandAlign = 16;        // the tallest MCU (4:2:0 colour)

}  // namespace rastmond

#pragma once

#include "tools/resgen/Image.h"

#include <cstdint>
#include <vector>

namespace cq::resgen {

// A Windows bitmap file: BITMAPFILEHEADER, BITMAPINFOHEADER, 24 bits per pixel,
// uncompressed, rows bottom-up and padded to four bytes. Every pixel must be painted.
std::vector<std::uint8_t> encodeBmp24(const Image& image);

}  // namespace cq::resgen

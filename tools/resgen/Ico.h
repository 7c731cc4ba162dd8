#pragma once

#include "tools/resgen/Image.h"

#include <cstdint>
#include <vector>

namespace cq::resgen {

// An icon file holding one 256-colour image of the image's size: a palette of the
// image's own colours (black first), the colour pixels at 8 bits, and the AND mask
// that makes clear pixels transparent. At most 256 distinct colours (black included);
// sizes up to 255 pixels.
std::vector<std::uint8_t> encodeIco8(const Image& image);

}  // namespace cq::resgen

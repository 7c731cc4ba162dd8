#pragma once

#include "tools/resgen/Image.h"

namespace cq::resgen {

// The toolbar's button colour, under the clear pixels of a button face.
inline constexpr Rgb kSilver{192, 192, 192};

// The 16 x 16 picture, drawn pixel by pixel so that it stays sharp: the toolbar face
// (its clear pixels are where the button shows through) and the small icon.
Image smallPicture();
// The 32 x 32 icon, with a transparent background.
Image largeIcon();
// 150 x 125, for the support library's about box.
Image logo();
// 95 x 310, the tall banner beside the about text.
Image aboutBanner();

}  // namespace cq::resgen

#pragma once

#include "tools/resgen/Image.h"

namespace cq::resgen {

enum class Edges {
    // Each pixel takes the colour that most of its samples show, or stays as it was
    // when most samples miss the picture: few colours and hard edges, for icons and
    // toolbar faces.
    Crisp,
    // Each pixel is the average of its samples, over the colour it had before; the
    // pixels of the square must be painted. For the logos.
    Smooth,
};

// Draws the product's picture, a rubber stamp with a clock in front of it, into the
// square of `size` pixels whose top left corner is (left, top). `size` is a multiple
// of 4 and at most 256. Integer arithmetic only, so every compiler draws the same pixels.
void drawMotif(Image& image, int left, int top, int size, Edges edges);

}  // namespace cq::resgen

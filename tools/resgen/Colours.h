#pragma once

#include "tools/resgen/Image.h"

namespace cq::resgen {

// The colours of the rubber stamp and the clock, at every size.
inline constexpr Rgb kKnob{204, 32, 32};
inline constexpr Rgb kNeck{140, 24, 24};
inline constexpr Rgb kBlock{176, 120, 64};
inline constexpr Rgb kRubber{48, 48, 48};
inline constexpr Rgb kRim{24, 64, 144};
inline constexpr Rgb kDial{255, 255, 255};
inline constexpr Rgb kHands{0, 0, 0};

}  // namespace cq::resgen

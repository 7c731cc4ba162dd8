#include "tools/resgen/Motif.h"

#include "tools/resgen/Colours.h"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace cq::resgen {
namespace {

// The picture is laid out on a 64 x 64 grid; each pixel is sampled 8 x 8 times.
constexpr int kGrid = 64;
constexpr int kSamples = 8;

// Everything within `radius` of the segment a-b (a capsule), or of the rectangle with
// corners a and b shrunk by `radius` (a box with rounded corners).
struct Shape {
    enum Kind { Capsule, Box } kind;
    int ax, ay, bx, by, radius;
    Rgb colour;
};

// Back to front.
constexpr std::array kShapes{
    Shape{Shape::Capsule, 22, 11, 22, 11, 9, kKnob},
    Shape{Shape::Capsule, 22, 14, 22, 28, 5, kNeck},
    Shape{Shape::Box, 6, 28, 38, 44, 3, kBlock},
    Shape{Shape::Box, 8, 44, 36, 50, 0, kRubber},
    Shape{Shape::Capsule, 44, 42, 44, 42, 19, kRim},
    Shape{Shape::Capsule, 44, 42, 44, 42, 15, kDial},
    Shape{Shape::Capsule, 44, 29, 44, 30, 1, kRim},  // twelve o'clock
    Shape{Shape::Capsule, 56, 42, 57, 42, 1, kRim},  // three
    Shape{Shape::Capsule, 44, 54, 44, 55, 1, kRim},  // six
    Shape{Shape::Capsule, 31, 42, 32, 42, 1, kRim},  // nine
    Shape{Shape::Capsule, 44, 42, 44, 31, 2, kHands},
    Shape{Shape::Capsule, 44, 42, 52, 42, 2, kHands},
    Shape{Shape::Capsule, 44, 42, 44, 42, 3, kHands},
};
constexpr int kNone = -1;

std::int64_t square(std::int64_t v) { return v * v; }

// Whether the point (x, y) lies in the shape drawn `scale` times its grid size.
bool covers(const Shape& s, std::int64_t x, std::int64_t y, std::int64_t scale) {
    const std::int64_t ax = s.ax * scale, ay = s.ay * scale, bx = s.bx * scale, by = s.by * scale;
    const std::int64_t r2 = square(s.radius * scale);
    if (s.kind == Shape::Box) {
        const std::int64_t r = s.radius * scale;
        const std::int64_t dx = x < ax + r ? ax + r - x : (x > bx - r ? x - (bx - r) : 0);
        const std::int64_t dy = y < ay + r ? ay + r - y : (y > by - r ? y - (by - r) : 0);
        return x >= ax && x <= bx && y >= ay && y <= by && square(dx) + square(dy) <= r2;
    }
    const std::int64_t dx = bx - ax, dy = by - ay, wx = x - ax, wy = y - ay;
    const std::int64_t length2 = square(dx) + square(dy);
    const std::int64_t along = wx * dx + wy * dy;
    if (along <= 0) return square(wx) + square(wy) <= r2;
    if (along >= length2) return square(x - bx) + square(y - by) <= r2;
    // Distance to the line, squared and multiplied by length2 to stay in integers.
    return (square(wx) + square(wy)) * length2 - square(along) <= r2 * length2;
}

int shapeAt(std::int64_t x, std::int64_t y, std::int64_t scale) {
    for (int i = static_cast<int>(kShapes.size()) - 1; i >= 0; --i)
        if (covers(kShapes[i], x, y, scale)) return i;
    return kNone;
}

}  // namespace

void drawMotif(Image& image, int left, int top, int size, Edges edges) {
    if (size <= 0 || size > 256 || size % 4 != 0)
        throw std::invalid_argument("motif size must be a multiple of 4 up to 256");
    // Sample centres sit at odd coordinates, two units per sample; one grid step is
    // 2 * size * kSamples / kGrid of those units.
    const std::int64_t scale = 2 * size * kSamples / kGrid;
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            std::array<int, kShapes.size() + 1> hits{};  // [0]: no shape
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    ++hits[shapeAt(2 * (px * kSamples + sx) + 1, 2 * (py * kSamples + sy) + 1,
                                   scale) +
                           1];
            const int x = left + px, y = top + py;
            if (edges == Edges::Crisp) {
                std::size_t best = 0;  // ties go to the shape in front
                for (std::size_t i = 1; i < hits.size(); ++i)
                    if (hits[i] >= hits[best]) best = i;
                if (best != 0) image.paint(x, y, kShapes[best - 1].colour);
                continue;
            }
            const auto below = image.at(x, y);
            if (!below) throw std::invalid_argument("smooth edges need a painted background");
            int r = 0, g = 0, b = 0;
            for (std::size_t i = 0; i < hits.size(); ++i) {
                const Rgb c = i == 0 ? *below : kShapes[i - 1].colour;
                r += hits[i] * c.r;
                g += hits[i] * c.g;
                b += hits[i] * c.b;
            }
            constexpr int n = kSamples * kSamples;
            image.paint(x, y,
                        Rgb{static_cast<std::uint8_t>((r + n / 2) / n),
                            static_cast<std::uint8_t>((g + n / 2) / n),
                            static_cast<std::uint8_t>((b + n / 2) / n)});
        }
    }
}

}  // namespace cq::resgen

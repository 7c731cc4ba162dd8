#include "tools/resgen/Artwork.h"

#include "tools/resgen/Colours.h"
#include "tools/resgen/Motif.h"

namespace cq::resgen {
namespace {

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kMist{208, 222, 240};
constexpr Rgb kInk{24, 64, 144};
constexpr Rgb kRule{160, 184, 224};

std::uint8_t between(std::uint8_t from, std::uint8_t to, int step, int steps) {
    return static_cast<std::uint8_t>(from + (to - from) * step / steps);
}

// Top row `from`, bottom row `to`, straight in between.
void fillGradient(Image& image, Rgb from, Rgb to) {
    const int steps = image.height() - 1;
    for (int y = 0; y < image.height(); ++y) {
        const Rgb c{between(from.r, to.r, y, steps), between(from.g, to.g, y, steps),
                    between(from.b, to.b, y, steps)};
        for (int x = 0; x < image.width(); ++x) image.paint(x, y, c);
    }
}

void frame(Image& image, Rgb colour) {
    for (int x = 0; x < image.width(); ++x) {
        image.paint(x, 0, colour);
        image.paint(x, image.height() - 1, colour);
    }
    for (int y = 0; y < image.height(); ++y) {
        image.paint(0, y, colour);
        image.paint(image.width() - 1, y, colour);
    }
}

}  // namespace

Image smallPicture() {
    // Rubber stamp on the left, clock showing three o'clock in front of it.
    static constexpr const char* kRows[] = {
        "...RRR..........",  //
        "..RRRRR.........",  //
        "..RRRRR.........",  //
        "...RRR..........",  //
        "...nnn..........",  //
        "...nnn..........",  //
        "WWWWWWWWW.......",  //
        "WWWWWWWWWBBBBB..",  //
        "WWWWWWWWBddhddB.",  //
        "WWWWWWWBdddhdddB",  //
        "KKKKKKKBdddhdddB",  //
        ".KKKKKKBdddhhhdB",  //
        ".......BdddddddB",  //
        ".......BdddddddB",  //
        "........BdddddB.",  //
        ".........BBBBB..",  //
    };
    Image image(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            switch (kRows[y][x]) {
                case 'R':
                    image.paint(x, y, kKnob);
                    break;
                case 'n':
                    image.paint(x, y, kNeck);
                    break;
                case 'W':
                    image.paint(x, y, kBlock);
                    break;
                case 'K':
                    image.paint(x, y, kRubber);
                    break;
                case 'B':
                    image.paint(x, y, kRim);
                    break;
                case 'd':
                    image.paint(x, y, kDial);
                    break;
                case 'h':
                    image.paint(x, y, kHands);
                    break;
                default:
                    break;  // clear
            }
        }
    }
    return image;
}

Image largeIcon() {
    Image image(32, 32);
    drawMotif(image, 0, 0, 32, Edges::Crisp);
    return image;
}

Image logo() {
    Image image(150, 125);
    fillGradient(image, kPaper, kMist);
    drawMotif(image, 25, 12, 100, Edges::Smooth);
    frame(image, kInk);
    return image;
}

Image aboutBanner() {
    Image image(95, 310);
    fillGradient(image, kPaper, kMist);
    drawMotif(image, 7, 16, 80, Edges::Smooth);
    // Ruled lines, like the pages of a diary.
    for (int y = 120; y < 300; y += 14)
        for (int x = 12; x < 83; ++x) image.paint(x, y, kRule);
    frame(image, kInk);
    return image;
}

}  // namespace cq::resgen

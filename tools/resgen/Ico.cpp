#include "tools/resgen/Ico.h"

#include "tools/resgen/ByteWriter.h"

#include <algorithm>
#include <stdexcept>

namespace cq::resgen {
namespace {

constexpr std::uint32_t kDirectorySize = 6;
constexpr std::uint32_t kEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kPaletteSize = 256;

// Black first (the colour under transparent pixels), then the painted colours in the
// order they are met, top row first.
std::vector<Rgb> paletteOf(const Image& image) {
    std::vector<Rgb> palette{kBlack};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const auto pixel = image.at(x, y);
                pixel && std::find(palette.begin(), palette.end(), *pixel) == palette.end())
                palette.push_back(*pixel);
    if (palette.size() > kPaletteSize) throw std::invalid_argument("more than 256 colours");
    return palette;
}

std::uint32_t stride(std::uint32_t bits) { return (bits + 31) / 32 * 4; }

}  // namespace

std::vector<std::uint8_t> encodeIco8(const Image& image) {
    if (image.width() > 255 || image.height() > 255)
        throw std::invalid_argument("icon larger than 255 pixels");
    const auto palette = paletteOf(image);
    const auto width = static_cast<std::uint32_t>(image.width());
    const auto height = static_cast<std::uint32_t>(image.height());
    const std::uint32_t colourBytes = stride(width * 8) * height;
    const std::uint32_t maskBytes = stride(width) * height;
    const std::uint32_t imageBytes =
        kInfoHeaderSize + 4 * static_cast<std::uint32_t>(kPaletteSize) + colourBytes + maskBytes;

    ByteWriter out;
    out.u16(0);  // reserved
    out.u16(1);  // icon
    out.u16(1);  // one image

    out.u8(width);
    out.u8(height);
    out.u8(0);   // colour count: 0 stands for 256
    out.u8(0);   // reserved
    out.u16(1);  // planes
    out.u16(8);  // bits per pixel
    out.u32(imageBytes);
    out.u32(kDirectorySize + kEntrySize);

    out.u32(kInfoHeaderSize);
    out.i32(image.width());
    out.i32(image.height() * 2);  // colour pixels and mask together
    out.u16(1);
    out.u16(8);
    out.u32(0);  // BI_RGB
    out.u32(colourBytes + maskBytes);
    out.i32(0);
    out.i32(0);
    out.u32(0);  // colours used: all 256
    out.u32(0);

    for (std::size_t i = 0; i < kPaletteSize; ++i) {
        const Rgb colour = i < palette.size() ? palette[i] : kBlack;
        out.u8(colour.b);
        out.u8(colour.g);
        out.u8(colour.r);
        out.u8(0);
    }
    for (int y = image.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < image.width(); ++x) {
            const Rgb colour = image.at(x, y).value_or(kBlack);
            out.u8(static_cast<std::uint32_t>(std::find(palette.begin(), palette.end(), colour) -
                                              palette.begin()));
        }
        out.padFrom(rowStart);
    }
    for (int y = image.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        std::uint32_t bits = 0;
        for (int x = 0; x < image.width(); ++x) {
            bits = (bits << 1) | (image.at(x, y) ? 0u : 1u);  // 1: the screen shows through
            if (x % 8 == 7) {
                out.u8(bits);
                bits = 0;
            }
        }
        if (image.width() % 8 != 0) out.u8(bits << (8 - image.width() % 8));
        out.padFrom(rowStart);
    }
    return out.take();
}

}  // namespace cq::resgen

#include "tools/resgen/Bmp.h"

#include "tools/resgen/ByteWriter.h"

#include <stdexcept>

namespace cq::resgen {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

}  // namespace

std::vector<std::uint8_t> encodeBmp24(const Image& image) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(image.width()) * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(image.height());
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(offset + pixelBytes);
    out.u32(0);  // two reserved words
    out.u32(offset);

    out.u32(kInfoHeaderSize);
    out.i32(image.width());
    out.i32(image.height());  // positive: bottom-up
    out.u16(1);               // planes
    out.u16(24);
    out.u32(0);  // BI_RGB
    out.u32(pixelBytes);
    out.i32(kPixelsPerMetre);
    out.i32(kPixelsPerMetre);
    out.u32(0);  // colours used: none, no palette
    out.u32(0);  // colours important

    for (int y = image.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < image.width(); ++x) {
            const auto pixel = image.at(x, y);
            if (!pixel) throw std::invalid_argument("a bitmap needs every pixel painted");
            out.u8(pixel->b);
            out.u8(pixel->g);
            out.u8(pixel->r);
        }
        out.padFrom(rowStart);
    }
    return out.take();
}

}  // namespace cq::resgen

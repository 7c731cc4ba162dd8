#include "tools/resgen/Ico.h"

#include "tests/resgen/LittleEndian.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace cq::resgen {
namespace {

constexpr std::size_t kHeader = 6 + 16;           // directory and its one entry
constexpr std::size_t kPalette = kHeader + 40;    // after BITMAPINFOHEADER
constexpr std::size_t kPixels = kPalette + 1024;  // after 256 palette entries

Rgb paletteEntry(const std::vector<std::uint8_t>& bytes, std::size_t index) {
    const std::size_t at = kPalette + 4 * index;
    return Rgb{bytes.at(at + 2), bytes.at(at + 1), bytes.at(at)};
}

TEST(Ico, DirectoryAndHeaderForEverySize) {
    struct Case {
        int size;
        std::uint32_t colourStride, maskStride;
    };
    for (const Case c : {Case{1, 4, 4}, Case{5, 8, 4}, Case{16, 16, 4}, Case{32, 32, 4},
                         Case{33, 36, 8}, Case{48, 48, 8}}) {
        SCOPED_TRACE(c.size);
        Image image(c.size, c.size);
        image.paint(0, 0, Rgb{1, 2, 3});
        const auto bytes = encodeIco8(image);
        const std::uint32_t data = (c.colourStride + c.maskStride) * c.size;
        ASSERT_EQ(bytes.size(), kPixels + data);
        EXPECT_EQ(u16At(bytes, 0), 0u);
        EXPECT_EQ(u16At(bytes, 2), 1u);  // icon
        EXPECT_EQ(u16At(bytes, 4), 1u);  // one image
        EXPECT_EQ(bytes[6], c.size);
        EXPECT_EQ(bytes[7], c.size);
        EXPECT_EQ(bytes[8], 0);  // 256 colours
        EXPECT_EQ(u16At(bytes, 10), 1u);
        EXPECT_EQ(u16At(bytes, 12), 8u);
        EXPECT_EQ(u32At(bytes, 14), bytes.size() - kHeader);
        EXPECT_EQ(u32At(bytes, 18), kHeader);
        EXPECT_EQ(u32At(bytes, 22), 40u);
        EXPECT_EQ(i32At(bytes, 26), c.size);
        EXPECT_EQ(i32At(bytes, 30), 2 * c.size);  // colour pixels and mask
        EXPECT_EQ(u16At(bytes, 36), 8u);
        EXPECT_EQ(u32At(bytes, 38), 0u);
        EXPECT_EQ(u32At(bytes, 42), data);
    }
}

TEST(Ico, PixelsIndexThePaletteAndClearPixelsAreMasked) {
    // 10 x 2: top row red, red, clear, green...; bottom row clear except x = 9.
    const Rgb red{255, 0, 0}, green{0, 255, 0};
    Image image(10, 2);
    image.paint(0, 0, red);
    image.paint(1, 0, red);
    for (int x = 3; x < 10; ++x) image.paint(x, 0, green);
    image.paint(9, 1, kBlack);
    const auto bytes = encodeIco8(image);

    EXPECT_EQ(paletteEntry(bytes, 0), kBlack);
    EXPECT_EQ(paletteEntry(bytes, 1), red);
    EXPECT_EQ(paletteEntry(bytes, 2), green);
    EXPECT_EQ(paletteEntry(bytes, 3), kBlack);  // unused entries
    EXPECT_EQ(bytes[kPalette + 3], 0);          // reserved byte of an entry

    const std::size_t stride = 12;  // 10 bytes padded
    const std::vector<std::uint8_t> bottom(bytes.begin() + kPixels,
                                           bytes.begin() + kPixels + stride);
    const std::vector<std::uint8_t> top(bytes.begin() + kPixels + stride,
                                        bytes.begin() + kPixels + 2 * stride);
    EXPECT_EQ(bottom, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(top, (std::vector<std::uint8_t>{1, 1, 0, 2, 2, 2, 2, 2, 2, 2, 0, 0}));

    // AND mask, bottom row first, one bit a pixel from the high bit, rows of 4 bytes.
    const std::size_t mask = kPixels + 2 * stride;
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + mask, bytes.end()),
              (std::vector<std::uint8_t>{0xFF, 0x80, 0, 0, 0x20, 0x00, 0, 0}));
}

TEST(Ico, RefusesWhatDoesNotFit) {
    Image many(16, 17);  // 272 distinct colours
    for (int i = 0; i < 16 * 17; ++i)
        many.paint(i % 16, i / 16,
                   Rgb{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 256), 7});
    EXPECT_THROW(encodeIco8(many), std::invalid_argument);

    Image full(16, 16);  // 255 colours besides black: exactly a full palette
    for (int i = 0; i < 256; ++i)
        full.paint(i % 16, i / 16, Rgb{static_cast<std::uint8_t>(i), 0, 0});
    EXPECT_NO_THROW(encodeIco8(full));

    EXPECT_THROW(encodeIco8(Image(256, 1)), std::invalid_argument);
}

}  // namespace
}  // namespace cq::resgen

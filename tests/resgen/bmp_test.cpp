#include "tools/resgen/Bmp.h"

#include "tests/resgen/LittleEndian.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace cq::resgen {
namespace {

Image filled(int width, int height, Rgb colour) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.paint(x, y, colour);
    return image;
}

TEST(Bmp, HeadersAndRowPaddingForEveryWidth) {
    struct Case {
        int width, height;
        std::uint32_t stride;
    };
    for (const Case c : {Case{1, 1, 4}, Case{2, 3, 8}, Case{3, 2, 12}, Case{4, 1, 12},
                         Case{16, 16, 48}, Case{95, 310, 288}, Case{150, 125, 452}}) {
        SCOPED_TRACE(c.width);
        const auto bytes = encodeBmp24(filled(c.width, c.height, kWhite));
        const std::uint32_t pixelBytes = c.stride * static_cast<std::uint32_t>(c.height);
        ASSERT_EQ(bytes.size(), 54 + pixelBytes);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(u32At(bytes, 2), bytes.size());
        EXPECT_EQ(u32At(bytes, 6), 0u);
        EXPECT_EQ(u32At(bytes, 10), 54u);
        EXPECT_EQ(u32At(bytes, 14), 40u);
        EXPECT_EQ(i32At(bytes, 18), c.width);
        EXPECT_EQ(i32At(bytes, 22), c.height);  // bottom-up
        EXPECT_EQ(u16At(bytes, 26), 1u);
        EXPECT_EQ(u16At(bytes, 28), 24u);
        EXPECT_EQ(u32At(bytes, 30), 0u);  // uncompressed
        EXPECT_EQ(u32At(bytes, 34), pixelBytes);
        EXPECT_EQ(u32At(bytes, 46), 0u);  // no palette
        // Padding bytes are zero, pixel bytes are the white of the image.
        for (std::uint32_t i = 0; i < pixelBytes; ++i)
            ASSERT_EQ(bytes[54 + i], i % c.stride < 3u * c.width ? 255 : 0) << i;
    }
}

TEST(Bmp, BottomRowFirstInBlueGreenRedOrder) {
    Image image = filled(2, 2, kWhite);
    image.paint(0, 1, Rgb{10, 20, 30});  // bottom left
    image.paint(1, 0, Rgb{40, 50, 60});  // top right
    const auto bytes = encodeBmp24(image);
    const std::vector<std::uint8_t> pixels(bytes.begin() + 54, bytes.end());
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{30, 20, 10, 255, 255, 255, 0, 0,  //
                                                 255, 255, 255, 60, 50, 40, 0, 0}));
}

TEST(Bmp, RefusesAClearPixel) {
    Image image = filled(3, 3, kWhite);
    Image withHole(3, 3);
    withHole.paint(0, 0, kWhite);
    EXPECT_NO_THROW(encodeBmp24(image));
    EXPECT_THROW(encodeBmp24(withHole), std::invalid_argument);
}

}  // namespace
}  // namespace cq::resgen

#include "tools/resgen/Artwork.h"
#include "tools/resgen/ResourceFiles.h"

#include "tests/resgen/LittleEndian.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace cq::resgen {
namespace {

std::vector<std::uint8_t> committed(const std::string& path) {
    std::ifstream in(std::string(CQ_SOURCE_DIR) + "/" + path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CommittedResources, AreExactlyWhatTheGeneratorDraws) {
    for (const auto& file : resourceFiles()) {
        SCOPED_TRACE(file.path);
        const auto bytes = committed(file.path);
        ASSERT_EQ(bytes.size(), file.bytes.size());
        const auto [mine, theirs] =
            std::mismatch(file.bytes.begin(), file.bytes.end(), bytes.begin());
        EXPECT_TRUE(mine == file.bytes.end())
            << "first difference at byte " << (mine - file.bytes.begin())
            << "; after changing the artwork run: cmake --build build/native --target "
               "regenerate_resources";
    }
}

TEST(CommittedResources, HaveTheirSizesAndColourDepths) {
    struct Case {
        const char* path;
        bool icon;
        int width, height, bits;
    };
    const Case cases[] = {
        {"outlook/res/btnmain.bmp", false, 16, 16, 24},
        {"outlook/res/btnmainmask.bmp", false, 16, 16, 24},
        {"outlook/res/logo.bmp", false, 150, 125, 24},
        {"outlook/res/logo_about.bmp", false, 95, 310, 24},
        {"outlook/res/main_icon32.ico", true, 32, 32, 8},
        {"outlook/res/main_icon.ico", true, 16, 16, 8},
        {"word/res/btn_main.bmp", false, 16, 16, 24},
        {"word/res/btn_main_mask.bmp", false, 16, 16, 24},
    };
    ASSERT_EQ(std::size(cases), resourceFiles().size());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const auto bytes = committed(c.path);
        ASSERT_GT(bytes.size(), 62u);
        if (c.icon) {
            EXPECT_EQ(u16At(bytes, 4), 1u);  // one image
            EXPECT_EQ(bytes[6], c.width);
            EXPECT_EQ(bytes[7], c.height);
            EXPECT_EQ(u16At(bytes, 12), static_cast<std::uint32_t>(c.bits));
        }
        const std::size_t info = c.icon ? u32At(bytes, 18) : 14;
        EXPECT_EQ(i32At(bytes, info + 4), c.width);
        EXPECT_EQ(i32At(bytes, info + 8), c.icon ? 2 * c.height : c.height);
        EXPECT_EQ(u16At(bytes, info + 14), static_cast<std::uint32_t>(c.bits));
        EXPECT_EQ(u32At(bytes, info + 16), 0u);  // uncompressed
    }
}

TEST(Artwork, TheMaskIsBlackExactlyWhereTheFaceIsDrawn) {
    const Image face = smallPicture();
    const Image picture = onBackground(face, kSilver);
    const Image mask = maskOf(face);
    int drawn = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool isDrawn = face.at(x, y).has_value();
            drawn += isDrawn;
            EXPECT_EQ(mask.at(x, y), isDrawn ? kBlack : kWhite) << x << "," << y;
            // The drawing never uses the button's own silver, so the mask is recoverable.
            EXPECT_EQ(*picture.at(x, y) == kSilver, !isDrawn) << x << "," << y;
        }
    }
    EXPECT_GT(drawn, 64);
    EXPECT_LT(drawn, 256);
}

}  // namespace
}  // namespace cq::resgen

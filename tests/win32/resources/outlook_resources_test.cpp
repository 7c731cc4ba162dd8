#include "tests/win32/resources/ResourceProbe.h"

#include "version.h"

#include <gtest/gtest.h>

namespace cq::win32 {
namespace {

TEST(OutlookResources, BitmapsHaveTheirSizesAtTwentyFourBits) {
    struct Case {
        const wchar_t* name;
        int width, height;
    };
    for (const Case c : {Case{L"BTNMAIN", 16, 16}, Case{L"BTNMAINMASK", 16, 16},
                         Case{L"LOGO", 150, 125}, Case{L"LOGO_ABOUT", 95, 310}}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        const auto shape = probe::bitmapShape(c.name);
        EXPECT_EQ(shape.width, c.width);
        EXPECT_EQ(shape.height, c.height);
        EXPECT_EQ(shape.bits, 24);
        EXPECT_EQ(probe::pictureType(c.name, false), PICTYPE_BITMAP);
    }
}

TEST(OutlookResources, TheMaskIsWhiteExactlyWhereTheFaceShowsSilver) {
    const auto result = probe::compareFaceAndMask(L"BTNMAIN", L"BTNMAINMASK");
    ASSERT_EQ(result.pixels, 256u);
    EXPECT_EQ(result.disagreeing, 0);
    EXPECT_GT(result.drawn, 64);   // a picture, not a blank
    EXPECT_LT(result.drawn, 256);  // with background around it
}

TEST(OutlookResources, IconGroupsHoldOneImageOf256Colours) {
    struct Case {
        const wchar_t* name;
        int size;
    };
    for (const Case c : {Case{L"MAIN_ICON32", 32}, Case{L"MAIN_ICON", 16}}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        const auto images = probe::iconGroup(c.name);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].entry.width, c.size);
        EXPECT_EQ(images[0].entry.height, c.size);
        EXPECT_EQ(images[0].entry.bits, 8);
        EXPECT_EQ(images[0].header.biWidth, c.size);
        EXPECT_EQ(images[0].header.biHeight, 2 * c.size);  // colours and mask
        EXPECT_EQ(images[0].header.biBitCount, 8);
        EXPECT_EQ(probe::loadedIconWidth(c.name), c.size);
        EXPECT_EQ(probe::pictureType(c.name, true), PICTYPE_ICON);
    }
}

TEST(OutlookResources, StringTable) {
    EXPECT_EQ(probe::string(601).rfind("https://", 0), 0u) << probe::string(601);
    EXPECT_EQ(probe::string(602), "Quintor");
    EXPECT_EQ(probe::string(603), "Inkwell");
    EXPECT_EQ(probe::string(604), "Inkwell");
}

TEST(OutlookResources, VersionOfTheProject) {
    const auto version = probe::moduleVersion();
    ASSERT_FALSE(version.data.empty());
    EXPECT_EQ(version.fileMs, DWORD{CQ_VERSION_MAJOR} << 16 | CQ_VERSION_MINOR);
    EXPECT_EQ(version.fileLs, DWORD{CQ_VERSION_BUILD} << 16 | CQ_VERSION_REVISION);
    EXPECT_EQ(version.productMs, version.fileMs);
    EXPECT_EQ(version.productLs, version.fileLs);
    EXPECT_EQ(version.fileType, DWORD{VFT_DLL});
    EXPECT_EQ(version.value("FileVersion"), CQ_VERSION_STRING);
    EXPECT_EQ(version.value("ProductVersion"), CQ_VERSION_STRING);
    EXPECT_EQ(version.value("CompanyName"), "Quintor");
    EXPECT_EQ(version.value("ProductName"), "Chronoquill");
    EXPECT_EQ(version.value("OriginalFilename"), "Chronoquill.dll");
    EXPECT_NE(version.value("FileDescription"), "");
}

}  // namespace
}  // namespace cq::win32

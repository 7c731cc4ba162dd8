#include "tests/win32/resources/ResourceProbe.h"

#include "version.h"

#include <gtest/gtest.h>

namespace cq::win32 {
namespace {

TEST(WordResources, FaceAndMaskAre16By16AtTwentyFourBits) {
    for (const wchar_t* name : {L"BTN_MAIN", L"BTN_MAIN_MASK"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        const auto shape = probe::bitmapShape(name);
        EXPECT_EQ(shape.width, 16);
        EXPECT_EQ(shape.height, 16);
        EXPECT_EQ(shape.bits, 24);
        EXPECT_EQ(probe::pictureType(name, false), PICTYPE_BITMAP);
    }
}

TEST(WordResources, TheMaskIsWhiteExactlyWhereTheFaceShowsSilver) {
    const auto result = probe::compareFaceAndMask(L"BTN_MAIN", L"BTN_MAIN_MASK");
    ASSERT_EQ(result.pixels, 256u);
    EXPECT_EQ(result.disagreeing, 0);
    EXPECT_GT(result.drawn, 64);
    EXPECT_LT(result.drawn, 256);
}

TEST(WordResources, VersionOfTheProject) {
    const auto version = probe::moduleVersion();
    ASSERT_FALSE(version.data.empty());
    EXPECT_EQ(version.fileMs, DWORD{CQ_VERSION_MAJOR} << 16 | CQ_VERSION_MINOR);
    EXPECT_EQ(version.fileLs, DWORD{CQ_VERSION_BUILD} << 16 | CQ_VERSION_REVISION);
    EXPECT_EQ(version.fileType, DWORD{VFT_DLL});
    EXPECT_EQ(version.value("FileVersion"), CQ_VERSION_STRING);
    EXPECT_EQ(version.value("CompanyName"), "Quintor");
    EXPECT_EQ(version.value("ProductName"), "Chronoquill");
    EXPECT_EQ(version.value("OriginalFilename"), "Chronoquill4W.dll");
}

}  // namespace
}  // namespace cq::win32

// Picture objects from a module's own bitmap and icon resources. This program
// carries the Outlook add-in's resources (bitmaps and icon groups).

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>

#include "common/HostError.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ComPtr.h"
#include "common/win32/Win32Pictures.h"

namespace cq::win32 {
namespace {

struct Shape {
    SHORT type = PICTYPE_UNINITIALIZED;
    int width = 0, height = 0, bits = 0;
};

// What the picture object behind `picture` holds.
Shape shapeOf(const Dispatch& picture) {
    auto* com = dynamic_cast<ComDispatch*>(picture.get());
    if (com == nullptr) return {};
    ComPtr<IPicture> pic;
    if (FAILED(com->get()->QueryInterface(IID_IPicture, pic.putVoid()))) return {};
    Shape shape;
    OLE_HANDLE handle = 0;
    if (FAILED(pic->get_Type(&shape.type)) || FAILED(pic->get_Handle(&handle))) return {};
    if (shape.type == PICTYPE_BITMAP) {
        BITMAP bm{};
        GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bm, &bm);
        shape.width = bm.bmWidth;
        shape.height = bm.bmHeight;
        shape.bits = bm.bmBitsPixel;
    } else if (shape.type == PICTYPE_ICON) {
        ICONINFO info{};
        if (GetIconInfo(reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)), &info)) {
            BITMAP bm{};
            GetObjectW(info.hbmMask, sizeof bm, &bm);
            shape.width = bm.bmWidth;
            shape.height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
            DeleteObject(info.hbmMask);
            if (info.hbmColor) DeleteObject(info.hbmColor);
        }
    }
    return shape;
}

class Win32PicturesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override {
        EXPECT_EQ(ComDispatch::live(), 0);
        CoUninitialize();
    }
    Win32Pictures own{GetModuleHandleW(nullptr)};
};

TEST_F(Win32PicturesTest, ResourcesBecomePictureObjectsOfTheirSize) {
    struct Case {
        bool icon;
        const char* name;
        SHORT type;
        int width, height, bits;
    };
    const Case cases[] = {
        {false, "BTNMAIN", PICTYPE_BITMAP, 16, 16, 24},
        {false, "BTNMAINMASK", PICTYPE_BITMAP, 16, 16, 24},
        {false, "LOGO", PICTYPE_BITMAP, 150, 125, 24},
        {true, "MAIN_ICON32", PICTYPE_ICON, 32, 32, 0},
        {true, "MAIN_ICON", PICTYPE_ICON, 16, 16, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Shape shape = shapeOf(c.icon ? own.icon(c.name) : own.bitmap(c.name));
        EXPECT_EQ(shape.type, c.type);
        EXPECT_EQ(shape.width, c.width);
        EXPECT_EQ(shape.height, c.height);
        if (!c.icon) {
            EXPECT_EQ(shape.bits, c.bits);  // a DIB section keeps the file's depth
        }
    }
}

TEST_F(Win32PicturesTest, WhatTheModuleDoesNotHoldIsAHostError) {
    Win32Pictures other(GetModuleHandleW(L"kernel32.dll"));
    struct Case {
        Pictures* pictures;
        bool icon;
        const char* name;
    };
    const Case cases[] = {
        {&own, false, "NO_SUCH_BITMAP"}, {&own, true, "NO_SUCH_ICON"},
        {&own, false, "MAIN_ICON32"},  // an icon is no bitmap
        {&own, true, "BTNMAIN"},       // nor a bitmap an icon
        {&other, false, "BTNMAIN"},    // another module's resources are not ours
        {&other, true, "MAIN_ICON32"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(c.icon ? c.pictures->icon(c.name) : c.pictures->bitmap(c.name), HostError);
    }
}

}  // namespace
}  // namespace cq::win32

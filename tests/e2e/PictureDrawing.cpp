#include "tests/e2e/PictureDrawing.h"

#include <olectl.h>

#include <vector>

#include "common/win32/ComDispatch.h"
#include "common/win32/ComPtr.h"
#include "common/win32/Text.h"

namespace cq::test::e2e {
namespace {

win32::ComPtr<IPicture> pictureOf(const Dispatch& object) {
    win32::ComPtr<IPicture> picture;
    auto* com = dynamic_cast<win32::ComDispatch*>(object.get());
    if (com == nullptr || com->get() == nullptr) return picture;
    com->get()->QueryInterface(IID_IPicture, picture.putVoid());
    return picture;
}

// The pixels of a bitmap as 32-bit BGRX rows, top row first.
bool readPixels(HBITMAP bitmap, int& width, int& height, std::vector<DWORD>& pixels) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0)
        return false;
    width = info.bmWidth;
    height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    HDC screen = GetDC(nullptr);
    const int rows =
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == height;
}

HBITMAP bitmapOf(IPicture& picture) {
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(picture.get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture.get_Handle(&handle)))
        return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

bool drawBitmap(HDC dc, const RECT& box, HBITMAP bitmap, HBITMAP mask) {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    if (!readPixels(bitmap, width, height, pixels)) return false;
    int maskWidth = 0, maskHeight = 0;
    std::vector<DWORD> maskPixels;
    const bool masked = mask && readPixels(mask, maskWidth, maskHeight, maskPixels) &&
                        maskWidth == width && maskHeight == height;
    const int boxWidth = box.right - box.left;
    const int boxHeight = box.bottom - box.top;
    for (int y = 0; y < boxHeight; ++y) {
        const int sy = y * height / boxHeight;
        for (int x = 0; x < boxWidth; ++x) {
            const int sx = x * width / boxWidth;
            const std::size_t at = static_cast<std::size_t>(sy * width + sx);
            if (masked && (maskPixels[at] & 0x00FFFFFF) > 0x00808080) continue;  // see-through
            const DWORD p = pixels[at];
            SetPixelV(dc, box.left + x, box.top + y,
                      RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
    }
    return true;
}

HFONT stripFont(bool bold) {
    static HFONT normal = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    static HFONT heavy =
        CreateFontW(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    return bold ? heavy : normal;
}

}  // namespace

bool drawPicture(HDC dc, const RECT& box, const Dispatch& picture, const Dispatch& mask) {
    win32::ComPtr<IPicture> pic = pictureOf(picture);
    if (!pic) return false;
    SHORT type = PICTYPE_UNINITIALIZED;
    if (FAILED(pic->get_Type(&type))) return false;
    if (type == PICTYPE_ICON) {
        OLE_HANDLE handle = 0;
        if (FAILED(pic->get_Handle(&handle))) return false;
        return DrawIconEx(dc, box.left, box.top,
                          reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)),
                          box.right - box.left, box.bottom - box.top, 0, nullptr, DI_NORMAL) != 0;
    }
    if (type != PICTYPE_BITMAP) return false;
    HBITMAP maskBitmap = nullptr;
    if (win32::ComPtr<IPicture> m = pictureOf(mask)) maskBitmap = bitmapOf(*m.get());
    return drawBitmap(dc, box, bitmapOf(*pic.get()), maskBitmap);
}

std::string pictureSize(const Dispatch& picture) {
    win32::ComPtr<IPicture> pic = pictureOf(picture);
    if (!pic) return "none";
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(pic->get_Type(&type)) || FAILED(pic->get_Handle(&handle))) return "none";
    if (type == PICTYPE_BITMAP) {
        BITMAP info{};
        if (!GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof(info),
                        &info))
            return "none";
        return std::to_string(info.bmWidth) + "x" +
               std::to_string(info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
    }
    if (type == PICTYPE_ICON) {
        ICONINFO icon{};
        if (!GetIconInfo(reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)), &icon))
            return "none";
        BITMAP info{};
        GetObjectW(icon.hbmColor ? icon.hbmColor : icon.hbmMask, sizeof(info), &info);
        const int height = icon.hbmColor ? info.bmHeight : info.bmHeight / 2;
        if (icon.hbmColor) DeleteObject(icon.hbmColor);
        if (icon.hbmMask) DeleteObject(icon.hbmMask);
        return "icon " + std::to_string(info.bmWidth) + "x" + std::to_string(height);
    }
    return "none";
}

void drawFaceIdPlaceholder(HDC dc, const RECT& box, int faceId) {
    HBRUSH fill = CreateSolidBrush(RGB(255, 255, 225));
    FillRect(dc, &box, fill);
    DeleteObject(fill);
    FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    HFONT small = CreateFontW(-8, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                              DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    HGDIOBJ old = SelectObject(dc, small);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 128));
    RECT r = box;
    std::wstring text = std::to_wstring(faceId);
    DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(small);
}

int drawText(HDC dc, int x, int y, const std::string& text, COLORREF colour, bool bold) {
    HGDIOBJ old = SelectObject(dc, stripFont(bold));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    std::wstring wide = win32::toWide(text);
    TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    return size.cx;
}

int textWidth(HDC dc, const std::string& text, bool bold) {
    HGDIOBJ old = SelectObject(dc, stripFont(bold));
    std::wstring wide = win32::toWide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    return size.cx;
}

}  // namespace cq::test::e2e

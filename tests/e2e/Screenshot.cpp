#include "tests/e2e/Screenshot.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "common/HostError.h"
#include "common/win32/Text.h"
#include "tests/e2e/BarPainter.h"

namespace cq::test::e2e {
namespace {

void pumpPaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
    GdiFlush();
}

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};

}  // namespace

void saveWindowBitmap(HWND window, const std::string& path, const std::string& caption) {
    if (!IsWindow(window)) throw HostError(1400, "no such window");
    pumpPaint(window);
    RECT r;
    GetClientRect(window, &r);
    const int width = r.right - r.left;
    const int band = caption.empty() ? 0 : 24;
    const int height = r.bottom - r.top + band;
    if (width <= 0 || height <= 0) throw HostError(5, "the window has no size");

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> memory(CreateCompatibleDC(screen));
    if (!bitmap || !memory) {
        ReleaseDC(window, screen);
        if (bitmap) DeleteObject(bitmap);
        throw HostError(8, "no memory for the picture");
    }
    HGDIOBJ old = SelectObject(memory.get(), bitmap);
    // What the screen shows of the window's client area, child windows included.
    // (The frame is left out: without a window manager nobody draws it.)
    BitBlt(memory.get(), 0, band, width, height - band, screen, 0, 0, SRCCOPY);
    if (band != 0) {
        RECT title = {0, 0, width, band};
        paintTitle(memory.get(), title, caption);
    }
    GdiFlush();
    SelectObject(memory.get(), old);
    ReleaseDC(window, screen);

    const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;

    HANDLE out = CreateFileW(win32::toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        DeleteObject(bitmap);
        throw HostError(static_cast<std::int32_t>(GetLastError()), "cannot write " + path);
    }
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
              WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
              WriteFile(out, bits, imageSize, &written, nullptr);
    CloseHandle(out);
    DeleteObject(bitmap);
    if (!ok) throw HostError(static_cast<std::int32_t>(GetLastError()), "cannot write " + path);
}

}  // namespace cq::test::e2e

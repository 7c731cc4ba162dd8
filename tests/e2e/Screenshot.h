#pragma once
// A window as the user sees it, saved as a 24-bit BMP file.

#include <windows.h>

#include <string>

namespace cq::test::e2e {

// Copies the window's client area from the screen after letting it paint;
// throws cq::HostError when the picture cannot be taken or written. With a
// `caption`, a title bar showing it is drawn above (for windows whose frame
// is not on the screen, as without a window manager).
void saveWindowBitmap(HWND window, const std::string& path, const std::string& caption = {});

}  // namespace cq::test::e2e

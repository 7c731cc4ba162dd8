#pragma once
// A window as the user sees it, saved as a 24-bit BMP file.

#include <windows.h>

#include <string>

namespace cq::test::e2e {

// Copies the window's client area from the screen after letting it paint;
// throws cq::HostError when the picture cannot be taken or written.
void saveWindowBitmap(HWND window, const std::string& path);

}  // namespace cq::test::e2e

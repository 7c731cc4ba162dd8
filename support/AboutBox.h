#pragma once
// The About window: a modal dialog owned by the explorer window, with the
// LOGO_ABOUT bitmap down its left side, and beside it the product name and
// version, the maker, the short name and the web address as text that can be
// selected and copied, and an OK button. Enter and Escape close it.

#include <windows.h>

#include "support/ModuleAbout.h"

namespace cq::libquintor {

// Shows the window and returns once it is closed. Parts left empty in
// `content` are left out. Throws HostError when the window cannot be created.
void showAboutBox(HWND owner, const AboutContent& content);

}  // namespace cq::libquintor

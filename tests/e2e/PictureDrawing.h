#pragma once
// Drawing OLE pictures (IPictureDisp, as add-ins hand them to Office) the way
// Office shows them: a bitmap through its mask (white in the mask lets the
// background show through), an icon with its own transparency, and, for a
// button that has only a built-in face number, a placeholder naming it.

#include <windows.h>

#include <string>

#include "common/host/Dispatch.h"

namespace cq::test::e2e {

// Draws `picture` (through `mask` when given) scaled into `box`. False when
// `picture` is not a picture object this process can draw.
bool drawPicture(HDC dc, const RECT& box, const Dispatch& picture, const Dispatch& mask);

// The size of `picture` in pixels, as "WxH", or "none".
std::string pictureSize(const Dispatch& picture);

// A framed box with the face number in it.
void drawFaceIdPlaceholder(HDC dc, const RECT& box, int faceId);

// Text in the strip's font; `bold` for titles. Returns the width drawn.
int drawText(HDC dc, int x, int y, const std::string& text, COLORREF colour, bool bold = false);
int textWidth(HDC dc, const std::string& text, bool bold = false);

}  // namespace cq::test::e2e

#include "tests/e2e/BarPainter.h"

#include <vector>

#include "common/host/CommandBars.h"
#include "tests/e2e/PictureDrawing.h"

namespace cq::test::e2e {
namespace {

constexpr int kTitleHeight = 24;
constexpr int kMenuHeight = 22;
constexpr int kToolbarHeight = 30;
constexpr int kItemHeight = 22;
constexpr int kFace = 16;
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kHighlight = RGB(182, 189, 210);
constexpr COLORREF kMenuFace = RGB(252, 252, 249);

std::string text(const FakeCommandBars& bars, const FakeObject& c, const char* name) {
    Variant v = bars.property(c, name);
    return v.isString() ? v.toString() : std::string();
}

int number(const FakeCommandBars& bars, const FakeObject& c, const char* name) {
    Variant v = bars.property(c, name);
    return v.isNumber() ? v.toInt() : 0;
}

bool visible(const FakeCommandBars& bars, const FakeObject& c) {
    Variant v = bars.property(c, "Visible");
    return !v.isBool() || v.toBool();
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// The face of a control into `box`: its picture, else its face number.
bool paintFace(HDC dc, const RECT& box, const FakeCommandBars& bars, const ButtonFaces& faces,
               const FakeObject& control) {
    if (const ButtonFaces::Face* face = faces.find(control))
        if (face->picture && drawPicture(dc, box, face->picture, face->mask)) return true;
    const int faceId = number(bars, control, "FaceId");
    if (faceId == 0) return false;
    drawFaceIdPlaceholder(dc, box, faceId);
    return true;
}

FakeObject* openPopup(const FakeCommandBars& bars, const BarView& view, int* x, HDC dc) {
    FakeObject* menuBar = bars.bar("Menu Bar");
    if (!menuBar || view.openMenu.empty()) return nullptr;
    int at = 6;
    for (FakeObject* c : bars.controls(*menuBar)) {
        if (!visible(bars, *c)) continue;
        const std::string caption = plainCaption(text(bars, *c, "Caption"));
        if (caption == view.openMenu && number(bars, *c, "Type") == msoControlPopup) {
            if (x) *x = at;
            return &bars.popupBar(*c);
        }
        if (dc) at += textWidth(dc, caption) + 16;
    }
    return nullptr;
}

int visibleItems(const FakeCommandBars& bars, FakeObject& popup) {
    int n = 0;
    for (FakeObject* c : bars.controls(popup))
        if (visible(bars, *c)) ++n;
    return n;
}

void paintTooltip(HDC dc, int x, int y, const std::string& tip) {
    if (tip.empty()) return;
    const int width = textWidth(dc, tip) + 10;
    RECT box = {x, y, x + width, y + 20};
    fill(dc, box, RGB(255, 255, 225));
    FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    drawText(dc, x + 5, y + 3, tip, kText);
}

}  // namespace

std::string plainCaption(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') out += caption[++i];
            continue;
        }
        out += caption[i];
    }
    return out;
}

bool controlNamed(const FakeCommandBars& bars, const FakeObject& control, const std::string& name) {
    return text(bars, control, "Tag") == name || text(bars, control, "TooltipText") == name ||
           (!text(bars, control, "Caption").empty() &&
            plainCaption(text(bars, control, "Caption")) == plainCaption(name));
}

int paintTitle(HDC dc, const RECT& area, const std::string& title) {
    RECT band = {area.left, area.top, area.right, area.top + kTitleHeight};
    TRIVERTEX v[2] = {{band.left, band.top, 0x0A00, 0x2400, 0x6A00, 0},
                      {band.right, band.bottom, 0xA600, 0xCA00, 0xF000, 0}};
    GRADIENT_RECT g = {0, 1};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
    drawText(dc, band.left + 8, band.top + 5, title, RGB(255, 255, 255), true);
    return kTitleHeight;
}

int commandBarsHeight(const FakeCommandBars& bars, const BarView& view) {
    int height = kTitleHeight + kMenuHeight + kToolbarHeight;
    if (FakeObject* popup = openPopup(bars, view, nullptr, nullptr))
        height += visibleItems(bars, *popup) * kItemHeight + 8;
    return height;
}

int paintCommandBars(HDC dc, const RECT& area, const FakeCommandBars& bars,
                     const ButtonFaces& faces, const BarView& view) {
    int y = area.top + paintTitle(dc, area, view.title);

    // The menu bar.
    int popupX = -1;
    FakeObject* popup = openPopup(bars, view, &popupX, dc);
    if (FakeObject* menuBar = bars.bar("Menu Bar")) {
        int x = area.left + 6;
        for (FakeObject* c : bars.controls(*menuBar)) {
            if (!visible(bars, *c)) continue;
            const std::string caption = plainCaption(text(bars, *c, "Caption"));
            const int width = textWidth(dc, caption) + 16;
            if (popup && x == popupX) {
                RECT r = {x - 2, y + 1, x + width - 6, y + kMenuHeight - 1};
                fill(dc, r, kMenuFace);
                FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            }
            drawText(dc, x + 4, y + 4, caption, kText);
            x += width;
        }
    }
    y += kMenuHeight;
    line(dc, area.left, y, area.right, y, GetSysColor(COLOR_BTNSHADOW));

    // The Standard toolbar.
    std::string tip;
    int tipX = 0;
    if (FakeObject* standard = bars.bar("Standard")) {
        int x = area.left + 6;
        for (FakeObject* c : bars.controls(*standard)) {
            if (!visible(bars, *c)) continue;
            if (number(bars, *c, "BeginGroup") != 0 || bars.property(*c, "BeginGroup").toBool()) {
                line(dc, x + 1, y + 5, x + 1, y + kToolbarHeight - 5, GetSysColor(COLOR_BTNSHADOW));
                x += 6;
            }
            const int style = number(bars, *c, "Style");
            const std::string caption = plainCaption(text(bars, *c, "Caption"));
            const bool hovered = !view.hover.empty() && controlNamed(bars, *c, view.hover);
            int width = 6;
            RECT face = {x + 3, y + 7, x + 3 + kFace, y + 7 + kFace};
            bool drewFace = false;
            if (style != msoButtonCaption) drewFace = paintFace(dc, face, bars, faces, *c);
            if (drewFace) width += kFace + 2;
            const bool showCaption =
                style == msoButtonCaption || style == msoButtonIconAndCaption || !drewFace;
            if (showCaption && !caption.empty())
                width += drawText(dc, x + width - 2, y + 8, caption, kText) + 4;
            if (hovered) {
                RECT r = {x, y + 3, x + width, y + kToolbarHeight - 3};
                FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
                tip = text(bars, *c, "TooltipText");
                if (tip.empty()) tip = caption;
                tipX = x + 8;
            }
            x += width + 2;
        }
    }
    y += kToolbarHeight;

    // The open menu, below its caption.
    if (popup) {
        const int width = 220;
        // Shown below the toolbar, so that the toolbar stays in sight.
        RECT menu = {popupX - 2, y + 1, popupX - 2 + width,
                     y + 1 + visibleItems(bars, *popup) * kItemHeight + 6};
        fill(dc, menu, kMenuFace);
        FrameRect(dc, &menu, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        RECT gutter = {menu.left + 1, menu.top + 1, menu.left + 26, menu.bottom - 1};
        fill(dc, gutter, RGB(227, 226, 216));
        int iy = menu.top + 3;
        for (FakeObject* c : bars.controls(*popup)) {
            if (!visible(bars, *c)) continue;
            if (bars.property(*c, "BeginGroup").toBool())
                line(dc, menu.left + 30, iy, menu.right - 4, iy, GetSysColor(COLOR_BTNSHADOW));
            const bool hovered = !view.hover.empty() && controlNamed(bars, *c, view.hover);
            if (hovered) {
                RECT r = {menu.left + 2, iy + 1, menu.right - 2, iy + kItemHeight - 1};
                fill(dc, r, kHighlight);
            }
            RECT face = {menu.left + 5, iy + 3, menu.left + 5 + kFace, iy + 3 + kFace};
            if (number(bars, *c, "Style") != msoButtonCaption) paintFace(dc, face, bars, faces, *c);
            drawText(dc, menu.left + 32, iy + 4, plainCaption(text(bars, *c, "Caption")), kText);
            iy += kItemHeight;
        }
    }
    if (!tip.empty()) paintTooltip(dc, tipX, y - 4, tip);
    return commandBarsHeight(bars, view);
}

}  // namespace cq::test::e2e

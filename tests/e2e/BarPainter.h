#pragma once
// Paints a window's command bars as Office 2000-2003 shows them: the title,
// the "Menu Bar" with its menus, the "Standard" toolbar with the buttons'
// faces (the add-ins' pictures through their masks, or a placeholder for a
// built-in face number) and captions, one menu opened below its caption, and
// the tooltip of the button the mouse is on.

#include <windows.h>

#include <string>

#include "tests/doubles/FakeCommandBars.h"
#include "tests/e2e/ButtonFaces.h"

namespace cq::test::e2e {

struct BarView {
    std::string title;
    std::string openMenu = "Insert";  // caption of the menu shown open ("" none)
    std::string hover;                // tag, caption or tooltip of the pointed-at control
};

// Paints from the top of `area`; returns the height painted.
int paintCommandBars(HDC dc, const RECT& area, const FakeCommandBars& bars,
                     const ButtonFaces& faces, const BarView& view);

// The height paintCommandBars needs.
int commandBarsHeight(const FakeCommandBars& bars, const BarView& view);

// The title band every scripted window has; returns its height.
int paintTitle(HDC dc, const RECT& area, const std::string& title);

// A caption without its accelerator marks ("&Insert" gives "Insert").
std::string plainCaption(const std::string& caption);

// Whether `control` answers to `name` by its Tag, Caption (accelerators
// ignored) or TooltipText.
bool controlNamed(const FakeCommandBars& bars, const FakeObject& control, const std::string& name);

}  // namespace cq::test::e2e

#pragma once
// The command-bar controls of a window as text, one line each, for the tests
// to read:
//   control Standard#3 type=1 id=1 tag="" caption="" tooltip="Insert date and time"
//           visible=1 style=1 begin-group=1 face=picture:16x16,mask:16x16 temporary=1
// (on one line). Controls in a menu have the menu's caption in their path
// ("Menu Bar/Insert#2"). Deleted controls are listed as "deleted-control".

#include <string>

#include "tests/doubles/FakeCommandBars.h"
#include "tests/e2e/ButtonFaces.h"

namespace cq::test::e2e {

void printControls(const FakeCommandBars& bars, const ButtonFaces& faces);
void printDeletedControls(const FakeCommandBars& bars);

// The face of a control as the listing gives it.
std::string describeFace(const FakeCommandBars& bars, const ButtonFaces& faces,
                         const FakeObject& control);

// The visible control named `name` (tag, caption or tooltip) on the toolbars
// (every shown bar but the menu bar), or null.
FakeObject* findButton(const FakeCommandBars& bars, const std::string& name);
// The visible control named `name` in the menu with caption `menu`, or null.
FakeObject* findMenuItem(const FakeCommandBars& bars, const std::string& menu,
                         const std::string& name);

}  // namespace cq::test::e2e

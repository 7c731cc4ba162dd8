#include "tests/e2e/ControlListing.h"

#include "common/host/CommandBars.h"
#include "tests/e2e/BarPainter.h"
#include "tests/e2e/HostOutput.h"
#include "tests/e2e/HostScript.h"
#include "tests/e2e/PictureDrawing.h"

namespace cq::test::e2e {
namespace {

std::string text(const FakeCommandBars& bars, const FakeObject& c, const char* name) {
    Variant v = bars.property(c, name);
    return v.isString() ? v.toString() : std::string();
}

int number(const FakeCommandBars& bars, const FakeObject& c, const char* name) {
    Variant v = bars.property(c, name);
    return v.isNumber() ? v.toInt() : 0;
}

bool flag(const FakeCommandBars& bars, const FakeObject& c, const char* name) {
    Variant v = bars.property(c, name);
    return v.isBool() ? v.toBool() : v.isNumber() && v.toInt() != 0;
}

std::string describe(const FakeCommandBars& bars, const ButtonFaces* faces, const FakeObject& c) {
    std::string line = "type=" + std::to_string(number(bars, c, "Type")) +
                       " id=" + std::to_string(number(bars, c, "Id")) +
                       " tag=" + quoted(text(bars, c, "Tag")) +
                       " caption=" + quoted(text(bars, c, "Caption")) +
                       " tooltip=" + quoted(text(bars, c, "TooltipText")) +
                       " visible=" + (flag(bars, c, "Visible") ? "1" : "0") +
                       " style=" + std::to_string(number(bars, c, "Style")) +
                       " begin-group=" + (flag(bars, c, "BeginGroup") ? "1" : "0");
    if (faces) line += " face=" + describeFace(bars, *faces, c);
    line += std::string(" temporary=") + (bars.isTemporary(c) ? "1" : "0");
    return line;
}

void listBar(const FakeCommandBars& bars, const ButtonFaces& faces, FakeObject& bar,
             const std::string& path) {
    int index = 0;
    for (FakeObject* c : bars.controls(bar)) {
        ++index;
        say("control " + path + "#" + std::to_string(index) + " " + describe(bars, &faces, *c));
        if (number(bars, *c, "Type") == msoControlPopup)
            listBar(bars, faces, bars.popupBar(*c),
                    path + "/" + plainCaption(text(bars, *c, "Caption")));
    }
}

bool usable(const FakeCommandBars& bars, const FakeObject& c) {
    Variant v = bars.property(c, "Visible");
    return !bars.isDeleted(c) && (!v.isBool() || v.toBool());
}

}  // namespace

std::string describeFace(const FakeCommandBars& bars, const ButtonFaces& faces,
                         const FakeObject& control) {
    std::string out;
    if (const ButtonFaces::Face* face = faces.find(control)) {
        if (face->picture) out = "picture:" + pictureSize(face->picture);
        if (face->mask)
            out += std::string(out.empty() ? "" : ",") + "mask:" + pictureSize(face->mask);
    }
    if (out.empty()) {
        const int faceId = number(bars, control, "FaceId");
        out = faceId != 0 ? "faceid:" + std::to_string(faceId) : "none";
    }
    return out;
}

void printControls(const FakeCommandBars& bars, const ButtonFaces& faces) {
    for (const char* name : kShownBars)
        if (FakeObject* bar = bars.bar(name)) listBar(bars, faces, *bar, name);
}

void printDeletedControls(const FakeCommandBars& bars) {
    for (FakeObject* c : bars.deleted()) say("deleted-control " + describe(bars, nullptr, *c));
    say("deleted-controls: " + std::to_string(bars.deleted().size()));
}

FakeObject* findButton(const FakeCommandBars& bars, const std::string& name) {
    for (const char* barName : kShownBars) {
        if (std::string(barName) == "Menu Bar") continue;
        if (FakeObject* bar = bars.bar(barName))
            for (FakeObject* c : bars.controls(*bar))
                if (usable(bars, *c) && controlNamed(bars, *c, name)) return c;
    }
    return nullptr;
}

FakeObject* findMenuItem(const FakeCommandBars& bars, const std::string& menu,
                         const std::string& name) {
    FakeObject* menuBar = bars.bar("Menu Bar");
    if (!menuBar) return nullptr;
    for (FakeObject* popup : bars.controls(*menuBar)) {
        if (number(bars, *popup, "Type") != msoControlPopup ||
            plainCaption(text(bars, *popup, "Caption")) != plainCaption(menu))
            continue;
        for (FakeObject* c : bars.controls(bars.popupBar(*popup)))
            if (usable(bars, *c) && controlNamed(bars, *c, name)) return c;
    }
    return nullptr;
}

}  // namespace cq::test::e2e

#include "tests/e2e/ButtonFaces.h"

#include <algorithm>

#include "common/host/CommandBars.h"

namespace cq::test::e2e {

ButtonFaces::ButtonFaces(FakeCommandBars& bars, bool picturesSupported,
                         std::function<void()> changed)
    : bars_(bars),
      picturesSupported_(picturesSupported),
      changed_(std::move(changed)),
      previous_(bars.onChange) {
    bars_.onChange = [this] {
        if (previous_) previous_();
        track();
        if (changed_) changed_();
    };
    track();
}

ButtonFaces::~ButtonFaces() {
    bars_.onChange = previous_;
    for (auto& [control, hooked] : hooked_) {
        if (bars_.isDeleted(*control)) continue;
        FakeObject* c = control;
        for (const char* name : {"Picture", "Mask"})
            c->setter(name, [c, name](const Variant&) { c->setObject(name, nullptr); });
    }
    clear();
}

const ButtonFaces::Face* ButtonFaces::find(const FakeObject& control) const {
    auto it = faces_.find(&control);
    return it == faces_.end() ? nullptr : &it->second;
}

void ButtonFaces::clear() { faces_.clear(); }

void ButtonFaces::forEachControl(const FakeCommandBars& bars, FakeObject& bar,
                                 const std::function<void(FakeObject&, int)>& visit, int depth) {
    for (FakeObject* control : bars.controls(bar)) {
        visit(*control, depth);
        if (bars.property(*control, "Type").toInt() == msoControlPopup)
            forEachControl(bars, bars.popupBar(*control), visit, depth + 1);
    }
}

void ButtonFaces::track() {
    for (FakeObject* gone : bars_.deleted()) faces_.erase(gone);
    if (!picturesSupported_) return;
    for (const char* name : kShownBars) {
        if (FakeObject* bar = bars_.bar(name))
            forEachControl(bars_, *bar, [this](FakeObject& control, int) {
                if (!hooked_.count(&control)) hook(control);
            });
    }
}

void ButtonFaces::hook(FakeObject& control) {
    hooked_[&control] = true;
    FakeObject* c = &control;
    auto keep = [this, c](const char* name, Dispatch Face::*slot) {
        c->setter(name, [this, c, name, slot](const Variant& value) {
            Dispatch picture = value.toObject();
            c->setObject(name, nullptr);
            faces_[c].*slot = std::move(picture);
            if (bars_.onChange) bars_.onChange();
        });
    };
    keep("Picture", &Face::picture);
    keep("Mask", &Face::mask);
}

}  // namespace cq::test::e2e

#include "tests/doubles/FakeCommandBars.h"

#include <algorithm>
#include <cctype>

#include "common/HostError.h"
#include "common/host/CommandBars.h"

namespace cq::test {
namespace {

constexpr std::int32_t kInvalidCall = 5;
constexpr std::int32_t kNoSuchMember = 438;
constexpr std::int32_t kFailed = -2147467259;  // E_FAIL

bool given(std::span<Variant> args, std::size_t i) {
    return i < args.size() && !args[i].isMissing() && !args[i].isEmpty();
}

bool sameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The properties every control has, and every member (for a deleted control).
constexpr const char* kProperties[] = {"Caption",    "TooltipText", "Tag",       "Visible", "Style",
                                       "BeginGroup", "FaceId",      "Parameter", "OnAction"};
constexpr const char* kMembers[] = {
    "Caption",  "TooltipText", "Tag", "Visible", "Style", "BeginGroup", "FaceId",   "Parameter",
    "OnAction", "Type",        "Id",  "Picture", "Mask",  "Delete",     "Controls", "CommandBar"};

[[noreturn]] void noSuchMember() {
    throw HostError(kNoSuchMember, "Object doesn't support this property or method");
}

[[noreturn]] void controlGone() { throw HostError(kFailed, "The control has been deleted"); }

Variant defaultOf(std::string_view name) {
    if (name == "Visible") return true;
    if (name == "BeginGroup") return false;
    if (name == "Style" || name == "FaceId") return 0;
    return "";
}

const char* typeName(std::int32_t type) {
    if (type == msoControlButton) return "CommandBarButton";
    if (type == msoControlPopup) return "CommandBarPopup";
    return "CommandBarControl";
}

}  // namespace

FakeCommandBars::FakeCommandBars(FakeOffice& office, bool picturesSupported)
    : office_(office), picturesSupported_(picturesSupported), bars_(&office.make("CommandBars")) {
    bars_->getter("Item", [this](std::span<Variant> args) -> Variant {
        if (!given(args, 0)) throw HostError(449, "Argument not optional");
        if (args[0].isString()) {
            for (Bar* b : topBars_)
                if (sameText(b->name, args[0].toString())) return Variant(b->object->handle());
        } else {
            std::int32_t i = args[0].toInt();
            if (i >= 1 && i <= static_cast<std::int32_t>(topBars_.size()))
                return Variant(topBars_[static_cast<std::size_t>(i - 1)]->object->handle());
        }
        throw HostError(kInvalidCall, "Invalid procedure call or argument");
    });
    bars_->getter("Count", [this](std::span<Variant>) {
        return Variant(static_cast<std::int32_t>(topBars_.size()));
    });
    bars_->readOnly("Count");
    bars_->getter("FindControl", [this](std::span<Variant> args) -> Variant {
        for (Bar* b : topBars_)
            if (Dispatch d = find(*b, args, true)) return Variant(d);
        return Variant();
    });
}

FakeCommandBars::Bar& FakeCommandBars::makeBar(const std::string& name) {
    auto bar = std::make_unique<Bar>();
    Bar& b = *bar;
    b.name = name;
    b.object = &office_.make("CommandBar(" + name + ")");
    b.controls = &office_.make("CommandBarControls(" + name + ")");
    allBars_.push_back(std::move(bar));
    barOf_[b.object] = &b;

    b.object->set("Name", name).readOnly("Name").set("Visible", true);
    b.object->getter("Controls",
                     [&b](std::span<Variant>) { return Variant(b.controls->handle()); });
    b.object->readOnly("Controls");
    b.object->getter("FindControl", [this, &b](std::span<Variant> args) -> Variant {
        bool recursive = given(args, 4) && args[4].toBool();
        return Variant(find(b, args, recursive));
    });

    b.controls->getter("Count", [&b](std::span<Variant>) {
        return Variant(static_cast<std::int32_t>(b.items.size()));
    });
    b.controls->readOnly("Count");
    b.controls->getter("Item", [&b](std::span<Variant> args) -> Variant {
        std::int32_t i = given(args, 0) ? args[0].toInt() : 0;
        if (i < 1 || i > static_cast<std::int32_t>(b.items.size()))
            throw HostError(kInvalidCall, "Invalid procedure call or argument");
        return Variant(b.items[static_cast<std::size_t>(i - 1)]->handle());
    });
    b.controls->getter("Add", [this, &b](std::span<Variant> args) -> Variant {
        std::int32_t type = given(args, 0) ? args[0].toInt() : msoControlButton;
        std::int32_t id = given(args, 1) ? args[1].toInt() : 1;
        std::size_t at = b.items.size();
        if (given(args, 3)) {
            std::int32_t before = args[3].toInt();
            if (before < 1 || before > static_cast<std::int32_t>(b.items.size()) + 1)
                throw HostError(kInvalidCall, "Invalid procedure call or argument");
            at = static_cast<std::size_t>(before - 1);
        }
        Control& c = makeControl(b, type, id, at, "", true);
        c.temporary = given(args, 4) && args[4].toBool();
        if (given(args, 2)) c.object->set("Parameter", args[2].target());
        changed();
        return Variant(c.object->handle());
    });
    return b;
}

FakeCommandBars::Control& FakeCommandBars::makeControl(Bar& parent, std::int32_t type,
                                                       std::int32_t id, std::size_t at,
                                                       const std::string& caption, bool added) {
    auto control = std::make_unique<Control>();
    Control& c = *control;
    c.object = &office_.make(typeName(type));
    c.parent = &parent;
    c.type = type;
    c.id = id;
    controls_.push_back(std::move(control));
    controlOf_[c.object] = &c;
    parent.items.insert(parent.items.begin() + static_cast<std::ptrdiff_t>(at), c.object);

    // The properties are stored in the object itself; controls that an add-in
    // made also report every change.
    FakeObject& o = *c.object;
    o.set("Type", type).set("Id", id).readOnly("Type").readOnly("Id");
    for (const char* name : kProperties) {
        o.set(name, std::string_view(name) == "Caption" ? Variant(caption) : defaultOf(name));
        if (added)
            o.setter(name, [this, &o, name](const Variant& v) {
                o.set(name, v);
                changed();
            });
    }
    for (const char* name : {"Picture", "Mask"}) {
        if (!picturesSupported_) {
            o.getter(name, [](std::span<Variant>) -> Variant { noSuchMember(); });
            o.setter(name, [](const Variant&) { noSuchMember(); });
        } else {
            o.setObject(name, nullptr);
            if (added)
                o.setter(name, [this, &o, name](const Variant& v) {
                    Dispatch d = v.toObject();
                    o.setObject(name, dynamic_cast<FakeObject*>(d.get()));
                    changed();
                });
        }
    }
    o.method("Delete", [this, &c](std::span<Variant>) {
        remove(c);
        return Variant();
    });
    if (type == msoControlPopup) {
        c.own = &makeBar(caption);
        o.setObject("CommandBar", c.own->object).readOnly("CommandBar");
        o.setObject("Controls", c.own->controls).readOnly("Controls");
    }
    return c;
}

void FakeCommandBars::remove(Control& c) {
    c.deleted = true;
    auto& items = c.parent->items;
    items.erase(std::remove(items.begin(), items.end(), c.object), items.end());
    deleted_.push_back(c.object);
    // From now on every call fails, as it does on a control that is gone.
    FakeObject& o = *c.object;
    for (const char* name : kMembers)  // a getter answers method calls too
        o.getter(name, [](std::span<Variant>) -> Variant { controlGone(); });
    o.method("Delete", [](std::span<Variant>) -> Variant { controlGone(); });
    for (const char* name : kProperties) o.setter(name, [](const Variant&) { controlGone(); });
    for (const char* name : {"Picture", "Mask"})
        o.setter(name, [](const Variant&) { controlGone(); });
    changed();
}

FakeObject& FakeCommandBars::addBar(const std::string& name) {
    Bar& b = makeBar(name);
    topBars_.push_back(&b);
    return *b.object;
}

FakeObject& FakeCommandBars::addControl(FakeObject& bar, std::int32_t type, std::int32_t id,
                                        const std::string& caption) {
    Bar& b = barOf(bar);
    return *makeControl(b, type, id, b.items.size(), caption, false).object;
}

FakeObject& FakeCommandBars::addPopup(FakeObject& bar, std::int32_t id,
                                      const std::string& caption) {
    return addControl(bar, msoControlPopup, id, caption);
}

FakeObject* FakeCommandBars::bar(const std::string& name) const {
    for (Bar* b : topBars_)
        if (sameText(b->name, name)) return b->object;
    return nullptr;
}

FakeObject& FakeCommandBars::popupBar(const FakeObject& popup) const {
    Control& c = controlOf(popup);
    if (!c.own) throw HostError(kNoSuchMember, "not a popup");
    return *c.own->object;
}

std::vector<FakeObject*> FakeCommandBars::controls(const FakeObject& bar) const {
    return barOf(bar).items;
}

bool FakeCommandBars::isDeleted(const FakeObject& control) const {
    return controlOf(control).deleted;
}

bool FakeCommandBars::isTemporary(const FakeObject& control) const {
    return controlOf(control).temporary;
}

Variant FakeCommandBars::property(const FakeObject& control, const std::string& name) const {
    controlOf(control);
    if (FakeObject* p = control.object(name)) return Variant(p->handle());
    return control.value(name);
}

void FakeCommandBars::setProperty(FakeObject& control, const std::string& name, Variant value) {
    controlOf(control);
    control.set(name, std::move(value));
}

bool FakeCommandBars::click(FakeObject& button) {
    Variant cancel(false);
    Variant args[] = {Variant(button.handle()), Variant::ref(cancel)};
    button.fire(kCommandBarButtonEvents, "Click", args);
    return cancel.toBool();
}

FakeCommandBars::Bar& FakeCommandBars::barOf(const FakeObject& object) const {
    if (auto it = barOf_.find(&object); it != barOf_.end()) return *it->second;
    throw HostError(kNoSuchMember, "not a command bar of this window");
}

FakeCommandBars::Control& FakeCommandBars::controlOf(const FakeObject& object) const {
    if (auto it = controlOf_.find(&object); it != controlOf_.end()) return *it->second;
    throw HostError(kNoSuchMember, "not a control of this window");
}

bool FakeCommandBars::matches(const Control& c, std::span<Variant> args) const {
    if (given(args, 0) && c.type != args[0].toInt()) return false;
    if (given(args, 1) && c.id != args[1].toInt()) return false;
    if (given(args, 2) && c.object->value("Tag").toString() != args[2].toString()) return false;
    if (given(args, 3) && args[3].toBool() && !c.object->value("Visible").toBool()) return false;
    return true;
}

Dispatch FakeCommandBars::find(const Bar& bar, std::span<Variant> args, bool recursive) const {
    for (FakeObject* item : bar.items) {
        const Control& c = controlOf(*item);
        if (matches(c, args)) return item->handle();
        if (recursive && c.own)
            if (Dispatch d = find(*c.own, args, true)) return d;
    }
    return {};
}

void FakeCommandBars::changed() {
    if (onChange) onChange();
}

}  // namespace cq::test

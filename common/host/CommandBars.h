#pragma once
// The Office command bars, as both add-ins use them: the CommandBars of a
// window, a CommandBar, its CommandBarControls, a CommandBarButton and a
// CommandBarPopup. Optional arguments left out are Variant::missing(). Every
// call throws HostError when the host fails it.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/host/TypedObject.h"

namespace cq {

// Events of a command-bar button: Click(Ctrl, CancelDefault by reference).
inline constexpr std::string_view kCommandBarButtonEvents =
    "{000C0351-0000-0000-C000-000000000046}";

// MsoControlType.
inline constexpr std::int32_t msoControlButton = 1;
inline constexpr std::int32_t msoControlPopup = 10;
// MsoButtonStyle.
inline constexpr std::int32_t msoButtonIcon = 1;
inline constexpr std::int32_t msoButtonCaption = 2;
inline constexpr std::int32_t msoButtonIconAndCaption = 3;

class CommandBarButton : public TypedObject {
  public:
    using TypedObject::TypedObject;

    void SetStyle(std::int32_t style) const;
    void SetBeginGroup(bool beginGroup) const;
    void SetCaption(const std::string& caption) const;
    void SetTooltipText(const std::string& text) const;
    void SetTag(const std::string& tag) const;
    void SetVisible(bool visible) const;
    void SetFaceId(std::int32_t faceId) const;

    std::string Caption() const;
    std::string TooltipText() const;
    std::string Tag() const;
    bool Visible() const;

    // Removes the control from its bar (the optional Temporary left out).
    void Delete() const;
};

class CommandBarControls : public TypedObject {
  public:
    using TypedObject::TypedObject;

    std::int32_t Count() const;
    // Add(Type, Id, Parameter, Before, Temporary): the new control.
    CommandBarButton Add(Variant Type = Variant::missing(), Variant Id = Variant::missing(),
                         Variant Parameter = Variant::missing(),
                         Variant Before = Variant::missing(),
                         Variant Temporary = Variant::missing()) const;
};

class CommandBar : public TypedObject {
  public:
    using TypedObject::TypedObject;

    CommandBarControls Controls() const;
    // The first control that matches, or Nothing.
    Dispatch FindControl(Variant Type = Variant::missing(), Variant Id = Variant::missing(),
                         Variant Tag = Variant::missing(), Variant Visible = Variant::missing(),
                         Variant Recursive = Variant::missing()) const;
};

class CommandBarPopup : public TypedObject {
  public:
    using TypedObject::TypedObject;

    CommandBarControls Controls() const;
    cq::CommandBar CommandBar() const;
};

class CommandBars : public TypedObject {
  public:
    using TypedObject::TypedObject;

    // The bar of that name; the host fails the call when there is none.
    cq::CommandBar Item(const std::string& name) const;
};

}  // namespace cq

#pragma once
// The command bars of one window in the in-memory Office, as Outlook's item
// windows and Word's documents have them: named bars holding controls in
// order, popups (menus) with bars of their own, FindControl, Controls.Add and
// Delete, the control properties, and the Click event of buttons.
//
// Objects and their types (the "Type" of FakeOffice's call log and `failing`):
//   "CommandBars"                 Item(name | index), Count, FindControl(Type, Id, Tag, Visible)
//   "CommandBar(<name>)"          Name, Controls, FindControl(Type, Id, Tag, Visible, Recursive),
//                                 Visible
//   "CommandBarControls(<name>)"  Count, Item(index), Add(Type, Id, Parameter, Before, Temporary)
//   "CommandBarButton", "CommandBarPopup", "CommandBarControl" (other types)
//       Type, Id (read-only), Caption, TooltipText, Tag, Visible, Style, BeginGroup, FaceId,
//       Parameter, OnAction, Picture and Mask (when the Office takes pictures),
//       Delete([Temporary]); a popup also Controls and CommandBar.
// A missing bar name fails Item with error 5; a control that has been deleted
// fails every call.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/doubles/FakeOffice.h"

namespace cq::test {

class FakeCommandBars {
  public:
    // `picturesSupported`: whether buttons have Picture and Mask (Office 2002 on).
    explicit FakeCommandBars(FakeOffice& office, bool picturesSupported = true);
    FakeCommandBars(const FakeCommandBars&) = delete;
    FakeCommandBars& operator=(const FakeCommandBars&) = delete;

    // The CommandBars object.
    FakeObject& object() const { return *bars_; }

    // Set up. A bar at the end of the collection.
    FakeObject& addBar(const std::string& name);
    // A built-in control at the end of `bar` (a bar, or the bar of a popup).
    FakeObject& addControl(FakeObject& bar, std::int32_t type, std::int32_t id,
                           const std::string& caption);
    // A popup menu at the end of `bar`; its own bar is popupBar(popup).
    FakeObject& addPopup(FakeObject& bar, std::int32_t id, const std::string& caption);

    // Sets a control property as the user or another program would, without a call.
    void setProperty(FakeObject& control, const std::string& name, Variant value);

    // Looking in.
    FakeObject* bar(const std::string& name) const;
    FakeObject& popupBar(const FakeObject& popup) const;
    // The controls on a bar, in order.
    std::vector<FakeObject*> controls(const FakeObject& bar) const;
    bool isDeleted(const FakeObject& control) const;
    bool isTemporary(const FakeObject& control) const;
    // A control property as stored (Empty when never set).
    Variant property(const FakeObject& control, const std::string& name) const;
    // Controls deleted so far, in order.
    const std::vector<FakeObject*>& deleted() const { return deleted_; }

    // Clicks a button as the user would: fires Click(Ctrl, CancelDefault)
    // at its subscribers and returns CancelDefault as they left it.
    bool click(FakeObject& button);

    // Called after every change that a user could see: a control added or
    // deleted, a property of an added control changed.
    std::function<void()> onChange;

  private:
    struct Bar {
        std::string name;
        FakeObject* object;
        FakeObject* controls;
        std::vector<FakeObject*> items;
    };
    struct Control {
        FakeObject* object;
        Bar* parent;
        std::int32_t type;
        std::int32_t id;
        bool temporary = false;
        bool deleted = false;
        Bar* own = nullptr;  // a popup's bar
    };

    Bar& makeBar(const std::string& name);
    // `added`: made by Controls.Add (its changes are reported through onChange).
    Control& makeControl(Bar& parent, std::int32_t type, std::int32_t id, std::size_t at,
                         const std::string& caption, bool added);
    void remove(Control& c);
    Bar& barOf(const FakeObject& object) const;
    Control& controlOf(const FakeObject& object) const;
    Dispatch find(const Bar& bar, std::span<Variant> args, bool recursive) const;
    bool matches(const Control& c, std::span<Variant> args) const;
    void changed();

    FakeOffice& office_;
    bool picturesSupported_;
    FakeObject* bars_;
    std::vector<std::unique_ptr<Bar>> allBars_;
    std::vector<Bar*> topBars_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<const FakeObject*, Bar*> barOf_;
    std::map<const FakeObject*, Control*> controlOf_;
    std::vector<FakeObject*> deleted_;
};

}  // namespace cq::test

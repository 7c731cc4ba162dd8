#pragma once
// The parts of Outlook's object model that the add-in uses: the Application,
// an Inspector (item window), the event interfaces of the explorer and
// inspector collections and windows, and the numbers it compares with.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/host/COMAddIns.h"
#include "common/host/CommandBars.h"
#include "common/host/TypedObject.h"

namespace cq::ol {

// Event interfaces: NewExplorer(Explorer); Activate, ..., Close;
// NewInspector(Inspector); Activate, Deactivate, Close.
inline constexpr std::string_view kExplorersEvents = "{00063078-0000-0000-C000-000000000046}";
inline constexpr std::string_view kExplorerEvents = "{0006304F-0000-0000-C000-000000000046}";
inline constexpr std::string_view kInspectorsEvents = "{00063079-0000-0000-C000-000000000046}";
inline constexpr std::string_view kInspectorEvents = "{0006307D-0000-0000-C000-000000000046}";

// OlObjectClass.
inline constexpr std::int32_t olAppointment = 26;
inline constexpr std::int32_t olContact = 40;
inline constexpr std::int32_t olJournal = 42;
inline constexpr std::int32_t olMail = 43;
inline constexpr std::int32_t olNote = 44;
inline constexpr std::int32_t olTask = 48;
// OlEditorType.
inline constexpr std::int32_t olEditorText = 1;
inline constexpr std::int32_t olEditorHTML = 2;
inline constexpr std::int32_t olEditorRTF = 3;
inline constexpr std::int32_t olEditorWord = 4;

class Application : public TypedObject {
  public:
    using TypedObject::TypedObject;

    std::string Version() const { return object_.get("Version").toString(); }
    // The active explorer window, or Nothing when Outlook shows none.
    Dispatch ActiveExplorer() const { return object_.call("ActiveExplorer").toObject(); }
    Dispatch Explorers() const { return object_.get("Explorers").toObject(); }
    Dispatch Inspectors() const { return object_.get("Inspectors").toObject(); }
    cq::COMAddIns COMAddIns() const { return cq::COMAddIns(object_.get("COMAddIns").toObject()); }
};

class Inspector : public TypedObject {
  public:
    using TypedObject::TypedObject;

    // The item shown; its members (Class, Sent, ...) are read by name.
    Dispatch CurrentItem() const { return object_.get("CurrentItem").toObject(); }
    std::int32_t EditorType() const { return object_.get("EditorType").toInt(); }
    cq::CommandBars CommandBars() const {
        return cq::CommandBars(object_.get("CommandBars").toObject());
    }
};

}  // namespace cq::ol

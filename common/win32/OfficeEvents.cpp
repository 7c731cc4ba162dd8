#include "common/win32/OfficeEvents.h"

#include <algorithm>
#include <cctype>

namespace cq::win32 {
namespace {

// Each list starts with the events of the first version of its interface;
// the later versions (_10, _11, Word's 3 and 4) add at the end.
constexpr OfficeEvent kOutlookApplication[] = {
    {61442, "ItemSend"},
    {61443, "NewMail"},
    {61444, "Reminder"},
    {61445, "OptionsPagesAdd"},
    {61446, "Startup"},
    {61447, "Quit"},
    {64106, "AdvancedSearchComplete"},  // _10
    {64107, "AdvancedSearchStopped"},
    {64144, "MAPILogonComplete"},
    {64181, "NewMailEx"},  // _11
    {64423, "ItemLoad"},
};
constexpr OfficeEvent kExplorers[] = {{61441, "NewExplorer"}};
constexpr OfficeEvent kExplorer[] = {
    {61441, "Activate"},           {61442, "FolderSwitch"},
    {61443, "BeforeFolderSwitch"}, {61444, "ViewSwitch"},
    {61445, "BeforeViewSwitch"},   {61446, "Deactivate"},
    {61447, "SelectionChange"},    {61448, "Close"},
    {64014, "BeforeItemCopy"},  // _10
    {64015, "BeforeItemCut"},      {64016, "BeforeItemPaste"},
    {64017, "BeforeMaximize"},     {64018, "BeforeMinimize"},
    {64019, "BeforeMove"},         {64020, "BeforeSize"},
};
constexpr OfficeEvent kInspectors[] = {{61441, "NewInspector"}};
constexpr OfficeEvent kInspector[] = {
    {61441, "Activate"},       {61446, "Deactivate"},
    {61448, "Close"},          {64017, "BeforeMaximize"},  // _10
    {64018, "BeforeMinimize"}, {64019, "BeforeMove"},
    {64020, "BeforeSize"},     {64500, "PageChange"},
};
// Click(Ctrl, CancelDefault by reference).
constexpr OfficeEvent kCommandBarButton[] = {{1, "Click"}};
constexpr OfficeEvent kWordApplication[] = {
    {1, "Startup"},
    {2, "Quit"},
    {3, "DocumentChange"},
    {4, "DocumentOpen"},
    {6, "DocumentBeforeClose"},
    {7, "DocumentBeforePrint"},
    {8, "DocumentBeforeSave"},
    {9, "NewDocument"},
    {10, "WindowActivate"},
    {11, "WindowDeactivate"},
    {12, "WindowSelectionChange"},
    {13, "WindowBeforeRightClick"},
    {14, "WindowBeforeDoubleClick"},
    {25, "WindowSize"},  // 3 and 4
};
constexpr OfficeEvent kEnvelope[] = {{1, "EnvelopeShow"}, {2, "EnvelopeHide"}};

template <size_t N>
constexpr std::span<const OfficeEvent> first(const OfficeEvent (&list)[N], size_t count) {
    return std::span<const OfficeEvent>(list, count);
}

struct Interface {
    std::string_view iid;
    std::span<const OfficeEvent> events;
};

constexpr Interface kInterfaces[] = {
    {"{0006304E-0000-0000-C000-000000000046}", first(kOutlookApplication, 6)},  // ApplicationEvents
    {"{0006300E-0000-0000-C000-000000000046}", first(kOutlookApplication, 9)},  // ..._10
    {"{0006302C-0000-0000-C000-000000000046}", kOutlookApplication},            // ..._11
    {"{00063078-0000-0000-C000-000000000046}", kExplorers},                     // ExplorersEvents
    {"{0006304F-0000-0000-C000-000000000046}", first(kExplorer, 8)},            // ExplorerEvents
    {"{0006300F-0000-0000-C000-000000000046}", kExplorer},                      // ..._10
    {"{00063079-0000-0000-C000-000000000046}", kInspectors},                    // InspectorsEvents
    {"{0006307D-0000-0000-C000-000000000046}", first(kInspector, 3)},           // InspectorEvents
    {"{0006302A-0000-0000-C000-000000000046}", kInspector},                     // ..._10
    {"{000C0351-0000-0000-C000-000000000046}", kCommandBarButton},  // _CommandBarButtonEvents
    {"{000209FE-0000-0000-C000-000000000046}", first(kWordApplication, 13)},  // ApplicationEvents2
    {"{00020A00-0000-0000-C000-000000000046}", kWordApplication},             // ApplicationEvents3
    {"{00020A01-0000-0000-C000-000000000046}", kWordApplication},             // ApplicationEvents4
    {"{000672AD-0000-0000-C000-000000000046}", kEnvelope},  // IMsoEnvelopeVBEvents
};

bool sameText(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

}  // namespace

std::span<const OfficeEvent> officeEvents(std::string_view iid) {
    for (const auto& i : kInterfaces)
        if (sameText(i.iid, iid)) return i.events;
    return {};
}

std::string_view officeEventName(std::string_view iid, std::int32_t dispid) {
    for (const auto& e : officeEvents(iid))
        if (e.dispid == dispid) return e.name;
    return {};
}

std::optional<std::int32_t> officeEventDispid(std::string_view iid, std::string_view name) {
    for (const auto& e : officeEvents(iid))
        if (sameText(e.name, name)) return e.dispid;
    return std::nullopt;
}

}  // namespace cq::win32

#include "common/win32/OfficeEvents.h"

#include <algorithm>
#include <cctype>

namespace cq::win32 {
namespace {

// Each list holds every event of its interface, in declaration order.
constexpr OfficeEvent kExplorers[] = {{61441, "NewExplorer"}};
constexpr OfficeEvent kExplorer[] = {
    {61441, "Activate"},           {61442, "FolderSwitch"},
    {61443, "BeforeFolderSwitch"}, {61444, "ViewSwitch"},
    {61445, "BeforeViewSwitch"},   {61446, "Deactivate"},
    {61447, "SelectionChange"},    {61448, "Close"},
};
constexpr OfficeEvent kInspectors[] = {{61441, "NewInspector"}};
constexpr OfficeEvent kInspector[] = {{61441, "Activate"}, {61446, "Deactivate"}, {61448, "Close"}};
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
};

struct Interface {
    std::string_view iid;
    std::span<const OfficeEvent> events;
};

constexpr Interface kInterfaces[] = {
    {"{00063078-0000-0000-C000-000000000046}", kExplorers},         // ExplorersEvents
    {"{0006304F-0000-0000-C000-000000000046}", kExplorer},          // ExplorerEvents
    {"{00063079-0000-0000-C000-000000000046}", kInspectors},        // InspectorsEvents
    {"{0006307D-0000-0000-C000-000000000046}", kInspector},         // InspectorEvents
    {"{000C0351-0000-0000-C000-000000000046}", kCommandBarButton},  // _CommandBarButtonEvents
    {"{000209FE-0000-0000-C000-000000000046}", kWordApplication},   // Word's ApplicationEvents2
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

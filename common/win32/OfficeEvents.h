#pragma once
// The event interfaces of Outlook, the Office command bars and Word that the
// add-ins subscribe to: interface id, DISPID and name of each event, with
// arguments in declaration order as the type libraries give them. Only these
// interfaces can be subscribed to.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace cq::win32 {

struct OfficeEvent {
    std::int32_t dispid;
    std::string_view name;
};

// The events of interface `iid` ("{...}" form, any case); empty when the
// interface is not one of those known here.
std::span<const OfficeEvent> officeEvents(std::string_view iid);

// The name of event `dispid` of `iid`; empty when not known.
std::string_view officeEventName(std::string_view iid, std::int32_t dispid);

// The DISPID of the event called `name` (any case) of `iid`.
std::optional<std::int32_t> officeEventDispid(std::string_view iid, std::string_view name);

}  // namespace cq::win32

#pragma once
// What the Outlook add-in and the Word add-in share without linking against
// each other: the name under which Word finds the Outlook add-in in Outlook's
// COM add-in collection, the registry value through which the Outlook add-in
// tells Word the current stamp order, and how both read their host's version.

#include <cstdint>
#include <string_view>

namespace cq {

// The ProgID of the Outlook add-in's class and of its COM add-in entry.
inline constexpr std::string_view kOutlookAddInProgId = "Chronoquill.Connect";

// Under HKEY_CURRENT_USER: the tooltip text of the stamp kind last produced
// by the Outlook add-in, written only by it and read only by the Word add-in.
inline constexpr std::string_view kTooltipKey = "Software\\Quintor\\Inkwell";
inline constexpr std::string_view kTooltipValue = "Tooltip";
// The text for date then time, and the Word controls' text while there is no value.
inline constexpr std::string_view kDefaultTooltip = "Insert date and time";

// The major version in an Office application's Version text: the decimal
// digits it starts with, up to the first "." ("11.0.5608" gives 11, "11a.0"
// gives 11). 0 when there are none or when they do not fit in 32 bits.
std::int32_t HostMajorVersion(std::string_view version) noexcept;

}  // namespace cq

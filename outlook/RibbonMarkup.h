#pragma once
// The ribbon markup of the Outlook add-in: one "Stamps" group with one large
// stamp button, put on the built-in tab of each compose window type.

#include <string>
#include <string_view>

namespace cq {

// The id of the stamp button in the markup.
inline constexpr std::string_view kStampButtonId = "Quintor.btnStamp";

// The markup template, 532 characters; "%s" stands for the tab's idMso.
extern const std::string_view kRibbonTemplate;

// The built-in tab for a ribbon identifier (compared exactly, case and all),
// or an empty view for identifiers of windows the add-in leaves alone.
std::string_view RibbonTabFor(std::string_view ribbonId);

// Every occurrence of `what` in `text` replaced by `with`.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);

}  // namespace cq

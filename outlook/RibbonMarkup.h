#pragma once
// The ribbon markup of the Outlook add-in: one "Stamps" group with one large
// stamp button, put on the built-in tab of each compose window type and, from
// Outlook 2013 on, on the Message tab of inline replies in the main window.

#include <cstdint>
#include <string>
#include <string_view>

namespace cq {

// The id of the stamp button in the markup.
inline constexpr std::string_view kStampButtonId = "Quintor.btnStamp";

// The markup template, 532 characters; "%s" stands for the tab's idMso.
extern const std::string_view kRibbonTemplate;

// The main window's ribbon (Outlook 2013 and later): the same group and
// button on the Message tab that Outlook shows while a reply or forward is
// written inline in the reading pane. Outlook 2010 has no such tab; from
// major version kInlineResponseVersion on it is there.
inline constexpr std::string_view kExplorerRibbonId = "Microsoft.Outlook.Explorer";
inline constexpr std::int32_t kInlineResponseVersion = 15;
extern const std::string_view kExplorerRibbonMarkup;

// The built-in tab for a ribbon identifier (compared exactly, case and all),
// or an empty view for identifiers of windows the add-in leaves alone.
std::string_view RibbonTabFor(std::string_view ribbonId);

// Every occurrence of `what` in `text` replaced by `with`.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);

}  // namespace cq

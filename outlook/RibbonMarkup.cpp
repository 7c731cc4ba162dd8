#include "outlook/RibbonMarkup.h"

#include <utility>

namespace cq {

// clang-format off
const std::string_view kRibbonTemplate =
    "<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\" onLoad=\"Ribbon_OnLoad\">"
    "  <ribbon>"
    "    <tabs>"
    "      <tab idMso=\"%s\">"
    "        <group id=\"Quintor.Stamps\" label=\"Stamps\">"
    "            <button"
    "                id = \"Quintor.btnStamp\""
    "                onAction = \"Button_Action\""
    "                getScreentip = \"Button_GetScreentip\""
    "                getImage = \"Button_GetImage\""
    "                getLabel=\"Button_GetLabel\""
    "                size = \"large\""
    "              />"
    "         </group>"
    "      </tab>"
    "    </tabs>"
    "  </ribbon>"
    "</customUI>";

const std::string_view kExplorerRibbonMarkup =
    "<customUI xmlns=\"http://schemas.microsoft.com/office/2009/07/customui\" onLoad=\"Ribbon_OnLoad\">"
    "  <ribbon>"
    "    <contextualTabs>"
    "      <tabSet idMso=\"TabComposeTools\">"
    "        <tab idMso=\"TabMessage\">"
    "          <group id=\"Quintor.Stamps\" label=\"Stamps\">"
    "              <button"
    "                  id = \"Quintor.btnStamp\""
    "                  onAction = \"Button_Action\""
    "                  getScreentip = \"Button_GetScreentip\""
    "                  getImage = \"Button_GetImage\""
    "                  getLabel=\"Button_GetLabel\""
    "                  size = \"large\""
    "                />"
    "           </group>"
    "        </tab>"
    "      </tabSet>"
    "    </contextualTabs>"
    "  </ribbon>"
    "</customUI>";
// clang-format on

namespace {

constexpr std::pair<std::string_view, std::string_view> kRibbonTabs[] = {
    {"Microsoft.Outlook.Mail.Compose", "TabNewMailMessage"},
    {"Microsoft.Outlook.MeetingRequest.Send", "TabNewMailMessage"},
    {"Microsoft.Outlook.Appointment", "TabAppointment"},
    {"Microsoft.Outlook.Contact", "TabContact"},
    {"Microsoft.Outlook.Journal", "TabJournal"},
    {"Microsoft.Outlook.Task", "TabTask"},
    {"Microsoft.Outlook.DistributionList", "TabDistributionList"},
    {"Microsoft.Outlook.Resend", "TabNewMailMessage"},
    {"Microsoft.Outlook.Response.Compose", "TabNewMailMessage"},
    {"Microsoft.Outlook.Post.Compose", "TabNewMailMessage"},
    {"Microsoft.Outlook.Sharing.Compose", "TabNewMailMessage"},
};

}  // namespace

std::string_view RibbonTabFor(std::string_view ribbonId) {
    for (const auto& [id, tab] : kRibbonTabs)
        if (id == ribbonId) return tab;
    return {};
}

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
    if (what.empty()) return std::string(text);
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(what, from)) != std::string_view::npos;
         from = at + what.size()) {
        out.append(text.substr(from, at - from));
        out.append(with);
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace cq

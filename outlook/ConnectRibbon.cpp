// The ribbon side of Connect (Outlook 2007 and later): the markup, and the
// callbacks of the stamp button that it declares. The item windows' ribbons
// and the main window's (inline replies) share the one button.

#include "common/Clock.h"
#include "common/Guard.h"
#include "common/MsgBox.h"
#include "common/Pictures.h"
#include "common/Port.h"
#include "common/SendTextAsKeys.h"
#include "outlook/Connect.h"
#include "outlook/RibbonMarkup.h"
#include "outlook/mDatestamp.h"
#include "outlook/mMain.h"

namespace cq {
namespace {

// The control's identifier; empty when it cannot be read.
std::string IdOf(const Dispatch& control) {
    std::string sId;
    guard([&] { sId = IRibbonControl(control).Id(); });
    return sId;
}

}  // namespace

std::string Connect::IRibbonExtensibility_GetCustomUI(const std::string& RibbonID) {
    std::string sMarkup;
    // An add-in whose support library did not start does nothing, ribbon included.
    if (!g_oOutlook) return sMarkup;
    guard([&] {
        if (RibbonID == kExplorerRibbonId) {
            if (GetOutlookVersion() >= kInlineResponseVersion) sMarkup = kExplorerRibbonMarkup;
            return;
        }
        const std::string_view sTab = RibbonTabFor(RibbonID);
        if (!sTab.empty()) sMarkup = ReplaceAll(kRibbonTemplate, "%s", sTab);
    });
    return sMarkup;
}

void Connect::Ribbon_OnLoad(const Dispatch& ribbon) { m_oRibbon = IRibbonUI(ribbon); }

void Connect::Button_Action(const Dispatch& control) {
    // Released last: if Outlook let go of the add-in while the keystrokes
    // were waited for, it goes here.
    const KeepAlive::Pin pin = m_keepAlive.pin();
    const std::string sId = IdOf(control);
    if (sId == kStampButtonId) {
        std::string sStamp;
        std::int32_t lKind = 0;
        guard([&] { sStamp = GetDatestamp(Port<Clock>::get().now(), lKind); });
        SendTextAsKeys(sStamp + " ");
        if (lKind != m_lStampKind) {
            m_lStampKind = lKind;
            if (m_oRibbon) guard([&] { m_oRibbon.InvalidateControl(std::string(kStampButtonId)); });
        }
    } else {
        guard([&] { Port<MsgBox>::get().show(sId + " clicked", kMsgBoxOkOnly, ""); });
    }
}

std::string Connect::Button_GetScreentip(const Dispatch& control) {
    std::string sTip;
    if (IdOf(control) == kStampButtonId) guard([&] { sTip = GetStampTooltip(m_lStampKind); });
    return sTip;
}

std::string Connect::Button_GetLabel(const Dispatch& control) {
    std::string sLabel;
    if (IdOf(control) == kStampButtonId) guard([&] { sLabel = GetStampLabel(m_lStampKind); });
    return sLabel;
}

Dispatch Connect::Button_GetImage(const Dispatch& control) {
    Dispatch oPicture;
    if (IdOf(control) == kStampButtonId)
        guard([&] { oPicture = Port<Pictures>::get().icon("MAIN_ICON32"); });
    return oPicture;
}

}  // namespace cq

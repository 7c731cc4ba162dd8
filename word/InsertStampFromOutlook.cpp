// The stamp request of the Word add-in's Connect: a click on either stamp
// control asks the Outlook add-in in the running Outlook for the stamp and
// types it at the caret.

#include "common/AddInContract.h"
#include "common/Guard.h"
#include "common/MsgBox.h"
#include "common/Port.h"
#include "common/SendTextAsKeys.h"
#include "common/host/COMAddIns.h"
#include "word/Connect.h"
#include "word/RunningObjectTable.h"

namespace cq::word {
namespace {

void ShowMessage(const std::string& prompt) {
    guard([&] { Port<MsgBox>::get().show(prompt, kMsgBoxOkOnly, kMessageTitle); });
}

}  // namespace

void Connect::m_btn2_Click(const Dispatch& Ctrl, Variant& CancelDefault) noexcept {
    InsertStampFromOutlook(Ctrl, CancelDefault);
}

void Connect::m_btn3_Click(const Dispatch& Ctrl, Variant& CancelDefault) noexcept {
    InsertStampFromOutlook(Ctrl, CancelDefault);
}

void Connect::InsertStampFromOutlook(const Dispatch&, Variant&) noexcept {
    bool bEmail = false;
    guard([&] {
        bEmail = m_word.object().get("ActiveWindow").toObject().get("EnvelopeVisible").toBool();
    });
    if (!bEmail) {
        ShowMessage(kNotEmailModeMessage);
        ShowButtons(false);
        return;
    }

    Dispatch oOutlook;
    if (GetWordVersion() < 10) {
        // Word 2000 has no envelope item: attach to the running Outlook, never
        // start one.
        guard([&] { oOutlook = Port<RunningObjectTable>::get().GetActiveObject(kOutlookProgId); });
        if (!oOutlook) {
            ShowMessage(kOutlookNotRunningMessage);
            return;
        }
    } else {
        guard([&] {
            oOutlook = m_word.object()
                           .get("ActiveDocument")
                           .toObject()
                           .get("MailEnvelope")
                           .toObject()
                           .get("Item")
                           .toObject()
                           .get("Application")
                           .toObject();
        });
    }

    Dispatch oAddIn;
    guard([&] {
        oAddIn = COMAddIns(oOutlook.get("COMAddIns").toObject())
                     .Item(std::string(kOutlookAddInProgId))
                     .Object();
    });
    if (!oAddIn) {
        ShowMessage(kAddInMissingMessage);
        oOutlook.reset();
        return;
    }

    Variant sStamp = std::string();
    Variant sStampTooltip = std::string();
    bool bStamp = false;
    const bool bAnswered = guard([&] {
        bStamp =
            oAddIn.call("GetStamp", Variant::ref(sStamp), Variant::ref(sStampTooltip)).toBool();
    });
    // The controls carry what the Outlook add-in answered, stamp or no stamp;
    // a call that failed or a missing text leaves them as they are.
    std::string tooltip;
    if (bAnswered) guard([&] { tooltip = sStampTooltip.toString(); });
    if (!tooltip.empty()) SetButtonsTooltip(tooltip);
    if (bStamp) {
        std::string text;
        if (guard([&] { text = sStamp.toString() + " "; })) SendTextAsKeys(text);
    }

    oAddIn.reset();
    oOutlook.reset();
}

}  // namespace cq::word

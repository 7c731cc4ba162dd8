#include "outlook/CInspectorWrapper.h"

#include "common/Guard.h"
#include "common/Pictures.h"
#include "common/Port.h"
#include "outlook/Log.h"
#include "outlook/OutlookObjects.h"
#include "outlook/PendingError.h"
#include "outlook/mDatestamp.h"
#include "outlook/mMain.h"

namespace cq {
namespace {

constexpr char kAddGUI[] = "CInspectorWrapper::AddGUI";
// The zero date-time value: 30 December 1899, 00:00.
constexpr DateTime kZeroDate{1899, 12, 30, 0, 0, 0};
constexpr char kSetBtnPicAndMask[] = "CInspectorWrapper::SetBtnPicAndMask";

}  // namespace

CInspectorWrapper::CInspectorWrapper()
    : m_oInspector(ol::kInspectorEvents,
                   [this](std::string_view event, std::span<Variant>) {
                       if (event == "Close") m_oInspector_Close();
                   }),
      m_btnMain(kCommandBarButtonEvents,
                [this](std::string_view event, std::span<Variant> args) {
                    if (event == "Click") m_btnMain_Click(args);
                }),
      m_btnMain2(kCommandBarButtonEvents, [this](std::string_view event, std::span<Variant> args) {
          if (event == "Click") m_btnMain2_Click(args);
      }) {}

CInspectorWrapper::~CInspectorWrapper() { Done(); }

bool CInspectorWrapper::Init(const Dispatch& oInspector) {
    guard([] { dbgLog("CInspectorWrapper::Init", "->", 2); });
    m_lStampKind = 0;
    guard([&] { m_oInspector.set(oInspector); });
    AddGUI();
    return true;
}

void CInspectorWrapper::m_oInspector_Close() {
    guard([] { dbgLog("CInspectorWrapper::m_oInspector_Close", "->", 2); });
    Done();
}

void CInspectorWrapper::Done() {
    m_oInspector.reset();
    if (m_btnMain) guard([&] { CommandBarButton(m_btnMain.object()).Delete(); });
    if (m_btnMain2) guard([&] { CommandBarButton(m_btnMain2.object()).Delete(); });
    if (m_btnTag) guard([&] { m_btnTag.Delete(); });
    m_btnMain.reset();
    m_btnMain2.reset();
    m_btnTag.reset();
}

void CInspectorWrapper::AddGUI() {
    try {
        CommandBars oBars = ol::Inspector(m_oInspector.object()).CommandBars();

        // Only the kind matters here: the zero date-time will do.
        GetDatestamp(kZeroDate, m_lStampKind);

        CommandBar oBar;
        guard([&] { oBar = oBars.Item("Standard"); });
        if (!oBar) {
            dbgLog(kAddGUI, "Dont create button - no standard bar", 2);
            return;
        }
        CommandBarControls oControls = oBar.Controls();
        const std::int32_t nIndex = oControls.Count() + 1;

        if (oBar.FindControl(msoControlButton, Variant::missing(), std::string(kWrapperTag))) {
            Done();
            return;
        }

        m_btnMain.set(
            oControls.Add(msoControlButton, Variant::missing(), Variant::missing(), nIndex, true)
                .dispatch());
        {
            CommandBarButton btn(m_btnMain.object());
            btn.SetStyle(msoButtonIcon);
            btn.SetBeginGroup(true);
            btn.SetTooltipText(GetStampTooltip(m_lStampKind));
            SetFace(btn);
        }

        m_btnTag = oControls.Add(msoControlButton, Variant::missing(), Variant::missing(),
                                 nIndex + 1, true);
        m_btnTag.SetVisible(false);
        m_btnTag.SetTag(std::string(kWrapperTag));

        CommandBarPopup oInsertMenu;
        guard([&] {
            oInsertMenu = CommandBarPopup(
                oBars.Item("Menu Bar").FindControl(Variant::missing(), kInsertMenuId));
        });
        if (!oInsertMenu) {
            dbgLog(kAddGUI, "Dont create button2 - no Menu->Insert", 2);
            return;
        }
        m_btnMain2.set(oInsertMenu.Controls()
                           .Add(msoControlButton, Variant::missing(), Variant::missing(),
                                Variant::missing(), true)
                           .dispatch());
        CommandBarButton btn2(m_btnMain2.object());
        btn2.SetStyle(msoButtonIconAndCaption);
        btn2.SetBeginGroup(true);
        btn2.SetCaption(GetStampTooltip(m_lStampKind));
        btn2.SetTooltipText(GetStampTooltip(m_lStampKind));
        SetFace(btn2);
    } catch (...) {
        errLogPending(kAddGUI);
    }
}

void CInspectorWrapper::SetFace(const CommandBarButton& btn) {
    if (GetOutlookVersion() > 9) {
        Pictures& pictures = Port<Pictures>::get();
        Dispatch picture = pictures.bitmap("BTNMAIN");
        Dispatch mask = pictures.bitmap("BTNMAINMASK");
        SetBtnPicAndMask(btn, picture, mask);
    } else {
        btn.SetFaceId(kStampFaceId);
    }
}

void CInspectorWrapper::SetBtnPicAndMask(const CommandBarButton& btn, const Dispatch& picture,
                                         const Dispatch& mask) {
    try {
        btn.dispatch().put("Picture", picture);
        btn.dispatch().put("Mask", mask);
    } catch (...) {
        errLogPending(kSetBtnPicAndMask);
    }
}

}  // namespace cq

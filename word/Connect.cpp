#include "word/Connect.h"

#include <optional>

#include "common/AddInContract.h"
#include "common/Guard.h"
#include "common/Pictures.h"
#include "common/Port.h"
#include "common/host/CommandBars.h"
#include "word/Log.h"
#include "word/Tooltip.h"

namespace cq::word {
namespace {

constexpr const char* kMenuBar = "Menu Bar";
constexpr const char* kStandard = "Standard";
constexpr std::int32_t kInsertMenuId = 30005;
constexpr std::int32_t kEmailButtonId = 3738;
constexpr std::int32_t kStampFace = 125;
constexpr const char* kPicture = "BTN_MAIN";
constexpr const char* kMask = "BTN_MAIN_MASK";
constexpr std::int32_t kLastSupportedVersion = 11;

Variant omitted() { return Variant::missing(); }

CommandBars BarsOf(const Dispatch& doc) { return CommandBars(doc.get("CommandBars").toObject()); }

// The Saved flag of `doc`'s attached template; nothing when it cannot be read.
std::optional<bool> TemplateSaved(const Dispatch& doc) {
    std::optional<bool> saved;
    guard([&] { saved = doc.get("AttachedTemplate").toObject().get("Saved").toBool(); });
    return saved;
}

// Puts the Saved flag of `doc`'s attached template back to `bSaved` when it
// changed. A flag that could not be read before is left alone.
void RestoreTemplateSaved(const Dispatch& doc, std::optional<bool> bSaved) {
    if (!bSaved) return;
    guard([&] {
        Dispatch attached = doc.get("AttachedTemplate").toObject();
        if (attached.get("Saved").toBool() != *bSaved) attached.put("Saved", *bSaved);
    });
}

Dispatch ActiveDocument(const Dispatch& word) {
    Dispatch doc;
    guard([&] { doc = word.get("ActiveDocument").toObject(); });
    return doc;
}

// The major version of `word`; 0 when it cannot be read.
std::int32_t ReadWordVersion(const Dispatch& word) {
    std::string version;
    guard([&] { version = word.get("Version").toString(); });
    return HostMajorVersion(version);
}

}  // namespace

Connect::Connect() noexcept
    : m_word(kWordApplicationEvents,
             [this](std::string_view n, std::span<Variant> a) { onWordEvent(n, a); }),
      m_btnEmail(kCommandBarButtonEvents,
                 [this](std::string_view n, std::span<Variant> a) {
                     onClick(&Connect::m_btnEmail_Click, n, a);
                 }),
      m_btn2(kCommandBarButtonEvents,
             [this](std::string_view n, std::span<Variant> a) {
                 onClick(&Connect::m_btn2_Click, n, a);
             }),
      m_btn3(kCommandBarButtonEvents, [this](std::string_view n, std::span<Variant> a) {
          onClick(&Connect::m_btn3_Click, n, a);
      }) {
    LogStart();
}

Connect::~Connect() { LogEnd(); }

void Connect::IDTExtensibility2_OnAddInsUpdate(std::span<Variant>) noexcept {}

void Connect::IDTExtensibility2_OnBeginShutdown(std::span<Variant>) noexcept {}

void Connect::IDTExtensibility2_OnConnection(const Dispatch& Application, std::int32_t,
                                             const Dispatch&, std::span<Variant>) noexcept {
    // Word 2007 and later get the stamp from the Outlook add-in's ribbon: stay
    // out of their way. The version is read from the Application given, since
    // m_word is not set yet.
    if (m_lWordVersion == 0) m_lWordVersion = ReadWordVersion(Application);
    if (m_lWordVersion > kLastSupportedVersion) return;
    guard([&] { m_word.set(Application); });
    m_bInitialized = true;
}

void Connect::IDTExtensibility2_OnDisconnection(std::int32_t, std::span<Variant>) noexcept {
    m_word.reset();
    m_btn2.reset();
    m_btn3.reset();
    m_oWindow.reset();
    m_bInitialized = false;
    // Word's own e-mail button is let go as well: a disconnected add-in keeps
    // no hold on Word and no longer reacts to its clicks.
    m_btnEmail.reset();
}

void Connect::IDTExtensibility2_OnStartupComplete(std::span<Variant>) noexcept {
    if (GetWordVersion() <= kLastSupportedVersion) m_bInitialized = true;
}

void Connect::onWordEvent(std::string_view name, std::span<Variant> args) noexcept {
    if (name != "WindowActivate" || args.size() < 2) return;
    Dispatch doc, wn;
    guard([&] { doc = args[0].toObject(); });
    guard([&] { wn = args[1].toObject(); });
    m_word_WindowActivate(doc, wn);
}

void Connect::onClick(ClickHandler handler, std::string_view name,
                      std::span<Variant> args) noexcept {
    if (name != "Click" || args.size() < 2) return;
    // Released last: if Word let go of the add-in meanwhile, it goes here.
    const KeepAlive::Pin pin = m_keepAlive.pin();
    Dispatch ctrl;
    guard([&] { ctrl = args[0].toObject(); });
    (this->*handler)(ctrl, args[1]);
}

void Connect::m_word_WindowActivate(const Dispatch& Doc, const Dispatch& Wn) noexcept {
    bool active = false;
    guard([&] {
        active = Wn.get("Index").toInt() ==
                 m_word.object().get("ActiveWindow").toObject().get("Index").toInt();
    });
    if (!active) return;
    guard([&] { AddButtons(Wn.get("Document").toObject()); });
    guard([&] {
        m_btnEmail.set(BarsOf(Doc).Item(kStandard).FindControl(msoControlButton, kEmailButtonId));
    });
    m_oWindow = Wn;
    guard([&] { ShowButtons(m_oWindow.get("EnvelopeVisible").toBool()); });
}

void Connect::AddButtons(const Dispatch& Doc) noexcept {
    if (!Doc) return;
    const std::optional<bool> bSaved = TemplateSaved(Doc);

    // The item at the end of the Insert menu.
    CommandBarPopup popup;
    guard([&] {
        popup = CommandBarPopup(BarsOf(Doc).Item(kMenuBar).FindControl(omitted(), kInsertMenuId));
    });
    if (popup) {
        guard([&] {
            m_btn2.set(popup.CommandBar().FindControl(msoControlButton, omitted(), kMenuItemTag));
        });
        if (!m_btn2) {
            guard([&] {
                m_btn2.set(popup.Controls()
                               .Add(msoControlButton, omitted(), omitted(), omitted(), true)
                               .dispatch());
            });
            const CommandBarButton b(m_btn2.object());
            guard([&] { b.SetStyle(msoButtonIconAndCaption); });
            guard([&] { b.SetTag(kMenuItemTag); });
            guard([&] { b.SetBeginGroup(true); });
            guard([&] { b.SetCaption(GetTooltip()); });
            guard([&] { b.SetTooltipText(""); });
            guard([&] { b.SetFaceId(kStampFace); });
            SetBtnPicAndMask(b.dispatch(), kPicture, kMask);
            guard([&] { b.SetVisible(true); });
        }
    }

    // The button at the end of the Standard toolbar.
    CommandBar bar;
    guard([&] { bar = BarsOf(Doc).Item(kStandard); });
    if (bar) {
        guard([&] { m_btn3.set(bar.FindControl(msoControlButton, omitted(), kToolbarButtonTag)); });
        if (!m_btn3) {
            guard([&] {
                m_btn3.set(bar.Controls()
                               .Add(msoControlButton, omitted(), omitted(), omitted(), true)
                               .dispatch());
            });
            const CommandBarButton b(m_btn3.object());
            guard([&] { b.SetStyle(msoButtonIcon); });
            guard([&] { b.SetTooltipText(GetTooltip()); });
            guard([&] { b.SetTag(kToolbarButtonTag); });
            guard([&] { b.SetFaceId(kStampFace); });
            SetBtnPicAndMask(b.dispatch(), kPicture, kMask);
            guard([&] { b.SetVisible(true); });
        }
    }

    RestoreTemplateSaved(Doc, bSaved);
}

void Connect::ShowButtons(bool bVisible) noexcept {
    const std::optional<bool> bSaved = TemplateSaved(ActiveDocument(m_word.object()));
    guard([&] { CommandBarButton(m_btn2.object()).SetVisible(bVisible); });
    guard([&] { CommandBarButton(m_btn3.object()).SetVisible(bVisible); });
    RestoreTemplateSaved(ActiveDocument(m_word.object()), bSaved);
}

void Connect::SetButtonsTooltip(const std::string& sTooltip) noexcept {
    const std::optional<bool> bSaved = TemplateSaved(ActiveDocument(m_word.object()));
    guard([&] {
        const CommandBarButton item(m_btn2.object());
        if (item.Caption() != sTooltip) item.SetCaption(sTooltip);
    });
    guard([&] {
        const CommandBarButton button(m_btn3.object());
        if (button.TooltipText() != sTooltip) button.SetTooltipText(sTooltip);
    });
    RestoreTemplateSaved(ActiveDocument(m_word.object()), bSaved);
}

void Connect::m_btnEmail_Click(const Dispatch&, Variant&) noexcept {
    dbgLog("->EnvelopeClick", "");
    // Word toggles the envelope after this event: the controls take the state
    // the envelope is about to get. CancelDefault stays as it is.
    guard([&] { ShowButtons(!m_oWindow.get("EnvelopeVisible").toBool()); });
}

std::int32_t Connect::GetWordVersion() noexcept {
    if (m_lWordVersion != 0) return m_lWordVersion;
    m_lWordVersion = ReadWordVersion(m_word.object());
    return m_lWordVersion;
}

void Connect::SetBtnPicAndMask(const Dispatch& Btn, const std::string& sPicture,
                               const std::string& sMask) noexcept {
    // Word 2000 shows the FaceId alone; Picture and Mask exist from Office 2002 on.
    if (GetWordVersion() <= 9) return;
    guard([&] { Btn.put("Picture", Port<Pictures>::get().bitmap(sPicture)); });
    guard([&] { Btn.put("Mask", Port<Pictures>::get().bitmap(sMask)); });
}

}  // namespace cq::word

#pragma once
// Connect of the Word add-in: connection to Word, the two stamp controls that
// follow the e-mail envelope of the active window (an item at the end of the
// Insert menu and a button at the end of the Standard toolbar), and the stamp
// request to the Outlook add-in on a click.
//
// Every entry point is noexcept: host failures skip the failing step and never
// leave the object. Under Word 2007 and later (version above 11) the add-in
// stays inactive: it subscribes to nothing and shows no controls.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/host/Dispatch.h"
#include "common/KeepAlive.h"
#include "common/host/EventSource.h"

namespace cq::word {

// The event interface of Word's Application that carries WindowActivate from
// Word 2000 on (ApplicationEvents2).
inline constexpr std::string_view kWordApplicationEvents = "{000209FE-0000-0000-C000-000000000046}";

// Tags of the two stamp controls.
inline constexpr const char* kMenuItemTag = "Chronoquill4Wbtn2";
inline constexpr const char* kToolbarButtonTag = "Chronoquill4Wbtn3";

// The stamp request: where the Outlook add-in is found, and what the user is
// told when it cannot be asked (OK button only, title "Chronoquill").
inline constexpr const char* kOutlookProgId = "Outlook.Application";
inline constexpr const char* kMessageTitle = "Chronoquill";
inline constexpr const char* kNotEmailModeMessage = "This feature works only in e-mail mode.";
inline constexpr const char* kOutlookNotRunningMessage =
    "This functionality works only if Microsoft Outlook is running.";
inline constexpr const char* kAddInMissingMessage =
    "Outlook add-in is not working properly. Please enable or reinstall Chronoquill.";

class Connect {
  public:
    // Writes the version line and "{" to the log.
    Connect() noexcept;
    // Writes "}" to the log.
    ~Connect();
    Connect(const Connect&) = delete;
    Connect& operator=(const Connect&) = delete;

    bool IsInitialized() const noexcept { return m_bInitialized; }

    // The COM object around this Connect, held while a click is handled.
    KeepAlive& keepAlive() noexcept { return m_keepAlive; }

    void IDTExtensibility2_OnAddInsUpdate(std::span<Variant> custom = {}) noexcept;
    void IDTExtensibility2_OnBeginShutdown(std::span<Variant> custom = {}) noexcept;
    void IDTExtensibility2_OnConnection(const Dispatch& Application, std::int32_t ConnectMode,
                                        const Dispatch& AddInInst,
                                        std::span<Variant> custom = {}) noexcept;
    void IDTExtensibility2_OnDisconnection(std::int32_t RemoveMode,
                                           std::span<Variant> custom = {}) noexcept;
    void IDTExtensibility2_OnStartupComplete(std::span<Variant> custom = {}) noexcept;

    // Event handlers; the subscriptions call them, they are public for the
    // host layer and for tests.
    void m_word_WindowActivate(const Dispatch& Doc, const Dispatch& Wn) noexcept;
    void m_btnEmail_Click(const Dispatch& Ctrl, Variant& CancelDefault) noexcept;
    void m_btn2_Click(const Dispatch& Ctrl, Variant& CancelDefault) noexcept;
    void m_btn3_Click(const Dispatch& Ctrl, Variant& CancelDefault) noexcept;

  private:
    void AddButtons(const Dispatch& Doc) noexcept;
    void ShowButtons(bool bVisible) noexcept;
    void SetButtonsTooltip(const std::string& sTooltip) noexcept;
    std::int32_t GetWordVersion() noexcept;
    void SetBtnPicAndMask(const Dispatch& Btn, const std::string& sPicture,
                          const std::string& sMask) noexcept;
    void InsertStampFromOutlook(const Dispatch& Ctrl, Variant& CancelDefault) noexcept;

    void onWordEvent(std::string_view name, std::span<Variant> args) noexcept;
    using ClickHandler = void (Connect::*)(const Dispatch&, Variant&) noexcept;
    void onClick(ClickHandler handler, std::string_view name, std::span<Variant> args) noexcept;

    KeepAlive m_keepAlive;
    EventSource m_word;
    EventSource m_btnEmail;
    EventSource m_btn2;
    EventSource m_btn3;
    Dispatch m_oWindow;
    bool m_bInitialized = false;
    std::int32_t m_lWordVersion = 0;  // 0 while not known
};

// The major version in a Word version text ("11.0" gives 11): the digits
// before the first "."; 0 when there are none or they do not fit.

}  // namespace cq::word

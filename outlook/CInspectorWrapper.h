#pragma once
// CInspectorWrapper: stands beside one Outlook item window (Outlook 2000 to
// 2003) while it is open. It puts a stamp button at the end of the window's
// "Standard" toolbar, an invisible marker right behind it and a stamp entry at
// the end of the Insert menu, types the stamp when either is clicked, and
// deletes the three controls when the window closes.
//
// A click holds the wrapper (when a shared_ptr owns it) until the click is
// handled: the wait for the keystrokes pumps messages, and a window that
// closes and another that opens meanwhile make Connect drop this wrapper.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "common/host/CommandBars.h"
#include "common/host/EventSource.h"

namespace cq {

// The Tag of the marker control that tells later wrappers a bar is taken.
inline constexpr std::string_view kWrapperTag = "Quintor.Inkwell.Button";
// The Id of the Insert menu on the "Menu Bar".
inline constexpr std::int32_t kInsertMenuId = 30005;
// The built-in face used where the host takes no bitmaps (Outlook 2000).
inline constexpr std::int32_t kStampFaceId = 125;

class CInspectorWrapper : public std::enable_shared_from_this<CInspectorWrapper> {
  public:
    CInspectorWrapper();
    // Runs Done once more.
    ~CInspectorWrapper();
    CInspectorWrapper(const CInspectorWrapper&) = delete;
    CInspectorWrapper& operator=(const CInspectorWrapper&) = delete;

    // Binds the wrapper to the window and creates its controls. Always true.
    // Never throws.
    bool Init(const Dispatch& oInspector);
    // Lets go of the window and deletes the controls; any number of times.
    // Never throws.
    void Done();
    // The window, or Nothing once Done has run.
    Dispatch GetInspector() const { return m_oInspector.object(); }

  private:
    void m_oInspector_Close();
    void m_btnMain_Click(std::span<Variant> args);
    void m_btnMain2_Click(std::span<Variant> args);

    void AddGUI();
    void SetFace(const CommandBarButton& btn);
    void SetBtnPicAndMask(const CommandBarButton& btn, const Dispatch& picture,
                          const Dispatch& mask);
    void InsertStamp();

    EventSource m_oInspector;
    EventSource m_btnMain;
    EventSource m_btnMain2;
    CommandBarButton m_btnTag;
    std::int32_t m_lStampKind = 0;
};

}  // namespace cq

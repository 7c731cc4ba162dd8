#pragma once
// One window of a scripted Office application: a real top-level window whose
// upper part (the "strip") the host paints (title, menus, toolbars, ribbon,
// envelope) and whose editor is a multi-line EDIT control filling the rest.
// When it is the active window its editor has the keyboard focus, so that
// keystrokes typed by an add-in land in it.

#include <windows.h>

#include <functional>
#include <string>

namespace cq::test::e2e {

class HostWindow {
  public:
    struct Handlers {
        // Paints the strip; `area` is the strip's rectangle in client coordinates.
        std::function<void(HDC dc, const RECT& area)> paintStrip;
        // The user asked to close the window (WM_CLOSE). The owner ends the
        // window by destroying this object.
        std::function<void()> closeRequested;
    };

    HostWindow(const std::string& title, int stripHeight, Handlers handlers);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND handle() const { return window_; }
    HWND editor() const { return editor_; }

    // Brings the window to the front and gives its editor the focus.
    void activate();
    // The editor's whole text (UTF-8, line breaks as CR LF).
    std::string text() const;
    void setText(const std::string& text);
    // Puts `text` at the end of the editor (no keystrokes) and the caret after it.
    void append(const std::string& text);
    // The strip's height; the editor fills the rest.
    void setStripHeight(int height);
    // Repaints the strip.
    void invalidate();
    // Asks the window to close as the user would (WM_CLOSE).
    void requestClose();

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void layout();
    void paint();

    Handlers handlers_;
    int stripHeight_;
    HWND window_ = nullptr;
    HWND editor_ = nullptr;
    HFONT font_ = nullptr;
};

// Runs the messages of this thread for `milliseconds` (at least one pass).
void pumpMessages(DWORD milliseconds);

}  // namespace cq::test::e2e

#include "tests/e2e/HostWindow.h"

#include "common/HostError.h"
#include "common/win32/Text.h"

namespace cq::test::e2e {
namespace {

constexpr wchar_t kClassName[] = L"ChronoquillScriptedWindow";
constexpr int kWidth = 720;
constexpr int kHeight = 420;
constexpr int kEditorId = 100;

void registerClass(WNDPROC procedure) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc))
        throw HostError(static_cast<std::int32_t>(GetLastError()), "RegisterClassEx failed");
    registered = true;
}

}  // namespace

void pumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds) break;
        MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds - spent, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    } while (true);
}

HostWindow::HostWindow(const std::string& title, int stripHeight, Handlers handlers)
    : handlers_(std::move(handlers)), stripHeight_(stripHeight) {
    registerClass(&HostWindow::windowProc);
    window_ = CreateWindowExW(0, kClassName, win32::toWide(title).c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, kWidth, kHeight,
                              nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!window_)
        throw HostError(static_cast<std::int32_t>(GetLastError()), "CreateWindowEx failed");
    editor_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0,
        10, 10, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)),
        GetModuleHandleW(nullptr), nullptr);
    if (!editor_) {
        DestroyWindow(window_);
        throw HostError(static_cast<std::int32_t>(GetLastError()), "the editor was not created");
    }
    // No limit on what is typed (an EDIT control takes 32767 characters by default).
    SendMessageW(editor_, EM_SETLIMITTEXT, 0, 0);
    font_ = CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    if (font_) SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    layout();
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

HostWindow::~HostWindow() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (font_) DeleteObject(font_);
}

void HostWindow::activate() {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    SetFocus(editor_);
    pumpMessages(20);
}

std::string HostWindow::text() const {
    const int length = GetWindowTextLengthW(editor_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(editor_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return win32::fromWide(text);
}

void HostWindow::setText(const std::string& text) {
    SetWindowTextW(editor_, win32::toWide(text).c_str());
    const int end = GetWindowTextLengthW(editor_);
    SendMessageW(editor_, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
}

void HostWindow::append(const std::string& text) {
    const int end = GetWindowTextLengthW(editor_);
    SendMessageW(editor_, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
    SendMessageW(editor_, EM_REPLACESEL, FALSE,
                 reinterpret_cast<LPARAM>(win32::toWide(text).c_str()));
}

void HostWindow::setStripHeight(int height) {
    stripHeight_ = height;
    layout();
    invalidate();
}

void HostWindow::invalidate() {
    RECT strip;
    GetClientRect(window_, &strip);
    strip.bottom = stripHeight_;
    InvalidateRect(window_, &strip, TRUE);
}

void HostWindow::requestClose() { SendMessageW(window_, WM_CLOSE, 0, 0); }

void HostWindow::layout() {
    RECT client;
    GetClientRect(window_, &client);
    MoveWindow(editor_, 0, stripHeight_, client.right, client.bottom - stripHeight_, TRUE);
}

void HostWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    RECT client;
    GetClientRect(window_, &client);
    RECT strip = {0, 0, client.right, stripHeight_};
    // Painted off screen first, so that the strip never flickers half drawn.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, strip.right, strip.bottom > 0 ? strip.bottom : 1);
    HGDIOBJ old = SelectObject(memory, bitmap);
    FillRect(memory, &strip, GetSysColorBrush(COLOR_BTNFACE));
    if (handlers_.paintStrip) {
        try {
            handlers_.paintStrip(memory, strip);
        } catch (...) {
            // A failing paint leaves the plain strip.
        }
    }
    BitBlt(dc, 0, 0, strip.right, strip.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(window_, &ps);
}

LRESULT CALLBACK HostWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<HostWindow*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT HostWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (editor_) layout();
            return 0;
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETFOCUS:
            if (editor_) SetFocus(editor_);
            return 0;
        case WM_CLOSE:
            if (handlers_.closeRequested) {
                // The handler may destroy this object: nothing of it is used afterwards.
                try {
                    handlers_.closeRequested();
                } catch (...) {
                    // Nothing may leave a window procedure; the window stays.
                }
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace cq::test::e2e

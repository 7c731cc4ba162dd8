// A click on the stamp button of an open item window until the stamp is in
// the window's editor, against raw SendInput of the same characters.
//
// The real Chronoquill.dll runs from a scratch copy of bin/ whose
// Chronoquill.ini asks for "yyyy-MM-dd HH:mm:ss": with the space after it, 20
// characters. It is registered with regsvr32, created by ProgID and connected
// to an in-memory Outlook 2003 exported as COM; a new mail window is opened and
// Click is fired at its stamp button, whose handler composes the stamp and
// types it into the focused EDIT control of this thread (SendInput, then
// pumping until processed). The floor sends the same 20 characters as one
// SendInput batch of Unicode key events and pumps until they are processed.
// Both sides check the editor's text after every round; it is emptied before
// each round, outside the timing.
//
//   click_bench.exe [rounds]

#include <windows.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchPaths.h"
#include "bench/BenchMain.h"
#include "bench/AddinRegistration.h"
#include "bench/ConnectedOutlook.h"
#include "bench/Rounds.h"
#include "common/host/CommandBars.h"
#include "common/win32/Text.h"
#include "tests/doubles/FakeOutlook.h"

namespace cq::bench {
namespace {

using win32::ComPtr;

constexpr char kSettings[] = "format=datetime\r\ndateformat=yyyy-MM-dd\r\ntimeformat=HH:mm:ss\r\n";
// "2026-12-06 09:05:07" and one space; digits where the picture has them.
constexpr wchar_t kStampForm[] = L"0000-00-00 00:00:00 ";
constexpr std::size_t kStampLength = sizeof kStampForm / sizeof kStampForm[0] - 1;
constexpr DWORD kDeliveryLimitMs = 5000;

bool hasStampForm(const std::wstring& text) {
    if (text.size() != kStampLength) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= L'0' && text[i] <= L'9';
        if (kStampForm[i] == L'0' ? !digit : text[i] != kStampForm[i]) return false;
    }
    return true;
}

// A copy of the add-in's folder (the DLL and its support library) with the
// settings file beside the DLL, made anew at every run. It stays: the support
// library, once loaded, is not let go before the process ends.
class ScratchAddinFolder {
  public:
    ScratchAddinFolder(const std::wstring& from, std::wstring folder) : folder_(std::move(folder)) {
        CreateDirectoryW(folder_.c_str(), nullptr);
        for (const wchar_t* file : kFiles) {
            if (!CopyFileW((from + L"\\" + file).c_str(), (folder_ + L"\\" + file).c_str(), FALSE))
                throw std::runtime_error("cannot copy " + win32::fromWide(from + L"\\" + file));
        }
        HANDLE ini = CreateFileW(settingsPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        const bool ok = ini != INVALID_HANDLE_VALUE &&
                        WriteFile(ini, kSettings, sizeof kSettings - 1, &written, nullptr);
        if (ini != INVALID_HANDLE_VALUE) CloseHandle(ini);
        if (!ok) throw std::runtime_error("cannot write Chronoquill.ini");
    }
    std::wstring dll() const { return folder_ + L"\\Chronoquill.dll"; }

  private:
    std::wstring settingsPath() const { return folder_ + L"\\Chronoquill.ini"; }
    static constexpr const wchar_t* kFiles[] = {L"Chronoquill.dll", L"LibQuintor.dll"};
    std::wstring folder_;
};

// A visible window of this thread with a focused single-line EDIT control.
class Editor {
  public:
    Editor() {
        window_ = CreateWindowExW(0, L"STATIC", L"click bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  10, 10, 600, 100, nullptr, nullptr, nullptr, nullptr);
        edit_ = window_ ? CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                          5, 5, 580, 30, window_, nullptr, nullptr, nullptr)
                        : nullptr;
        if (edit_ == nullptr) throw std::runtime_error("cannot create the EDIT control");
        SetForegroundWindow(window_);
        SetFocus(edit_);
        settle();
        if (GetFocus() != edit_) throw std::runtime_error("the EDIT control has no focus");
    }
    ~Editor() { DestroyWindow(window_); }
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    void clear() {
        SetWindowTextW(edit_, L"");
        settle();
    }
    std::wstring text() const {
        std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
        t.resize(static_cast<std::size_t>(GetWindowTextW(edit_, t.data(), int(t.size()))));
        return t;
    }

  private:
    // Lets everything queued for this thread go through.
    static void settle() {
        for (int i = 0; i < 3; ++i) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            Sleep(1);
        }
    }

    HWND window_ = nullptr;
    HWND edit_ = nullptr;
};

bool isKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
           message == WM_SYSKEYUP;
}

// The floor: one SendInput batch of Unicode key events for `text`, then this
// thread's messages pumped until every key message went through and no input
// is queued. Microseconds.
double typeRaw(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        for (DWORD up : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = static_cast<WORD>(c);
            in.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(in);
        }
    }
    const auto start = Clock::now();
    const UINT count = static_cast<UINT>(inputs.size());
    if (SendInput(count, inputs.data(), sizeof(INPUT)) != count)
        throw std::runtime_error("SendInput failed");
    const DWORD deadline = GetTickCount() + kDeliveryLimitMs;
    std::size_t seen = 0;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (isKeyMessage(msg.message)) ++seen;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (seen >= count && HIWORD(GetQueueStatus(QS_INPUT)) == 0) break;
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0)
            throw std::runtime_error("raw keystrokes not processed in time");
        MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    return microsSince(start);
}

SideBySide measure(int rounds) {
    Editor editor;
    ConnectedOutlook session;
    test::FakeOutlook& outlook = session.outlook();

    // A new mail window; its stamp button is the control on "Standard" that
    // listens for clicks.
    test::FakeInspector& mail = outlook.openInspector(test::OutlookItem::NewMail);
    test::FakeObject* button = nullptr;
    for (test::FakeObject* c : mail.bars->controls(*mail.standardBar()))
        if (c->subscribers(kCommandBarButtonEvents) > 0) button = c;
    if (button == nullptr) throw std::runtime_error("the mail window got no stamp button");

    std::wstring stamp;
    auto click = [&] {
        editor.clear();
        const auto start = Clock::now();
        mail.bars->click(*button);
        const double took = microsSince(start);
        stamp = editor.text();
        if (!hasStampForm(stamp))
            throw std::runtime_error("the click typed \"" + win32::fromWide(stamp) + "\"");
        return took;
    };
    auto raw = [&] {
        const std::wstring expected = stamp;
        editor.clear();
        const double took = typeRaw(expected);
        if (editor.text() != expected)
            throw std::runtime_error("raw input gave \"" + win32::fromWide(editor.text()) + "\"");
        return took;
    };

    // Warm-up: the first click reads the settings file and stores the tooltip.
    click();
    raw();
    std::printf("stamp typed: \"%s\" (%zu characters)\n", win32::fromWide(stamp).c_str(),
                stamp.size());
    const SideBySide sides = alternate(rounds, click, raw);

    outlook.closeInspector(mail);
    session.shutdown();
    return sides;
}

int run(int argc, char** argv) {
    const int rounds = roundsFrom(argc, argv, 31);
    const ScratchAddinFolder folder(windowsPath(CQ_BENCH_OUTLOOK_DIR),
                                    programFolder() + L"\\click_bench_scratch");
    const AddinRegistration registration(folder.dll(), L"Chronoquill.Connect");
    const SideBySide sides = measure(rounds);
    report("click", "Click on the stamp button until typed", "raw SendInput of the 20 characters",
           sides, 1.2);
    return 0;
}

}  // namespace
}  // namespace cq::bench

int main(int argc, char** argv) {
    return cq::bench::runInApartment("click_bench", cq::bench::run, argc, argv);
}

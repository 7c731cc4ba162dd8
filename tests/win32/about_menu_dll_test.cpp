// The real LibQuintor.dll's About entry in an in-memory Outlook exported
// through real IDispatch and connection points: the entry, the About window
// it opens (read from the module it was given, closed with Escape or Enter),
// and every reference let go when the window closes or the library is
// unloaded. This program carries the Outlook add-in's resources.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/win32/Text.h"
#include "outlook/LibQuintorInitInfo.h"
#include "tests/doubles/FakeOutlook.h"
#include "tests/hosts/ComExport.h"

namespace cq::test {
namespace {

using win32::fromWide;
using win32::toWide;

using InitExFn = LONG(WINAPI*)(HINSTANCE, LibQuintorInitInfo*);
using AddAboutMenuFn = LONG(WINAPI*)(HINSTANCE, void*);

std::string exeFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return fromWide(folder.substr(0, folder.find_last_of(L'\\')));
}

std::string textOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return fromWide(text);
}

std::string classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return fromWide(name);
}

// What the About window showed, read from another thread while it is open.
struct SeenWindow {
    std::string title;
    std::vector<std::string> texts;  // the selectable lines, in order
    std::string button;
    bool picture = false;
    HWND owner = nullptr;
};

// Waits for this process's dialog window, reads it and presses `key` in it,
// as the user would: the key goes to the control that has the focus.
class AboutWindowWatcher {
  public:
    explicit AboutWindowWatcher(WORD key)
        : key_(key), ui_(GetCurrentThreadId()), thread_([this] { watch(); }) {}
    ~AboutWindowWatcher() { finish(); }
    const SeenWindow& finish() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return seen_;
    }
    bool found() const { return found_; }

  private:
    static BOOL CALLBACK findDialog(HWND window, LPARAM param) {
        auto* found = reinterpret_cast<HWND*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
            classOf(window) == "#32770") {
            *found = window;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK readChild(HWND child, LPARAM param) {
        auto* seen = reinterpret_cast<SeenWindow*>(param);
        const std::string cls = classOf(child);
        if (cls == "Edit") seen->texts.push_back(textOf(child));
        if (cls == "Button") seen->button = textOf(child);
        if (cls == "Static" && SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0)
            seen->picture = true;
        return TRUE;
    }

    void watch() {
        for (int i = 0; i < 500 && !found_ && !stop_; ++i) {
            HWND dialog = nullptr;
            EnumWindows(&findDialog, reinterpret_cast<LPARAM>(&dialog));
            if (dialog == nullptr) {
                Sleep(20);
                continue;
            }
            Sleep(100);
            seen_.title = textOf(dialog);
            seen_.owner = GetWindow(dialog, GW_OWNER);
            EnumChildWindows(dialog, &readChild, reinterpret_cast<LPARAM>(&seen_));
            GUITHREADINFO gui = {sizeof gui};
            GetGUIThreadInfo(ui_, &gui);
            HWND focus = gui.hwndFocus != nullptr ? gui.hwndFocus : dialog;
            PostMessageW(focus, WM_KEYDOWN, key_, 1);
            PostMessageW(focus, WM_KEYUP, key_, 0xC0000001);
            found_ = true;
        }
    }

    WORD key_;
    DWORD ui_;
    SeenWindow seen_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> found_{false};
    std::thread thread_;
};

// A plain top-level window standing for the explorer window on the screen.
class ExplorerWindow {
  public:
    ExplorerWindow() {
        window_ = CreateWindowExW(0, L"STATIC", L"Inbox - Microsoft Outlook",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 800, 600, nullptr,
                                  nullptr, nullptr, nullptr);
        SetForegroundWindow(window_);
        SetActiveWindow(window_);
    }
    ~ExplorerWindow() { DestroyWindow(window_); }
    HWND handle() const { return window_; }

  private:
    HWND window_;
};

class AboutMenuDllTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        const std::string tag =
            std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count_);
        copy_ = std::string(temp) + "LibQuintor-about-" + tag + ".dll";
        ASSERT_TRUE(CopyFileA((exeFolder() + "\\LibQuintor.dll").c_str(), copy_.c_str(), FALSE));
        library_ = LoadLibraryW(toWide(copy_).c_str());
        ASSERT_NE(library_, nullptr);
        logName_ = "about-test-" + tag + ".log";
        wchar_t appData[MAX_PATH] = {};
        GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
        logPath_ = fromWide(appData) + "\\Quintor\\Inkwell\\" + logName_;
    }
    void TearDown() override {
        unload();
        DeleteFileA(copy_.c_str());
        DeleteFileA(logPath_.c_str());
    }

    void unload() {
        if (library_ != nullptr) FreeLibrary(library_);
        library_ = nullptr;
    }

    template <class Fn>
    Fn fn(const char* name) {
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(library_, name)));
    }

    // Starts the library for `module` (this program by default).
    void start(HINSTANCE module = GetModuleHandleW(nullptr)) {
        LibQuintorInitInfo info;
        info.cbSize = kLibQuintorInitInfoSize;
        info.lLogLevel = 1;
        info.bAboutMenu = -1;
        info.lUrlStringId = 601;
        info.lMakerStringId = 602;
        info.lNameStringId = 603;
        info.pszLogName = logName_.c_str();
        ASSERT_EQ(fn<InitExFn>("LibQuintorInitEx")(module, &info), 0);
    }
    LONG addAboutMenu(FakeObject& explorer, HINSTANCE module = nullptr) {
        IDispatch* exported = export_.exportObject(explorer);
        const LONG result = fn<AddAboutMenuFn>("LibQuintorAddAboutMenu")(module, exported);
        exported->Release();
        return result;
    }

    // The entries tagged as the library's on the explorer's Help menu.
    std::vector<FakeObject*> entries(FakeObject& explorer) {
        FakeCommandBars& bars = outlook_.explorerBars(explorer);
        std::vector<FakeObject*> found;
        FakeObject& help = bars.popupBar(*bars.controls(*bars.bar("Menu Bar")).back());
        for (FakeObject* c : bars.controls(help))
            if (bars.property(*c, "Tag").toString() == "Quintor.LibQuintor.About")
                found.push_back(c);
        return found;
    }

    void addThenEnd(const std::function<void(FakeObject& explorer)>& end);

    // The lines of the log, each as its fields after the time.
    std::vector<std::string> logLines() {
        std::ifstream in(logPath_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(line.find('\t') + 1));
        return lines;
    }

    static inline int count_ = 0;
    std::string copy_, logName_, logPath_;
    HMODULE library_ = nullptr;
    FakeOffice office_;
    FakeOutlook outlook_{office_, 11};
    ComExport export_;
};

// One entry however often the window is handed over; then `end` happens:
// the entry is deleted and no reference is left.
void AboutMenuDllTest::addThenEnd(const std::function<void(FakeObject& explorer)>& end) {
    start();
    FakeObject& explorer = outlook_.addExplorer();
    EXPECT_EQ(addAboutMenu(explorer), 0);
    EXPECT_EQ(addAboutMenu(explorer), 0);
    const std::vector<FakeObject*> found = entries(explorer);
    ASSERT_EQ(found.size(), 1u);
    FakeCommandBars& bars = outlook_.explorerBars(explorer);
    EXPECT_EQ(bars.property(*found[0], "Caption").toString(), "About Chronoquill...");
    EXPECT_TRUE(bars.isTemporary(*found[0]));
    EXPECT_EQ(found[0]->subscribers("{000C0351-0000-0000-C000-000000000046}"), 1);
    EXPECT_GT(office_.liveReferences(), 0);

    end(explorer);
    EXPECT_TRUE(bars.isDeleted(*found[0]));
    EXPECT_EQ(office_.liveReferences(), 0) << office_.referenced();
    EXPECT_EQ(ComExport::live(), 0);
}

TEST_F(AboutMenuDllTest, TheEntryGoesWithItsWindow) {
    addThenEnd([&](FakeObject& explorer) { outlook_.closeExplorer(explorer); });
}

TEST_F(AboutMenuDllTest, TheEntryGoesWithTheLibrary) {
    addThenEnd([&](FakeObject&) { unload(); });
}

TEST_F(AboutMenuDllTest, AClickShowsTheAboutWindowOverTheExplorerUntilEscapeOrEnter) {
    const struct {
        const char* key;
        WORD code;
    } keys[] = {{"Escape", VK_ESCAPE}, {"Enter", VK_RETURN}};
    start();
    FakeObject& explorer = outlook_.addExplorer();
    ASSERT_EQ(addAboutMenu(explorer), 0);
    ExplorerWindow window;
    for (const auto& k : keys) {
        SCOPED_TRACE(k.key);
        AboutWindowWatcher watcher(k.code);
        outlook_.explorerBars(explorer).click(*entries(explorer).at(0));
        const SeenWindow& seen = watcher.finish();
        ASSERT_TRUE(watcher.found());
        EXPECT_EQ(seen.title, "About Chronoquill");
        EXPECT_EQ(seen.texts,
                  (std::vector<std::string>{"Chronoquill", "Version 1.0.1", "Quintor", "Inkwell",
                                            "https://www.quintor.example/inkwell"}));
        EXPECT_EQ(seen.button, "OK");
        EXPECT_TRUE(seen.picture);
        EXPECT_EQ(seen.owner, window.handle());
    }
    for (const std::string& line : logLines())
        EXPECT_EQ(line.rfind("3\t", 0), std::string::npos) << line;
}

TEST_F(AboutMenuDllTest, WhatTheModuleLacksIsLeftOutAndLoggedOnce) {
    // A module without the add-in's strings and bitmap.
    HINSTANCE other = GetModuleHandleW(L"kernel32.dll");
    start(other);
    FakeObject& explorer = outlook_.addExplorer();
    ASSERT_EQ(addAboutMenu(explorer, other), 0);
    ExplorerWindow window;
    AboutWindowWatcher watcher(VK_ESCAPE);
    outlook_.explorerBars(explorer).click(*entries(explorer).at(0));
    const SeenWindow& seen = watcher.finish();
    ASSERT_TRUE(watcher.found());
    EXPECT_FALSE(seen.picture);
    EXPECT_EQ(seen.button, "OK");

    std::vector<std::string> errors;
    for (const std::string& line : logLines())
        if (line.rfind("3\t", 0) == 0) errors.push_back(line);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("LibQuintor::AboutMenu_Click"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("string 602, string 603, string 601, bitmap LOGO_ABOUT"),
              std::string::npos)
        << errors[0];
}

}  // namespace
}  // namespace cq::test

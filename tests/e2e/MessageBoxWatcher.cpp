#include "tests/e2e/MessageBoxWatcher.h"

#include "common/win32/Text.h"
#include "tests/e2e/Screenshot.h"

namespace cq::test::e2e {
namespace {

std::string windowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return win32::fromWide(text);
}

std::string className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return win32::fromWide(name);
}

struct Search {
    DWORD process;
    std::vector<HWND> boxes;
};

BOOL CALLBACK collectBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window) && className(window) == "#32770")
        search->boxes.push_back(window);
    return TRUE;
}

BOOL CALLBACK collectText(HWND child, LPARAM param) {
    auto* texts = reinterpret_cast<std::string*>(param);
    const std::string cls = className(child);
    if (cls == "Static" || (cls == "Edit" && (GetWindowLongW(child, GWL_STYLE) & ES_READONLY))) {
        std::string text = windowText(child);
        if (!text.empty()) {
            if (!texts->empty()) *texts += "\n";
            *texts += text;
        }
    }
    return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(std::string screenshotPrefix, int firstNumber, BoxClose close)
    : screenshotPrefix_(std::move(screenshotPrefix)),
      firstNumber_(firstNumber),
      close_(close),
      process_(GetCurrentProcessId()),
      thread_([this] { watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() { finish(); }

std::vector<SeenBox> MessageBoxWatcher::finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

void MessageBoxWatcher::watch() {
    while (!stop_) {
        Search search{process_, {}};
        EnumWindows(&collectBox, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.boxes)
            if (!handled_.count(box)) handle(box);
        Sleep(30);
    }
}

void MessageBoxWatcher::handle(HWND box) {
    handled_.insert(box);
    // Let the box paint before it is read and pictured.
    Sleep(150);
    HWND owner = GetWindow(box, GW_OWNER);
    SeenBox seen{windowText(box), {}, owner != nullptr ? windowText(owner) : ""};
    EnumChildWindows(box, &collectText, reinterpret_cast<LPARAM>(&seen.text));
    if (!screenshotPrefix_.empty()) {
        try {
            std::size_t n;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                n = seen_.size() + static_cast<std::size_t>(firstNumber_);
            }
            saveWindowBitmap(box, screenshotPrefix_ + std::to_string(n) + ".bmp", seen.title);
        } catch (...) {
            // The box is read and closed all the same.
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(seen);
    }
    if (close_ == BoxClose::kOk) {
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return;
    }
    // The key goes where the keyboard focus is, through the box's own loop.
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    HWND focus =
        GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &gui) && gui.hwndFocus != nullptr
            ? gui.hwndFocus
            : box;
    PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

}  // namespace cq::test::e2e

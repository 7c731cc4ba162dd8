#include "tests/e2e/ScriptedHost.h"

#include <windows.h>
#include <shellapi.h>

#include <cctype>
#include <chrono>
#include <cstdlib>

#include "common/HostError.h"
#include "common/win32/Text.h"
#include "tests/e2e/HostOutput.h"
#include "tests/e2e/HostWindow.h"
#include "tests/e2e/MessageBoxWatcher.h"
#include "tests/e2e/PumpedCall.h"
#include "tests/e2e/ResourceCounts.h"
#include "tests/e2e/Screenshot.h"

namespace cq::test::e2e {
namespace {

using Clock = std::chrono::steady_clock;

int toNumber(const std::string& text, const std::string& what) {
    char* end = nullptr;
    long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0') throw HostError(5, what + " is not a number: " + text);
    return static_cast<int>(n);
}

bool fileExists(const std::string& path) {
    return GetFileAttributesW(win32::toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void writeFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileW(win32::toWide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw HostError(static_cast<std::int32_t>(GetLastError()), "cannot write " + path);
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok) throw HostError(static_cast<std::int32_t>(GetLastError()), "cannot write " + path);
}

std::string readFile(const std::string& path) {
    HANDLE file = CreateFileW(win32::toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw HostError(static_cast<std::int32_t>(GetLastError()), "cannot read " + path);
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        content.append(buffer, got);
    CloseHandle(file);
    return content;
}

std::string readRegistryDefault(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExW(root, win32::toWide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t), type = 0;
    const LONG rc =
        RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    return win32::fromWide(value);
}

struct ModifierName {
    const char* name;
    WORD vk;      // the left-hand key, which the commands press
    WORD either;  // the key that is down when either side is
};
constexpr ModifierName kModifierNames[] = {{"shift", VK_LSHIFT, VK_SHIFT},
                                           {"ctrl", VK_LCONTROL, VK_CONTROL},
                                           {"alt", VK_LMENU, VK_MENU},
                                           {"win", VK_LWIN, VK_RWIN}};

// Presses or releases a modifier key ("shift", "ctrl", "alt", "win") with
// SendInput, as a user's keyboard would.
void pressKey(const std::string& name, bool up) {
    for (const ModifierName& m : kModifierNames) {
        if (name != m.name) continue;
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = m.vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(m.vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (m.vk == VK_LWIN ? KEYEVENTF_EXTENDEDKEY : 0);
        if (SendInput(1, &in, sizeof in) != 1)
            throw HostError(static_cast<std::int32_t>(GetLastError()), "SendInput failed");
        return;
    }
    throw HostError(5, "no modifier key " + name);
}

// The modifier keys down now, by name, or "none".
std::string keysHeld() {
    std::string held;
    for (const ModifierName& m : kModifierNames) {
        const bool down =
            (GetAsyncKeyState(m.vk) & 0x8000) || (GetAsyncKeyState(m.either) & 0x8000);
        if (down) held += (held.empty() ? "" : " ") + std::string(m.name);
    }
    return held.empty() ? "none" : held;
}

std::string iniPath() { return moduleFolderOf("Chronoquill.Connect") + "\\Chronoquill.ini"; }

// The command written in the arguments from `first` on.
Command innerCommand(const Command& outer, std::size_t first) {
    if (outer.args.size() <= first) throw HostError(5, outer.name + " needs a command");
    Command inner;
    inner.name = outer.args[first];
    for (char& ch : inner.name)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    inner.args.assign(outer.args.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                      outer.args.end());
    inner.line = outer.rest(first);
    return inner;
}

}  // namespace

HostOptions parseHostOptions() {
    HostOptions options;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) return options;
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(win32::fromWide(argv[i]));
    LocalFree(argv);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--version" && i + 1 < args.size()) {
            options.version = toNumber(args[++i], "--version");
        } else if (a == "--script" && i + 1 < args.size()) {
            for (Command& c : parseScript(readFile(args[++i]))) options.commands.push_back(c);
        } else if (a == "--box-shots" && i + 1 < args.size()) {
            options.boxShots = args[++i];
        } else if (a == "--box-escape") {
            options.boxEscape = true;
        } else {
            Command c = parseCommand(a);
            if (!c.name.empty()) options.commands.push_back(std::move(c));
        }
    }
    return options;
}

std::string moduleFolderOf(const std::string& progId) {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(win32::toWide(progId).c_str(), &clsid);
    if (FAILED(hr)) throw HostError(static_cast<std::int32_t>(hr), progId + " is not registered");
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    const std::string key = "CLSID\\" + win32::fromWide(text) + "\\InprocServer32";
    std::string path = readRegistryDefault(HKEY_CURRENT_USER, "Software\\Classes\\" + key);
    if (path.empty()) path = readRegistryDefault(HKEY_CLASSES_ROOT, key);
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) throw HostError(5, progId + " has no module path");
    return path.substr(0, slash);
}

long long typeWithSendInput(const std::string& text) {
    const std::wstring wide = win32::toWide(text);
    std::vector<INPUT> inputs;
    for (wchar_t unit : wide) {
        for (DWORD up : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = static_cast<WORD>(unit);
            in.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(in);
        }
    }
    const auto start = Clock::now();
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw HostError(static_cast<std::int32_t>(GetLastError()), "SendInput failed");
    // Until every key went through this thread's queue, or a quiet moment.
    std::size_t seen = 0;
    auto lastKey = Clock::now();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
                ++seen;
                lastKey = Clock::now();
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (HIWORD(GetQueueStatus(QS_INPUT)) == 0 &&
            (seen >= inputs.size() || Clock::now() - lastKey > std::chrono::milliseconds(250)))
            break;
        MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
}

ScriptedHost::ScriptedHost(HostOptions options) : options_(std::move(options)) {}
ScriptedHost::~ScriptedHost() = default;

int ScriptedHost::run() {
    for (const Command& command : options_.commands) {
        if (quit_) break;
        runCommand(command);
    }
    return complaints();
}

void ScriptedHost::runCommand(const Command& command) {
    try {
        if (!dispatch(command)) complain("unknown command: " + command.line);
    } catch (const HostError& e) {
        complain(command.line + ": " + e.description() + " (" + std::to_string(e.number()) + ")");
    } catch (const std::exception& e) {
        complain(command.line + ": " + e.what());
    }
}

HostWindow& ScriptedHost::requireWindow() {
    HostWindow* window = activeWindow();
    if (window == nullptr) throw HostError(5, "no window is open");
    return *window;
}

void ScriptedHost::userAction(const std::function<void()>& action) {
    if (HostWindow* window = activeWindow()) window->activate();
    std::vector<SeenBox> boxes;
    {
        MessageBoxWatcher watcher(options_.boxShots, boxCount_ + 1,
                                  options_.boxEscape ? BoxClose::kEscape : BoxClose::kOk);
        action();
        pumpMessages(10);
        boxes = watcher.finish();
    }
    boxCount_ += static_cast<int>(boxes.size());
    for (const SeenBox& box : boxes) {
        say("message-box: title=" + quoted(box.title) + " text=" + quoted(box.text));
        if (!box.owner.empty()) say("message-box owner: " + quoted(box.owner));
    }
    if (HostWindow* window = activeWindow()) window->invalidate();
}

bool ScriptedHost::dispatch(const Command& command) { return common(command) || handle(command); }

bool ScriptedHost::common(const Command& c) {
    if (c.name == "timed" || c.name == "repeat") {
        const bool timed = c.name == "timed";
        const int times = timed ? 1 : toNumber(c.arg(0), "repeat");
        const Command inner = innerCommand(c, timed ? 0 : 1);
        const auto start = Clock::now();
        auto report = [&] {
            if (!timed) return;
            const auto spent =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
            say("timed " + std::to_string(spent.count()) + " ms: " + inner.line);
        };
        try {
            for (int i = 0; i < times; ++i)
                if (!dispatch(inner)) throw HostError(5, "unknown command: " + inner.line);
        } catch (...) {
            report();
            throw;
        }
        report();
    } else if (c.name == "wait") {
        pumpMessages(static_cast<DWORD>(toNumber(c.arg(0, "100"), "wait")));
    } else if (c.name == "wait-file") {
        const int limit = toNumber(c.arg(1, "60000"), "wait-file");
        const DWORD start = GetTickCount();
        while (!fileExists(c.arg(0))) {
            if (GetTickCount() - start > static_cast<DWORD>(limit))
                throw HostError(1460,
                                "no file " + c.arg(0) + " after " + std::to_string(limit) + " ms");
            pumpMessages(20);
        }
        say("file " + c.arg(0) + " is there");
    } else if (c.name == "ready") {
        writeFile(c.arg(0), "ready\r\n");
        say("ready");
    } else if (c.name == "set-ini") {
        std::string content;
        for (const std::string& a : c.args)
            for (const std::string& line : splitLines(a)) content += line + "\r\n";
        const std::string path = iniPath();
        writeFile(path, content);
        say("settings written: " + quoted(content));
    } else if (c.name == "delete-ini") {
        DeleteFileW(win32::toWide(iniPath()).c_str());
        say("settings removed");
    } else if (c.name == "echo") {
        say(c.rest(0));
    } else if (c.name == "print-editor") {
        say("editor: " + quoted(requireWindow().text()));
    } else if (c.name == "append-editor") {
        std::string text;
        const std::vector<std::string> lines = splitLines(c.rest(0));
        for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
        requireWindow().append(text);
    } else if (c.name == "resources") {
        say("resources: " + describe(sampleResources()));
    } else if (c.name == "pid") {
        const std::string pid = std::to_string(GetCurrentProcessId());
        if (!c.args.empty()) writeFile(c.arg(0), pid);
        say("pid " + pid);
    } else if (c.name == "set-editor") {
        requireWindow().setText(c.rest(0));
        say("editor set");
    } else if (c.name == "type") {
        HostWindow& window = requireWindow();
        window.activate();
        const long long spent = typeWithSendInput(c.rest(0));
        say("typed " + std::to_string(win32::toWide(c.rest(0)).size()) + " characters in " +
            std::to_string(spent) + " us");
    } else if (c.name == "screenshot") {
        HostWindow& window = requireWindow();
        window.activate();
        saveWindowBitmap(window.handle(), c.arg(0));
        say("screenshot " + c.arg(0));
    } else if (c.name == "activate") {
        activateWindow(toNumber(c.arg(0), "window"));
    } else if (c.name == "close-window") {
        closeWindow(c.args.empty() ? 0 : toNumber(c.arg(0), "window"));
    } else if (c.name == "hover") {
        setHover(c.rest(0));
    } else if (c.name == "show-menu") {
        setOpenMenu(c.rest(0));
    } else if (c.name == "when-pumped") {
        // The command runs at the next message pumped: inside the add-in's
        // wait for its keystrokes when a click comes next.
        if (!pumped_) pumped_ = std::make_unique<PumpedCall>();
        pumped_->post([this, inner = innerCommand(c, 0)] { runCommand(inner); });
    } else if (c.name == "key-down" || c.name == "key-up") {
        pressKey(c.arg(0), c.name == "key-up");
        pumpMessages(50);
    } else if (c.name == "keys-held") {
        say("keys held: " + keysHeld());
    } else if (c.name == "refs") {
        printReferences();
    } else if (c.name == "quit") {
        quit_ = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace cq::test::e2e

#include "common/win32/Win32KeySender.h"

#include "common/HostError.h"

#include <algorithm>
#include <array>

namespace cq::win32 {
namespace {

using Clock = std::chrono::steady_clock;

// When no keystroke has arrived in this thread's queue for this long, the
// focused window belongs to another thread and waiting longer tells nothing.
constexpr std::chrono::milliseconds kQuietPeriod{250};

struct ModifierKey {
    std::uint8_t bit;
    WORD vk;
};
constexpr std::array<ModifierKey, 3> kModifierKeys{
    {{kShift, VK_SHIFT}, {kCtrl, VK_CONTROL}, {kAlt, VK_MENU}}};

// The modifier keys whose state a batch keeps, left and right apart.
constexpr std::array<WORD, 8> kSidedModifiers{VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL,
                                              VK_LMENU,  VK_RMENU,  VK_LWIN,     VK_RWIN};

// A key no keyboard has: pressed while Alt or a Windows key is down, it makes
// the next release of that key a combination rather than a tap of it alone.
constexpr WORD kMaskKey = 0xE8;

bool isExtended(WORD vk) {
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE ||
           vk == VK_SNAPSHOT || vk == VK_NUMLOCK || vk == VK_CANCEL || vk == VK_RCONTROL ||
           vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN;
}

INPUT keyInput(WORD vk, WORD scan, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    return in;
}

class Batch {
  public:
    void holdModifiers(std::uint8_t wanted) {
        for (auto it = kModifierKeys.rbegin(); it != kModifierKeys.rend(); ++it) {
            if ((held_ & it->bit) && !(wanted & it->bit)) virtualKey(it->vk, KEYEVENTF_KEYUP);
        }
        for (const auto& m : kModifierKeys) {
            if (!(held_ & m.bit) && (wanted & m.bit)) virtualKey(m.vk, 0);
        }
        held_ = wanted;
    }

    void press(WORD vk) {
        virtualKey(vk, 0);
        virtualKey(vk, KEYEVENTF_KEYUP);
    }

    void character(char32_t cp) {
        if (cp < 0x10000) {
            unit(static_cast<WORD>(cp));
        } else {
            cp -= 0x10000;
            unit(static_cast<WORD>(0xD800 + (cp >> 10)));
            unit(static_cast<WORD>(0xDC00 + (cp & 0x3FF)));
        }
    }

    std::vector<INPUT> take() { return std::move(inputs_); }

  private:
    void virtualKey(WORD vk, DWORD flags) {
        const WORD scan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        inputs_.push_back(keyInput(vk, scan, flags | (isExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0)));
    }
    void unit(WORD utf16) {
        inputs_.push_back(keyInput(0, utf16, KEYEVENTF_UNICODE));
        inputs_.push_back(keyInput(0, utf16, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }

    std::vector<INPUT> inputs_;
    std::uint8_t held_ = 0;
};

bool isKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
           message == WM_SYSKEYUP;
}

// Pumps this thread's messages until `expected` key messages went through it
// and no input is queued any more, or no keystroke came for a while; false
// when the time limit passed first. The limit holds for every message: a
// queue that never runs dry (a timer or a window that posts to itself without
// end) cannot keep the caller here.
bool pumpUntilProcessed(std::size_t expected, std::chrono::milliseconds timeLimit) {
    const auto start = Clock::now();
    const auto deadline = start + timeLimit;
    auto lastKey = start;
    std::size_t seen = 0;
    for (;;) {
        MSG msg;
        while (Clock::now() < deadline && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The thread is being ended: leave the request for its own loop.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return true;
            }
            if (isKeyMessage(msg.message)) {
                ++seen;
                lastKey = Clock::now();
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const auto now = Clock::now();
        if (HIWORD(GetQueueStatus(QS_INPUT)) == 0 &&
            (seen >= expected || now - lastKey >= kQuietPeriod)) {
            return true;
        }
        if (now >= deadline) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        const auto wait = std::clamp<long long>(left.count(), 1, 10);
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

INPUT sidedKey(WORD vk, DWORD flags) {
    const WORD scan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    return keyInput(vk, scan, flags | (isExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0));
}

bool masksATap(WORD vk) {
    return vk == VK_LMENU || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN;
}

void releaseModifiers() {
    std::array<INPUT, 3> ups{};
    for (std::size_t i = 0; i < kModifierKeys.size(); ++i) {
        const WORD vk = kModifierKeys[i].vk;
        ups[i] =
            keyInput(vk, static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), KEYEVENTF_KEYUP);
    }
    SendInput(static_cast<UINT>(ups.size()), ups.data(), sizeof(INPUT));
}

}  // namespace

std::vector<INPUT> Win32KeySender::inputsFor(std::span<const KeyEvent> keys) {
    Batch batch;
    for (const KeyEvent& key : keys) {
        if (key.kind == KeyEvent::Kind::NamedKey) {
            batch.holdModifiers(key.modifiers);
            batch.press(key.virtualKey);
            continue;
        }
        const SHORT layout = (key.modifiers != 0 && key.character < 0x10000)
                                 ? VkKeyScanW(static_cast<WCHAR>(key.character))
                                 : SHORT(-1);
        if (layout != -1 && LOBYTE(layout) != 0xFF) {
            // Shift, Ctrl and Alt have the same bits in VkKeyScan's high byte.
            batch.holdModifiers(key.modifiers | (HIBYTE(layout) & (kShift | kCtrl | kAlt)));
            batch.press(LOBYTE(layout));
        } else {
            batch.holdModifiers(key.modifiers);
            batch.character(key.character);
        }
    }
    batch.holdModifiers(0);
    return batch.take();
}

std::vector<WORD> Win32KeySender::heldModifiers() {
    std::vector<WORD> held;
    for (WORD vk : kSidedModifiers)
        if (GetAsyncKeyState(vk) & 0x8000) held.push_back(vk);
    return held;
}

std::vector<INPUT> Win32KeySender::aroundHeldModifiers(std::span<const WORD> held,
                                                       std::vector<INPUT> batch) {
    if (held.empty()) return batch;
    const bool masked = std::ranges::any_of(held, masksATap);
    std::vector<INPUT> out;
    out.reserve(batch.size() + 2 * held.size() + 4);
    const auto mask = [&] {
        if (!masked) return;
        out.push_back(keyInput(kMaskKey, 0, 0));
        out.push_back(keyInput(kMaskKey, 0, KEYEVENTF_KEYUP));
    };
    mask();
    for (WORD vk : held) out.push_back(sidedKey(vk, KEYEVENTF_KEYUP));
    out.insert(out.end(), batch.begin(), batch.end());
    for (WORD vk : held) out.push_back(sidedKey(vk, 0));
    mask();
    return out;
}

void Win32KeySender::send(std::span<const KeyEvent> keys, std::chrono::milliseconds timeLimit) {
    if (keys.empty()) return;
    // The held keys are pressed again at the end even when the user lets go
    // of one while the batch runs: without a keyboard hook, that release
    // cannot be told from the batch's own.
    std::vector<INPUT> inputs = aroundHeldModifiers(heldModifiers(), inputsFor(keys));
    const UINT count = static_cast<UINT>(inputs.size());
    const UINT sent = SendInput(count, inputs.data(), sizeof(INPUT));
    if (sent != count) {
        const DWORD error = GetLastError();
        if (sent != 0) releaseModifiers();  // never leave Shift, Ctrl or Alt down
        throw HostError(static_cast<std::int32_t>(error), "keystrokes could not be sent");
    }
    if (!pumpUntilProcessed(count, timeLimit)) {
        throw HostError(static_cast<std::int32_t>(ERROR_TIMEOUT),
                        "keystrokes were not processed in time");
    }
}

}  // namespace cq::win32

#include "common/win32/Win32KeySender.h"

#include "common/HostError.h"
#include "common/win32/Text.h"

#include <algorithm>
#include <array>

namespace cq::win32 {
namespace {

using Clock = std::chrono::steady_clock;

// When no keystroke has arrived in this thread's queue for this long, the
// focused window belongs to another thread and waiting longer tells nothing.
constexpr std::chrono::milliseconds kQuietPeriod{250};

// The modifier keys whose state a batch keeps, left and right apart.
constexpr std::array<WORD, 8> kSidedModifiers{VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL,
                                              VK_LMENU,  VK_RMENU,  VK_LWIN,     VK_RWIN};

// A key no keyboard has: pressed while Alt or a Windows key is down, it makes
// the next release of that key a combination rather than a tap of it alone.
constexpr WORD kMaskKey = 0xE8;

INPUT keyInput(WORD vk, WORD scan, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    return in;
}

INPUT modifierKey(WORD vk, DWORD flags) {
    const bool extended = vk == VK_RCONTROL || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN;
    const WORD scan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    return keyInput(vk, scan, flags | (extended ? KEYEVENTF_EXTENDEDKEY : 0));
}

bool masksATap(WORD vk) {
    return vk == VK_LMENU || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN;
}

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

// The left and right Shift, Ctrl, Alt and Windows keys that are down now.
std::vector<WORD> heldModifiers() {
    std::vector<WORD> held;
    for (WORD vk : kSidedModifiers)
        if (GetAsyncKeyState(vk) & 0x8000) held.push_back(vk);
    return held;
}

}  // namespace

std::vector<INPUT> Win32KeySender::inputsFor(std::string_view text) {
    std::vector<INPUT> inputs;
    for (wchar_t unit : toWide(text)) {
        const WORD u = static_cast<WORD>(unit);
        inputs.push_back(keyInput(0, u, KEYEVENTF_UNICODE));
        inputs.push_back(keyInput(0, u, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    return inputs;
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
    for (WORD vk : held) out.push_back(modifierKey(vk, KEYEVENTF_KEYUP));
    out.insert(out.end(), batch.begin(), batch.end());
    for (WORD vk : held) out.push_back(modifierKey(vk, 0));
    mask();
    return out;
}

void Win32KeySender::send(std::string_view text, std::chrono::milliseconds timeLimit) {
    if (text.empty()) return;
    // The held keys are pressed again at the end even when the user lets go
    // of one while the batch runs: without a keyboard hook, that release
    // cannot be told from the batch's own.
    const std::vector<WORD> held = heldModifiers();
    std::vector<INPUT> inputs = aroundHeldModifiers(held, inputsFor(text));
    const UINT count = static_cast<UINT>(inputs.size());
    const UINT sent = SendInput(count, inputs.data(), sizeof(INPUT));
    if (sent != count) {
        const DWORD error = GetLastError();
        if (sent != 0 && !held.empty()) {
            // Cut short after the held keys were let go: they go down again.
            std::vector<INPUT> again = aroundHeldModifiers(held, {});
            again.erase(again.begin(),
                        again.begin() + static_cast<std::ptrdiff_t>(again.size() / 2));
            SendInput(static_cast<UINT>(again.size()), again.data(), sizeof(INPUT));
        }
        throw HostError(static_cast<std::int32_t>(error), "keystrokes could not be sent");
    }
    if (!pumpUntilProcessed(count, timeLimit)) {
        throw HostError(static_cast<std::int32_t>(ERROR_TIMEOUT),
                        "keystrokes were not processed in time");
    }
}

}  // namespace cq::win32

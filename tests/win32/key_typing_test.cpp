#include "common/Port.h"
#include "common/SendTextAsKeys.h"
#include "common/win32/Text.h"
#include "common/win32/Win32KeySender.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace cq::win32 {
namespace {

using namespace std::chrono_literals;

// A visible window of the test's thread with a focused single-line EDIT control.
class KeyTyping : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = CreateWindowExW(0, L"STATIC", L"key typing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                  10, 900, 120, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 880,
                                30, window_, nullptr, nullptr, nullptr);
        ASSERT_NE(edit_, nullptr);
        SetForegroundWindow(window_);
        SetFocus(edit_);
        pump(100ms);
        ASSERT_EQ(GetFocus(), edit_);
    }
    void TearDown() override {
        if (window_ != nullptr) DestroyWindow(window_);
    }

    static void pump(std::chrono::milliseconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < end) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            Sleep(5);
        }
    }

    // What the EDIT control holds right now, without pumping any message.
    std::string editText() const {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(edit_, text.data(), int(text.size()))));
        return fromWide(text);
    }

    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    Win32KeySender sender_;
};

TEST_F(KeyTyping, TextArrivesExactlyAndCompleteWhenTheCallReturns) {
    ScopedPort<KeySender> port(sender_);
    const std::string texts[] = {
        "a+b^c%d~e(f)g[h]i{j}k \xC3\xA9\xE2\x82\xAC 12:30 ",
        "\xF0\x9F\x98\x80 \xC3\x84\xC3\xB6\xC3\x9F \xE6\x97\xA5 ",
        std::string(50, 'x') + "0123456789()+^%~[]{}" + std::string(50, 'y') + " ",
    };
    for (const std::string& text : texts) {
        SetWindowTextW(edit_, L"");
        SendTextAsKeys(text);
        EXPECT_EQ(editText(), text);  // complete on return
        pump(200ms);
        EXPECT_EQ(editText(), text);  // and followed by nothing else
    }
}

// Presses or releases one key as the keyboard would.
void sendKey(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) |
                    (vk == VK_RMENU || vk == VK_RCONTROL ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &in, sizeof in);
}

bool isDown(WORD vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

TEST_F(KeyTyping, ModifiersHeldAtTheClickNeitherChangeTheTextNorGetLost) {
    ScopedPort<KeySender> port(sender_);
    const std::string text = "Di 8. Dez 2026 09:05 (x) ";
    for (WORD vk : {VK_LSHIFT, VK_LCONTROL, VK_LMENU, VK_RMENU}) {
        SetWindowTextW(edit_, L"");
        sendKey(vk, false);
        pump(50ms);
        ASSERT_TRUE(isDown(vk)) << vk;
        SendTextAsKeys(text);
        EXPECT_EQ(editText(), text) << "held " << vk;
        EXPECT_TRUE(isDown(vk)) << "pressed again after the text: " << vk;
        sendKey(vk, true);
        pump(50ms);
        EXPECT_EQ(GetFocus(), edit_) << "no menu opened after " << vk;
        EXPECT_EQ(editText(), text) << "released " << vk;
    }
}

TEST(KeyInputs, HeldModifiersAreReleasedBeforeAndPressedAfter) {
    const std::vector<INPUT> batch = Win32KeySender::inputsFor("a");
    constexpr WORD kMask = 0xE8, kA = 0;
    const struct {
        std::vector<WORD> held;
        std::vector<std::pair<WORD, bool>> keys;  // virtual key, released
    } cases[] = {
        {{}, {{kA, false}, {kA, true}}},
        {{VK_LSHIFT}, {{VK_LSHIFT, true}, {kA, false}, {kA, true}, {VK_LSHIFT, false}}},
        {{VK_LCONTROL, VK_RSHIFT},
         {{VK_LCONTROL, true},
          {VK_RSHIFT, true},
          {kA, false},
          {kA, true},
          {VK_LCONTROL, false},
          {VK_RSHIFT, false}}},
        // Alt and Windows are let go and taken up behind the mask key.
        {{VK_LMENU},
         {{kMask, false},
          {kMask, true},
          {VK_LMENU, true},
          {kA, false},
          {kA, true},
          {VK_LMENU, false},
          {kMask, false},
          {kMask, true}}},
        {{VK_LWIN},
         {{kMask, false},
          {kMask, true},
          {VK_LWIN, true},
          {kA, false},
          {kA, true},
          {VK_LWIN, false},
          {kMask, false},
          {kMask, true}}},
    };
    for (const auto& c : cases) {
        const std::vector<INPUT> inputs = Win32KeySender::aroundHeldModifiers(c.held, batch);
        ASSERT_EQ(inputs.size(), c.keys.size()) << c.held.size();
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            EXPECT_EQ(inputs[i].ki.wVk, c.keys[i].first) << i;
            EXPECT_EQ((inputs[i].ki.dwFlags & KEYEVENTF_KEYUP) != 0, c.keys[i].second) << i;
        }
    }
}

TEST(KeyInputs, CharactersAreUnicodeEvents) {
    // "a" then a character outside the BMP: two UTF-16 units, each pressed and released.
    auto inputs = Win32KeySender::inputsFor("a\xF0\x9F\x98\x80");
    ASSERT_EQ(inputs.size(), 6u);
    const WORD units[] = {L'a', L'a', 0xD83D, 0xD83D, 0xDE00, 0xDE00};
    for (size_t i = 0; i < inputs.size(); ++i) {
        EXPECT_EQ(inputs[i].type, DWORD(INPUT_KEYBOARD));
        EXPECT_EQ(inputs[i].ki.wVk, 0);
        EXPECT_EQ(inputs[i].ki.wScan, units[i]);
        EXPECT_EQ(inputs[i].ki.dwFlags, DWORD(KEYEVENTF_UNICODE | (i % 2 ? KEYEVENTF_KEYUP : 0)));
    }
}

}  // namespace
}  // namespace cq::win32

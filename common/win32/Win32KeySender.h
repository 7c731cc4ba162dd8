#pragma once
// The KeySender of Windows: one SendInput batch, then the calling thread's
// messages are pumped until the keystrokes have been processed.

#include "common/KeySender.h"

#include <windows.h>

#include <vector>

namespace cq::win32 {

class Win32KeySender final : public KeySender {
  public:
    void send(std::span<const KeyEvent> keys, std::chrono::milliseconds timeLimit) override;

    // The input batch for `keys`: characters as Unicode key events (UTF-16, a
    // surrogate pair as two), named keys as virtual keys, modifiers pressed
    // before and released after the keys that carry them. A character with
    // modifiers is sent as the virtual key the keyboard layout has for it, so
    // that ^c is Ctrl+C.
    static std::vector<INPUT> inputsFor(std::span<const KeyEvent> keys);
};

}  // namespace cq::win32

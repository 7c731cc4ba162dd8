#pragma once
// The KeySender of Windows: one SendInput batch, then the calling thread's
// messages are pumped until the keystrokes have been processed.
//
// Modifier keys still held when the batch starts (Shift after a Shift-click,
// Alt after a menu entry chosen from the keyboard, keys held by a tool that
// sent the click) would turn the text into shortcuts and menu keys. The batch
// therefore releases them first and presses them again at its end, so that
// the keyboard is left as the user holds it. Alt and the Windows keys are
// released and pressed again behind an unassigned key, so that neither the
// release nor the user's own later release counts as a tap of that key alone
// (which opens the menu bar or the Start menu).

#include "common/KeySender.h"

#include <windows.h>

#include <span>
#include <string_view>
#include <vector>

namespace cq::win32 {

class Win32KeySender final : public KeySender {
  public:
    void send(std::string_view text, std::chrono::milliseconds timeLimit) override;

    // The input batch for `text`: each UTF-16 unit as a Unicode key event,
    // pressed and released (a character beyond U+FFFF as its surrogate
    // pair), independent of the keyboard layout.
    static std::vector<INPUT> inputsFor(std::string_view text);

    // `batch` with `held` released before it and pressed again after it.
    static std::vector<INPUT> aroundHeldModifiers(std::span<const WORD> held,
                                                  std::vector<INPUT> batch);
};

}  // namespace cq::win32

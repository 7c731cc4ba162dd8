#pragma once
// Typing a text at the caret: each character is sent as a keystroke of its
// own to the focused window through the KeySender port.

#include <string>

namespace cq {

// Types a UTF-8 text into the focused window and returns after the keystrokes
// were processed. An empty text sends nothing. Never throws: when no sender is
// installed or sending fails, nothing is typed.
void SendTextAsKeys(const std::string& text) noexcept;

}  // namespace cq

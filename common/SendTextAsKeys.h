#pragma once
// Typing a text at the caret: the text is escaped for the key-sequence syntax
// and sent as keystrokes to the focused window through the KeySender port.

#include <string>
#include <string_view>

namespace cq {

// The characters with a meaning in the key-sequence syntax.
inline constexpr std::string_view kKeySpecialCharacters = "()+^%~[]{}";

// The text with each of "()+^%~[]{}" enclosed in braces ("a+b" -> "a{+}b"), so
// that the key-sequence syntax reads every character as itself.
std::string EscapeKeys(std::string_view text);

// Types a UTF-8 text into the focused window and returns after the keystrokes
// were processed. An empty text sends nothing. Never throws: when no sender is
// installed or sending fails, nothing is typed.
void SendTextAsKeys(const std::string& text) noexcept;

}  // namespace cq

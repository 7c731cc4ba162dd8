#pragma once
// The key-sequence syntax in which keystrokes are written, and its parser.
//
//   a é €         a character stands for itself (any Unicode character, UTF-8)
//   {+} {{} {}}   a character in braces stands for itself; needed for ( ) + ^ % ~ [ ] { }
//   {ENTER} {BS}  a named key (names are case-insensitive); ~ is Enter
//   + ^ %         Shift, Ctrl, Alt for the next key, or for a group in ( )
//   {a 3} {LEFT 2} {+ 5}   a key repeated
//
// The parser yields the keystrokes as KeyEvents. Malformed text yields an error
// and no keystrokes at all, so that nothing half-typed ever reaches an editor.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cq {

// Modifier bits of a KeyEvent.
inline constexpr std::uint8_t kShift = 0x1;
inline constexpr std::uint8_t kCtrl = 0x2;
inline constexpr std::uint8_t kAlt = 0x4;

// Largest count of a repetition such as {a 1000}.
inline constexpr unsigned kMaxKeyRepeat = 1000;
// Largest number of keystrokes one key sequence may produce.
inline constexpr std::size_t kMaxKeyEvents = 100000;

struct KeyEvent {
    enum class Kind : std::uint8_t { Character, NamedKey };

    Kind kind = Kind::Character;
    char32_t character = 0;        // Kind::Character: the Unicode code point
    std::uint16_t virtualKey = 0;  // Kind::NamedKey: the Windows virtual-key code
    std::uint8_t modifiers = 0;    // kShift | kCtrl | kAlt

    static KeyEvent Char(char32_t c, std::uint8_t modifiers = 0) {
        return {Kind::Character, c, 0, modifiers};
    }
    static KeyEvent Key(std::uint16_t vk, std::uint8_t modifiers = 0) {
        return {Kind::NamedKey, 0, vk, modifiers};
    }
    bool operator==(const KeyEvent&) const = default;
};

struct KeySyntaxError {
    std::size_t offset = 0;  // byte offset in the key text where the fault was found
    std::string message;
    bool operator==(const KeySyntaxError&) const = default;
};

struct ParsedKeys {
    std::vector<KeyEvent> events;         // empty whenever error is set
    std::optional<KeySyntaxError> error;  // set when the text is malformed
    bool ok() const { return !error.has_value(); }
};

// Parses a key sequence. Never throws for malformed text (see ParsedKeys::error).
ParsedKeys ParseKeys(std::string_view keys);

// The virtual-key code of a key name ("ENTER", "bs", "F12", ...), nullopt when unknown.
std::optional<std::uint16_t> VirtualKeyOfName(std::string_view name);

// The usual name of a named key's virtual-key code ("ENTER", "BS", "F12", ...),
// empty when the code is not one of the named keys.
std::string_view KeyNameOf(std::uint16_t virtualKey);

}  // namespace cq

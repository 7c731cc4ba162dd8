#include "common/KeySyntax.h"

#include <algorithm>
#include <array>
#include <new>

namespace cq {
namespace {

struct NamedKey {
    std::string_view name;
    std::uint16_t vk;
};

// The first name of each virtual-key code is its usual name.
constexpr std::array<NamedKey, 40> kNamedKeys{{
    {"BS", 0x08},     {"BACKSPACE", 0x08}, {"BKSP", 0x08},    {"TAB", 0x09},        {"ENTER", 0x0D},
    {"BREAK", 0x03},  {"CAPSLOCK", 0x14},  {"ESC", 0x1B},     {"PGUP", 0x21},       {"PGDN", 0x22},
    {"END", 0x23},    {"HOME", 0x24},      {"LEFT", 0x25},    {"UP", 0x26},         {"RIGHT", 0x27},
    {"DOWN", 0x28},   {"PRTSC", 0x2C},     {"INS", 0x2D},     {"INSERT", 0x2D},     {"DEL", 0x2E},
    {"DELETE", 0x2E}, {"HELP", 0x2F},      {"NUMLOCK", 0x90}, {"SCROLLLOCK", 0x91}, {"F1", 0x70},
    {"F2", 0x71},     {"F3", 0x72},        {"F4", 0x73},      {"F5", 0x74},         {"F6", 0x75},
    {"F7", 0x76},     {"F8", 0x77},        {"F9", 0x78},      {"F10", 0x79},        {"F11", 0x7A},
    {"F12", 0x7B},    {"F13", 0x7C},       {"F14", 0x7D},     {"F15", 0x7E},        {"F16", 0x7F},
}};

constexpr std::uint16_t kEnter = 0x0D;
constexpr char32_t kReplacement = 0xFFFD;

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto up = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; };
               return up(x) == up(y);
           });
}

// Decodes the UTF-8 character at `pos`. A malformed sequence gives U+FFFD for
// its first byte, so that decoding always moves on.
char32_t decodeAt(std::string_view s, std::size_t pos, std::size_t& length) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(pos);
    length = 1;
    if (b0 < 0x80) return b0;
    std::size_t n;
    char32_t cp, min;
    if ((b0 & 0xE0) == 0xC0) {
        n = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return kReplacement;
    }
    if (pos + n > s.size()) return kReplacement;
    for (std::size_t i = 1; i < n; ++i) {
        const unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80) return kReplacement;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    length = n;
    return cp;
}

class Parser {
  public:
    explicit Parser(std::string_view text) : s_(text) {}

    ParsedKeys run() {
        std::vector<std::uint8_t> groups;  // modifiers in force in each open group
        std::uint8_t pending = 0;          // modifier prefixes waiting for their key
        std::size_t modifierAt = 0;
        while (pos_ < s_.size() && !error_) {
            const std::uint8_t base = groups.empty() ? 0 : groups.back();
            const char c = s_[pos_];
            if (c == '+' || c == '^' || c == '%') {
                if (pending == 0) modifierAt = pos_;
                pending |= c == '+' ? kShift : c == '^' ? kCtrl : kAlt;
                ++pos_;
            } else if (c == '(') {
                groups.push_back(base | pending);
                groupAt_.push_back(pos_);
                pending = 0;
                ++pos_;
            } else if (c == ')') {
                if (pending != 0) return fail(modifierAt, "modifier without a key");
                if (groups.empty()) return fail(pos_, "\")\" without \"(\"");
                groups.pop_back();
                groupAt_.pop_back();
                ++pos_;
            } else if (c == '}') {
                return fail(pos_, "\"}\" without \"{\"");
            } else if (c == '{') {
                braced(base | pending);
                pending = 0;
            } else if (c == '~') {
                emit(KeyEvent::Key(kEnter, base | pending), 1);
                pending = 0;
                ++pos_;
            } else {
                std::size_t length;
                const char32_t cp = decodeAt(s_, pos_, length);
                emit(KeyEvent::Char(cp, base | pending), 1);
                pending = 0;
                pos_ += length;
            }
        }
        if (error_) return result();
        if (pending != 0) return fail(modifierAt, "modifier without a key");
        if (!groups.empty()) return fail(groupAt_.back(), "\"(\" without \")\"");
        return result();
    }

  private:
    // {c}, {c n}, {NAME} or {NAME n} at pos_. The first character after "{"
    // always belongs to the name, so that {}} and {} 3} name the brace itself.
    void braced(std::uint8_t modifiers) {
        const std::size_t open = pos_;
        const std::size_t nameAt = open + 1;
        if (nameAt >= s_.size()) return failAt(open, "\"{\" without \"}\"");
        std::size_t length;
        const char32_t first = decodeAt(s_, nameAt, length);
        const std::size_t close = s_.find('}', nameAt + length);
        if (close == std::string_view::npos) return failAt(open, "\"{\" without \"}\"");

        std::size_t nameEnd = s_.find(' ', nameAt + length);
        if (nameEnd > close) nameEnd = close;
        const std::string_view name = s_.substr(nameAt, nameEnd - nameAt);

        unsigned count = 1;
        if (nameEnd < close) {
            const std::string_view digits = s_.substr(nameEnd + 1, close - nameEnd - 1);
            if (digits.empty()) return failAt(nameEnd + 1, "missing repeat count");
            count = 0;
            for (char d : digits) {
                if (d < '0' || d > '9') return failAt(nameEnd + 1, "repeat count is not a number");
                count = count * 10 + unsigned(d - '0');
                if (count > kMaxKeyRepeat) return failAt(nameEnd + 1, "repeat count too large");
            }
        }

        KeyEvent event;
        if (name.size() == length) {
            event = KeyEvent::Char(first, modifiers);
        } else if (auto vk = VirtualKeyOfName(name)) {
            event = KeyEvent::Key(*vk, modifiers);
        } else {
            return failAt(nameAt, "unknown key name");
        }
        pos_ = close + 1;
        emit(event, count);
    }

    void emit(const KeyEvent& event, unsigned count) {
        if (error_) return;
        if (count > kMaxKeyEvents - events_.size()) {
            return failAt(pos_, "too many keystrokes");
        }
        events_.insert(events_.end(), count, event);
    }

    void failAt(std::size_t offset, std::string message) {
        if (!error_) error_ = KeySyntaxError{offset, std::move(message)};
    }
    ParsedKeys fail(std::size_t offset, std::string message) {
        failAt(offset, std::move(message));
        return result();
    }
    ParsedKeys result() {
        if (error_) return {{}, error_};
        return {std::move(events_), std::nullopt};
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    std::vector<std::size_t> groupAt_;
    std::vector<KeyEvent> events_;
    std::optional<KeySyntaxError> error_;
};

}  // namespace

ParsedKeys ParseKeys(std::string_view keys) {
    try {
        return Parser(keys).run();
    } catch (const std::bad_alloc&) {
        return {{}, KeySyntaxError{0, "out of memory"}};
    }
}

std::optional<std::uint16_t> VirtualKeyOfName(std::string_view name) {
    for (const auto& key : kNamedKeys) {
        if (sameName(key.name, name)) return key.vk;
    }
    return std::nullopt;
}

std::string_view KeyNameOf(std::uint16_t virtualKey) {
    for (const auto& key : kNamedKeys) {
        if (key.vk == virtualKey) return key.name;
    }
    return {};
}

}  // namespace cq

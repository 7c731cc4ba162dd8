#include "tests/doubles/RecordingKeySender.h"

#include "common/HostError.h"

namespace cq {
namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

}  // namespace

void RecordingKeySender::send(std::span<const KeyEvent> keys, std::chrono::milliseconds timeLimit) {
    ++sendCount_;
    lastTimeLimit_ = timeLimit;
    if (fail_) throw HostError(-1, "keystrokes could not be sent");
    events_.insert(events_.end(), keys.begin(), keys.end());
}

std::string RecordingKeySender::typedText() const {
    std::string out;
    for (const KeyEvent& e : events_) {
        if (e.modifiers & kShift) out += '+';
        if (e.modifiers & kCtrl) out += '^';
        if (e.modifiers & kAlt) out += '%';
        if (e.kind == KeyEvent::Kind::Character) {
            appendUtf8(out, e.character);
        } else {
            std::string_view name = KeyNameOf(e.virtualKey);
            out += '{';
            if (name.empty()) {
                out += "VK " + std::to_string(e.virtualKey);
            } else {
                out += name;
            }
            out += '}';
        }
    }
    return out;
}

void RecordingKeySender::clear() {
    events_.clear();
    sendCount_ = 0;
    lastTimeLimit_ = std::chrono::milliseconds{0};
}

}  // namespace cq

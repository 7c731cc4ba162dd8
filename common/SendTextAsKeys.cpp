#include "common/SendTextAsKeys.h"

#include "common/Guard.h"
#include "common/KeySender.h"
#include "common/KeySyntax.h"
#include "common/Port.h"

namespace cq {

std::string EscapeKeys(std::string_view text) {
    // Bytes of multi-byte UTF-8 characters are never ASCII, so a byte-wise walk
    // touches only the special characters themselves.
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (kKeySpecialCharacters.find(c) != std::string_view::npos) {
            out += '{';
            out += c;
            out += '}';
        } else {
            out += c;
        }
    }
    return out;
}

void SendTextAsKeys(const std::string& text) noexcept {
    if (text.empty()) return;
    guard([&] {
        const ParsedKeys keys = ParseKeys(EscapeKeys(text));
        if (!keys.ok() || keys.events.empty()) return;
        Port<KeySender>::get().send(keys.events, kKeyDeliveryTimeLimit);
    });
}

}  // namespace cq

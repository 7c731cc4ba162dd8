// The key-sequence syntax on arbitrary bytes.
//
// Properties: ParseKeys never crashes and never yields more than
// kMaxKeyEvents keystrokes; a malformed text yields no keystroke and an
// error inside the text. EscapeKeys then ParseKeys gives back exactly the
// text's characters, each as itself with no modifier: the code points of
// well-formed UTF-8, and U+FFFD for each byte that starts no well-formed
// sequence.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/KeySyntax.h"
#include "common/SendTextAsKeys.h"
#include "fuzz/FuzzCheck.h"

namespace {

// The characters of `text` by the well-formed byte sequences of the Unicode
// standard (its table 3-7), one U+FFFD for each byte that begins none.
std::vector<char32_t> characters(std::string_view text) {
    struct Form {
        unsigned char lead_lo, lead_hi, second_lo, second_hi;
        int length;
    };
    static constexpr Form kForms[] = {
        {0x00, 0x7F, 0, 0, 1},       {0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3},
        {0xE1, 0xEC, 0x80, 0xBF, 3}, {0xED, 0xED, 0x80, 0x9F, 3}, {0xEE, 0xEF, 0x80, 0xBF, 3},
        {0xF0, 0xF0, 0x90, 0xBF, 4}, {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4},
    };
    std::vector<char32_t> out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
        const unsigned char b = at(i);
        int length = 0;
        for (const Form& f : kForms) {
            if (b < f.lead_lo || b > f.lead_hi) continue;
            if (f.length == 1) {
                length = 1;
                break;
            }
            if (i + f.length > text.size()) break;
            bool ok = at(i + 1) >= f.second_lo && at(i + 1) <= f.second_hi;
            for (int k = 2; k < f.length; ++k) ok = ok && at(i + k) >= 0x80 && at(i + k) <= 0xBF;
            if (ok) length = f.length;
            break;
        }
        if (length == 0) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
        char32_t cp = b & kLeadBits[length];
        for (int k = 1; k < length; ++k) cp = (cp << 6) | (at(i + k) & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cq;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const ParsedKeys parsed = ParseKeys(text);
    CQ_FUZZ_CHECK(parsed.events.size() <= kMaxKeyEvents);
    if (!parsed.ok()) {
        CQ_FUZZ_CHECK(parsed.events.empty());
        CQ_FUZZ_CHECK(parsed.error->offset <= text.size());
        CQ_FUZZ_CHECK(!parsed.error->message.empty());
    }

    const std::vector<char32_t> expected = characters(text);
    const ParsedKeys typed = ParseKeys(EscapeKeys(text));
    if (expected.size() > kMaxKeyEvents) {
        CQ_FUZZ_CHECK(!typed.ok());
        return 0;
    }
    CQ_FUZZ_CHECK(typed.ok());
    CQ_FUZZ_CHECK(typed.events.size() == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        CQ_FUZZ_CHECK(typed.events[i] == KeyEvent::Char(expected[i]));
    }
    return 0;
}

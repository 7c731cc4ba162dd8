#include "outlook/SettingsText.h"

#include <gtest/gtest.h>

#include "common/Unicode.h"

namespace cq {
namespace {

using namespace std::string_literals;

// The ANSI code page of these tests: every byte is marked, so that a test
// sees whether the ANSI path was taken.
std::string markedAnsi(std::string_view bytes) { return "<ansi>" + std::string(bytes); }

// "dateformat=dd 'ł' MM" (ł is U+0142) and a Hangul literal (U+B144).
const std::string kUtf8Line = "dateformat=dd '\xC5\x82' MM '\xEB\x85\x84'";

std::string utf16(std::u16string_view text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

TEST(DecodeSettingsText, EachEncodingOfTheFile) {
    const std::u16string wide = u"dateformat=dd '\u0142' MM '\uB144'\r\n";
    const struct {
        const char* name;
        std::string bytes;
        std::string text;
    } cases[] = {
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + kUtf8Line + "\r\n", kUtf8Line + "\r\n"},
        {"UTF-8 without one", kUtf8Line + "\r\n", kUtf8Line + "\r\n"},
        {"UTF-16 little endian", utf16(wide, false), kUtf8Line + "\r\n"},
        {"UTF-16 big endian", utf16(wide, true), kUtf8Line + "\r\n"},
        {"UTF-16 with a character beyond U+FFFF", utf16(u"a=\U0001F600", false),
         "a=\xF0\x9F\x98\x80"},
        {"UTF-16 with a lone surrogate and an odd last byte", utf16(u"a\xD800z", false) + "!",
         "a\xEF\xBF\xBDz\xEF\xBF\xBD"},
        {"ANSI: an e acute that is not UTF-8", "dateformat=dd '\xE9' MM",
         "<ansi>dateformat=dd '\xE9' MM"},
        {"ANSI: a UTF-8 sequence cut short at the end", "a=\xC5", "<ansi>a=\xC5"},
        {"plain ASCII is the same either way", "format=time\r\n", "format=time\r\n"},
        {"an empty file", "", ""},
        {"only a byte-order mark", "\xEF\xBB\xBF", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeSettingsText(c.bytes, markedAnsi), c.text) << c.name;
}

TEST(Unicode, WellFormedUtf8AndItsUtf16Length) {
    const struct {
        std::string bytes;
        bool valid;
        std::size_t units;
    } cases[] = {
        {"", true, 0},
        {"abc", true, 3},
        {"\xC5\x82", true, 1},           // U+0142
        {"\xEB\x85\x84", true, 1},       // U+B144
        {"\xF0\x9F\x98\x80", true, 2},   // U+1F600, a surrogate pair
        {"\xF4\x8F\xBF\xBF", true, 2},   // U+10FFFF
        {"\xC0\xAF", false, 2},          // overlong
        {"\xE0\x80\xAF", false, 3},      // overlong
        {"\xED\xA0\x80", false, 3},      // a surrogate
        {"\xF4\x90\x80\x80", false, 4},  // above U+10FFFF
        {"\xE9", false, 1},              // Latin-1 e acute
        {"\xEB\x85", false, 2},          // cut short
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
        EXPECT_EQ(Utf16Length(c.bytes), c.units) << c.bytes;
    }
}

}  // namespace
}  // namespace cq

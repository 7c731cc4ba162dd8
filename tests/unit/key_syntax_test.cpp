#include "common/KeySyntax.h"
#include "common/SendTextAsKeys.h"
#include "tests/doubles/RecordingKeySender.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace cq {
namespace {

// The keys of a parsed sequence written back as RecordingKeySender shows them.
std::string shown(const ParsedKeys& parsed) {
    RecordingKeySender recorder;
    recorder.send(parsed.events, kKeyDeliveryTimeLimit);
    return recorder.typedText();
}

struct Case {
    const char* keys;
    const char* typed;
};

TEST(KeySyntax, ParsesWellFormedSequences) {
    const Case cases[] = {
        // literal characters, including the brackets, which need no braces
        {"", ""},
        {"abc 12:30", "abc 12:30"},
        {"[x]", "[x]"},
        {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        // braced characters
        {"{+}{^}{%}{~}{(}{)}{[}{]}{{}{}}", "+^%~()[]{}"},
        {"{a}{\xC3\xA9}{ }", "a\xC3\xA9 "},
        // named keys, any case, and their other names
        {"{ENTER}{enter}~", "{ENTER}{ENTER}{ENTER}"},
        {"{BS}{BACKSPACE}{bksp}", "{BS}{BS}{BS}"},
        {"{DEL}{Delete}{INS}{INSERT}", "{DEL}{DEL}{INS}{INS}"},
        {"{TAB}{HOME}{END}{PGUP}{PGDN}{UP}{DOWN}{LEFT}{RIGHT}{ESC}",
         "{TAB}{HOME}{END}{PGUP}{PGDN}{UP}{DOWN}{LEFT}{RIGHT}{ESC}"},
        {"{BREAK}{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{PRTSC}{HELP}",
         "{BREAK}{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{PRTSC}{HELP}"},
        {"{F1}{F9}{F10}{F16}", "{F1}{F9}{F10}{F16}"},
        // modifiers: on the next key only, combined, on braced and named keys
        {"+ab", "+ab"},
        {"^c%f", "^c%f"},
        {"+^%x", "+^%x"},
        {"^{+}+{TAB}%~", "^++{TAB}%{ENTER}"},
        // groups
        {"+(ab)c", "+a+bc"},
        {"^(a+b)", "^a+^b"},
        {"%(^(x)y)z", "^%x%yz"},
        {"()a", "a"},
        // repetition
        {"{a 3}", "aaa"},
        {"{LEFT 2}", "{LEFT}{LEFT}"},
        {"{+ 5}", "+++++"},
        {"{} 2}{{ 2}", "}}{{"},
        {"{  2}", "  "},
        {"{a 0}b", "b"},
        {"{a 007}", "aaaaaaa"},
        {"+{a 2}", "+a+a"},
    };
    for (const Case& c : cases) {
        const ParsedKeys parsed = ParseKeys(c.keys);
        ASSERT_TRUE(parsed.ok()) << c.keys << ": " << parsed.error->message;
        EXPECT_EQ(shown(parsed), c.typed) << c.keys;
    }
}

TEST(KeySyntax, NamedKeysCarryTheirVirtualKeyCodes) {
    const struct {
        const char* keys;
        std::uint16_t vk;
    } cases[] = {
        {"{BS}", 0x08},      {"{TAB}", 0x09},        {"~", 0x0D},
        {"{ENTER}", 0x0D},   {"{BREAK}", 0x03},      {"{ESC}", 0x1B},
        {"{PGUP}", 0x21},    {"{PGDN}", 0x22},       {"{END}", 0x23},
        {"{HOME}", 0x24},    {"{LEFT}", 0x25},       {"{UP}", 0x26},
        {"{RIGHT}", 0x27},   {"{DOWN}", 0x28},       {"{PRTSC}", 0x2C},
        {"{INS}", 0x2D},     {"{DEL}", 0x2E},        {"{HELP}", 0x2F},
        {"{F1}", 0x70},      {"{F16}", 0x7F},        {"{CAPSLOCK}", 0x14},
        {"{NUMLOCK}", 0x90}, {"{SCROLLLOCK}", 0x91},
    };
    for (const auto& c : cases) {
        const ParsedKeys parsed = ParseKeys(c.keys);
        ASSERT_TRUE(parsed.ok()) << c.keys;
        ASSERT_EQ(parsed.events.size(), 1u) << c.keys;
        EXPECT_EQ(parsed.events[0], KeyEvent::Key(c.vk)) << c.keys;
    }
    EXPECT_EQ(ParseKeys("+^%{F5}").events, std::vector{KeyEvent::Key(0x74, kShift | kCtrl | kAlt)});
}

TEST(KeySyntax, MalformedSequencesGiveAnErrorAndNoKeys) {
    const struct {
        const char* keys;
        std::size_t offset;
    } cases[] = {
        {"{", 0},       {"ab{", 2},    {"{}", 0},       {"{ENTER", 0},
        {"}", 0},       {"a}b", 1},    {"{}}}", 3},     {"(ab", 0},
        {"a(b(c)", 1},  {"ab)", 2},    {"+", 0},        {"a^", 1},
        {"+(a^)", 3},   {"{ENTR}", 1}, {"{F17}", 1},    {"{F0}", 1},
        {"{ab}", 1},    {"{a x}", 3},  {"{a -1}", 3},   {"{a }", 3},
        {"{a 1 2}", 3}, {"{a  3}", 3}, {"{a 1001}", 3}, {"{a 99999999999999999999}", 3},
    };
    for (const auto& c : cases) {
        const ParsedKeys parsed = ParseKeys(c.keys);
        ASSERT_FALSE(parsed.ok()) << c.keys;
        EXPECT_TRUE(parsed.events.empty()) << c.keys;
        EXPECT_EQ(parsed.error->offset, c.offset) << c.keys << ": " << parsed.error->message;
        EXPECT_FALSE(parsed.error->message.empty());
    }
}

TEST(KeySyntax, RepetitionIsBounded) {
    EXPECT_EQ(ParseKeys("{a 1000}").events.size(), kMaxKeyRepeat);
    // Many large repetitions together stay under the total bound.
    std::string many;
    for (std::size_t i = 0; i <= kMaxKeyEvents / kMaxKeyRepeat; ++i) many += "{a 1000}";
    const ParsedKeys parsed = ParseKeys(many);
    ASSERT_FALSE(parsed.ok());
    EXPECT_TRUE(parsed.events.empty());
}

TEST(KeySyntax, DeepGroupsAndLongTextsDoNotCrash) {
    EXPECT_TRUE(ParseKeys(std::string(100000, '(') + "a" + std::string(100000, ')')).ok());
    EXPECT_FALSE(ParseKeys(std::string(100000, '(')).ok());
    EXPECT_FALSE(ParseKeys(std::string(100000, '+')).ok());
}

TEST(KeySyntax, MalformedUtf8BecomesReplacementCharacters) {
    const std::vector<KeyEvent> replacement{KeyEvent::Char(0xFFFD)};
    for (const char* bad :
         {"\x80", "\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        const ParsedKeys parsed = ParseKeys(std::string("a") + bad + "b");
        ASSERT_TRUE(parsed.ok());
        ASSERT_GE(parsed.events.size(), 3u) << bad;
        EXPECT_EQ(parsed.events.front(), KeyEvent::Char('a'));
        EXPECT_EQ(parsed.events[1], KeyEvent::Char(0xFFFD)) << bad;
        EXPECT_EQ(parsed.events.back(), KeyEvent::Char('b'));
    }
}

// Whatever the text, its escaped form parses to exactly its characters.
void expectRoundTrip(const std::string& text) {
    const ParsedKeys parsed = ParseKeys(EscapeKeys(text));
    ASSERT_TRUE(parsed.ok()) << text;
    for (const KeyEvent& e : parsed.events) {
        ASSERT_EQ(e.kind, KeyEvent::Kind::Character) << text;
        ASSERT_EQ(e.modifiers, 0) << text;
    }
    EXPECT_EQ(shown(parsed), text);
}

TEST(KeySyntax, EscapedTextParsesToItsCharacters) {
    const std::vector<std::string> alphabet = {"(",
                                               ")",
                                               "+",
                                               "^",
                                               "%",
                                               "~",
                                               "[",
                                               "]",
                                               "{",
                                               "}",
                                               " ",
                                               "a",
                                               "Z",
                                               "0",
                                               ":",
                                               ".",
                                               "-",
                                               "/",
                                               ",",
                                               "\t",
                                               "\n",
                                               "\xC3\xA9",
                                               "\xC3\x9F",
                                               "\xE2\x82\xAC",
                                               "\xE6\x97\xA5",
                                               "\xF0\x9F\x98\x80",
                                               "\xF4\x8F\xBF\xBF",
                                               "{ENTER}",
                                               "{a 3}",
                                               "ENTER"};
    for (const std::string& one : alphabet) expectRoundTrip(one);
    expectRoundTrip("()+^%~[]{}");
    expectRoundTrip("a+b^c%d~e(f)g[h]i{j}k \xC3\xA9\xE2\x82\xAC 12:30 ");

    std::mt19937 random(20240501);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int i = 0; i < 2000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) text += alphabet[pick(random)];
        expectRoundTrip(text);
    }
}

}  // namespace
}  // namespace cq

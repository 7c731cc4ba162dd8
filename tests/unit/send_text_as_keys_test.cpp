#include "common/Port.h"
#include "common/SendTextAsKeys.h"
#include "tests/doubles/RecordingKeySender.h"

#include <gtest/gtest.h>

namespace cq {
namespace {

TEST(EscapeKeys, EnclosesEachSpecialCharacterInBraces) {
    const struct {
        const char* text;
        const char* sent;
    } cases[] = {
        {"a+b", "a{+}b"},
        {"{x}", "{{}x{}}"},
        {"50%", "50{%}"},
        {"12:30", "12:30"},
        {"{}", "{{}{}}"},
        {"", ""},
        {"01.02.2024 13:45:00", "01.02.2024 13:45:00"},
        {"(Mo) 1.2.", "{(}Mo{)} 1.2."},
        {"()+^%~[]{}", "{(}{)}{+}{^}{%}{~}{[}{]}{{}{}}"},
        {"\xC3\xA9\xE2\x82\xAC~", "\xC3\xA9\xE2\x82\xAC{~}"},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeKeys(c.text), c.sent) << c.text;
}

TEST(SendTextAsKeys, TypesTheTextWithWait) {
    RecordingKeySender keys;
    ScopedPort<KeySender> port(keys);
    SendTextAsKeys("a+b^c%d~e(f)g[h]i{j}k \xC3\xA9\xE2\x82\xAC 12:30 ");
    EXPECT_EQ(keys.typedText(), "a+b^c%d~e(f)g[h]i{j}k \xC3\xA9\xE2\x82\xAC 12:30 ");
    EXPECT_EQ(keys.sendCount(), 1);
    EXPECT_EQ(keys.lastTimeLimit(), kKeyDeliveryTimeLimit);
    for (const KeyEvent& e : keys.events()) {
        EXPECT_EQ(e.kind, KeyEvent::Kind::Character);
        EXPECT_EQ(e.modifiers, 0);
    }
}

TEST(SendTextAsKeys, EmptyTextSendsNothing) {
    RecordingKeySender keys;
    ScopedPort<KeySender> port(keys);
    SendTextAsKeys("");
    EXPECT_EQ(keys.sendCount(), 0);
}

TEST(SendTextAsKeys, FailuresTypeNothingAndDoNotThrow) {
    EXPECT_NO_THROW(SendTextAsKeys("no sender installed "));

    RecordingKeySender keys;
    ScopedPort<KeySender> port(keys);
    keys.failSends(true);
    EXPECT_NO_THROW(SendTextAsKeys("12:30 "));
    EXPECT_EQ(keys.sendCount(), 1);
    EXPECT_EQ(keys.typedText(), "");
}

}  // namespace
}  // namespace cq

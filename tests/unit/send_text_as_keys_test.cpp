#include "common/Port.h"
#include "common/SendTextAsKeys.h"
#include "tests/doubles/RecordingKeySender.h"

#include <gtest/gtest.h>

namespace cq {
namespace {

TEST(SendTextAsKeys, TypesTheTextWithWait) {
    RecordingKeySender keys;
    ScopedPort<KeySender> port(keys);
    SendTextAsKeys("a+b^c%d~e(f)g[h]i{j}k \xC3\xA9\xE2\x82\xAC 12:30 ");
    EXPECT_EQ(keys.typedText(), "a+b^c%d~e(f)g[h]i{j}k \xC3\xA9\xE2\x82\xAC 12:30 ");
    EXPECT_EQ(keys.sendCount(), 1);
    EXPECT_EQ(keys.lastTimeLimit(), kKeyDeliveryTimeLimit);
}

TEST(SendTextAsKeys, EmptyTextSendsNothing) {
    RecordingKeySender keys;
    ScopedPort<KeySender> port(keys);
    SendTextAsKeys("");
    EXPECT_EQ(keys.sendCount(), 0);
}

TEST(SendTextAsKeys, FailuresTypeNothingAndDoNotThrow) {
    SendTextAsKeys("no sender installed ");  // noexcept: a throw would end the test

    RecordingKeySender keys;
    ScopedPort<KeySender> port(keys);
    keys.failSends(true);
    SendTextAsKeys("12:30 ");
    EXPECT_EQ(keys.sendCount(), 1);
    EXPECT_EQ(keys.typedText(), "");
}

}  // namespace
}  // namespace cq

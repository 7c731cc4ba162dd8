// The in-memory registry answers as the real one does (the same suite runs
// under Wine against the real registry), and its fault injection works.

#include "tests/suites/MemoryRegistryEnv.h"
#include "tests/suites/RegistryPortSuite.h"

namespace cq::suites {

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryPortSuite, ::testing::Types<MemoryRegistryEnv>);

TEST(MemoryRegistry, ChosenCallsFailAsToldAndAreCounted) {
    MemoryRegistry r;
    RegKey key = 0;
    r.failOn(RegOp::CreateKey, reg::kAccessDenied, "Locked", 1);
    EXPECT_EQ(r.createKeyEx(reg::kCurrentUser, "free", 0, reg::kKeyAllAccess, key, nullptr), 0);
    EXPECT_EQ(r.createKeyEx(reg::kCurrentUser, "LOCKED", 0, reg::kKeyAllAccess, key, nullptr),
              reg::kAccessDenied);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(r.createKeyEx(reg::kCurrentUser, "locked", 0, reg::kKeyAllAccess, key, nullptr), 0);
    EXPECT_EQ(r.calls(RegOp::CreateKey), 3);
    EXPECT_EQ(r.openHandles(), 2);

    r.failOn(RegOp::FlushKey, reg::kInvalidFunction);
    EXPECT_EQ(r.flushKey(key), reg::kInvalidFunction);
    EXPECT_EQ(r.flushKey(key), reg::kInvalidFunction);
    r.clearFailures();
    EXPECT_EQ(r.flushKey(key), reg::kSuccess);
}

}  // namespace cq::suites

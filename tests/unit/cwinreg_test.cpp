// CWinReg over the in-memory registry: the shared behaviour suite, and the
// failures that only the double can produce.

#include "common/CWinReg.h"
#include "common/HostError.h"
#include "tests/suites/CWinRegSuite.h"
#include "tests/suites/MemoryRegistryEnv.h"

#include <gtest/gtest.h>

namespace cq::suites {

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, CWinRegSuite, ::testing::Types<MemoryRegistryEnv>);

namespace {

constexpr const char* kBase = "Software\\Quintor\\Inkwell";

class CWinRegFaults : public ::testing::Test {
  protected:
    void makeKeys(std::initializer_list<const char*> subs) {
        for (const char* sub : subs) {
            RegKey key = 0;
            ASSERT_EQ(registry.createKeyEx(reg::kCurrentUser, std::string(kBase) + "\\" + sub, 0,
                                           reg::kKeyAllAccess, key, nullptr),
                      reg::kSuccess);
            registry.closeKey(key);
        }
    }
    bool exists(const std::string& sub) {
        RegKey key = 0;
        if (registry.openKeyEx(reg::kCurrentUser, std::string(kBase) + "\\" + sub, reg::kKeyRead,
                               key) != reg::kSuccess)
            return false;
        registry.closeKey(key);
        return true;
    }

    MemoryRegistry registry;
    ScopedPort<Registry> port{registry};
};

TEST(CWinReg, RootKeysAreThePredefinedHandles) {
    // CWinReg's 32-bit root numbers, as handles: sign-extended to the pointer's
    // width, as Windows defines its predefined keys.
    static_assert(reg::rootKey(CWinReg::HKeyCurrentUser()) == reg::kCurrentUser);
    if constexpr (sizeof(RegKey) == 8) {
        EXPECT_EQ(static_cast<std::uint64_t>(reg::kCurrentUser), 0xFFFFFFFF80000001u);
    }
}

TEST(CWinReg, WithoutARegistryEverythingFailsQuietly) {
    ASSERT_FALSE(Port<Registry>::installed());
    CWinReg r;
    EXPECT_FALSE(r.InitForWrite(CWinReg::HKeyCurrentUser(), kBase, true));
    EXPECT_FALSE(r.WriteString("Tooltip", "x"));
    EXPECT_EQ(r.ReadString("Tooltip"), "");
    EXPECT_EQ(r.ReadDword("n", 3), 0);
    EXPECT_FALSE(r.ReadBool("b"));
    EXPECT_EQ(r.ReadDate("d", DateTime{2000, 1, 1}), (DateTime{2000, 1, 1}));
    EXPECT_EQ(r.Values(0), "");
    EXPECT_EQ(r.Keys(0), "");
    EXPECT_FALSE(r.DeleteAllKeys());
    EXPECT_FALSE(r.DeleteKeyRec("x"));
    EXPECT_FALSE(r.DeleteKey("x"));
    EXPECT_FALSE(r.DeleteValue("x"));
    EXPECT_FALSE(r.FlushKey());
    EXPECT_TRUE(r.CloseKey());
}

// A registry that fails by throwing, as a broken implementation might.
TEST_F(CWinRegFaults, NothingThrownByTheRegistryEscapes) {
    struct Throwing final : Registry {
        RegStatus openKeyEx(RegKey, const std::string&, RegAccess, RegKey&) override { fail(); }
        RegStatus createKeyEx(RegKey, const std::string&, std::uint32_t, RegAccess, RegKey&,
                              std::uint32_t*) override {
            fail();
        }
        RegStatus closeKey(RegKey) override { fail(); }
        RegStatus setValueEx(RegKey, const std::string&, RegType, const std::uint8_t*,
                             std::uint32_t) override {
            fail();
        }
        RegStatus queryValueEx(RegKey, const std::string&, RegType*, std::uint8_t*,
                               std::uint32_t*) override {
            fail();
        }
        RegStatus deleteValue(RegKey, const std::string&) override { fail(); }
        RegStatus deleteKey(RegKey, const std::string&) override { fail(); }
        RegStatus flushKey(RegKey) override { fail(); }
        RegStatus enumValue(RegKey, std::uint32_t, std::string&, std::uint32_t&) override {
            fail();
        }
        RegStatus enumKeyEx(RegKey, std::uint32_t, std::string&, std::uint32_t&) override {
            fail();
        }
        [[noreturn]] static void fail() { throw HostError(5, "Access denied"); }
    } throwing;
    CWinReg r;
    ASSERT_TRUE(r.InitForWrite(CWinReg::HKeyCurrentUser(), kBase, true));
    ScopedPort<Registry> broken(throwing);
    EXPECT_FALSE(r.WriteDate("d", DateTime{2000, 1, 1}));
    EXPECT_EQ(r.ReadString("s"), "");
    EXPECT_EQ(r.ReadDword("n", 3), 3);
    EXPECT_EQ(r.Keys(0), "");
    EXPECT_FALSE(r.DeleteAllKeys());
    EXPECT_FALSE(r.CloseKey());
    EXPECT_FALSE(r.InitForRead(CWinReg::HKeyCurrentUser(), kBase));
}

TEST_F(CWinRegFaults, DeleteAllKeysIsTrueOnlyWhenEverySubkeyWent) {
    makeKeys({"a\\inner", "b", "c\\x\\y"});
    CWinReg r;
    ASSERT_TRUE(r.InitForAllAccess(CWinReg::HKeyCurrentUser(), kBase));

    registry.failOn(RegOp::DeleteKey, reg::kAccessDenied, "b");
    EXPECT_FALSE(r.DeleteAllKeys());
    EXPECT_FALSE(exists("a"));  // the others went all the same
    EXPECT_TRUE(exists("b"));
    EXPECT_FALSE(exists("c"));

    registry.clearFailures();
    makeKeys({"c\\x\\y"});
    registry.failOn(RegOp::DeleteKey, reg::kAccessDenied, "y");  // deep below "c"
    EXPECT_FALSE(r.DeleteAllKeys());
    EXPECT_FALSE(exists("b"));
    EXPECT_TRUE(exists("c\\x\\y"));

    registry.clearFailures();
    registry.failOn(RegOp::EnumKey, reg::kAccessDenied, {}, 1);  // the listing itself fails
    EXPECT_FALSE(r.DeleteAllKeys());
    EXPECT_TRUE(exists("c"));
    EXPECT_TRUE(r.DeleteAllKeys());
    EXPECT_FALSE(exists("c"));
    EXPECT_EQ(registry.openHandles(), 1);
}

TEST_F(CWinRegFaults, DeleteKeyRecReportsTheSubkeyItself) {
    makeKeys({"t\\a\\b", "t\\c"});
    CWinReg r;
    ASSERT_TRUE(r.InitForAllAccess(CWinReg::HKeyCurrentUser(), kBase));
    registry.failOn(RegOp::OpenKey, reg::kAccessDenied, "t", 1);  // subtree cannot be opened
    EXPECT_FALSE(r.DeleteKeyRec("t"));
    EXPECT_TRUE(exists("t\\a\\b"));
    EXPECT_TRUE(r.DeleteKeyRec("t"));
    EXPECT_FALSE(exists("t"));
}

TEST_F(CWinRegFaults, StringsAreReadWithA256ByteBufferFirst) {
    CWinReg r;
    ASSERT_TRUE(r.InitForWrite(CWinReg::HKeyCurrentUser(), kBase, true));
    const struct {
        std::size_t length;
        int queries;
    } table[] = {{0, 1}, {255, 1}, {256, 2}, {4000, 2}};
    for (const auto& row : table) {
        ASSERT_TRUE(r.WriteString("s", std::string(row.length, 'q')));
        const int before = registry.calls(RegOp::QueryValue);
        EXPECT_EQ(r.ReadString("s").size(), row.length);
        EXPECT_EQ(registry.calls(RegOp::QueryValue) - before, row.queries) << row.length;
    }
    registry.failOn(RegOp::QueryValue, reg::kMoreData);  // keeps growing: give up
    EXPECT_EQ(r.ReadString("s"), "");
}

TEST_F(CWinRegFaults, FailedWritesAndClosesReportFalse) {
    CWinReg r;
    ASSERT_TRUE(r.InitForWrite(CWinReg::HKeyCurrentUser(), kBase, true));
    registry.failOn(RegOp::SetValue, reg::kAccessDenied);
    registry.failOn(RegOp::FlushKey, reg::kAccessDenied);
    EXPECT_FALSE(r.WriteString("s", "x"));
    EXPECT_FALSE(r.WriteDword("n", 1));
    EXPECT_FALSE(r.WriteBool("b", true));
    EXPECT_FALSE(r.WriteDate("d", DateTime{2000, 1, 1}));
    EXPECT_FALSE(r.FlushKey());
    registry.failOn(RegOp::CloseKey, reg::kInvalidHandle, {}, 1);
    EXPECT_FALSE(r.CloseKey());
    EXPECT_TRUE(r.CloseKey());  // the object let go of the key all the same
}

}  // namespace
}  // namespace cq::suites

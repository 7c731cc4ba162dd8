#pragma once
// What every registry port must answer as Windows does, run against the
// in-memory double and against the real registry under Wine, so that the
// double stays true to the real thing. Env: as for CWinRegSuite.

#include "common/Port.h"
#include "common/Registry.h"

#include <gtest/gtest.h>

#include <string>

namespace cq::suites {

template <class Env>
class RegistryPortSuite : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(reg().createKeyEx(env.root(), env.base(), 0, reg::kKeyAllAccess, base, nullptr),
                  reg::kSuccess);
    }
    void TearDown() override { reg().closeKey(base); }

    static Registry& reg() { return Port<Registry>::get(); }
    RegKey create(RegKey parent, const std::string& sub, RegAccess access = reg::kKeyAllAccess,
                  std::uint32_t* disposition = nullptr) {
        RegKey key = 0;
        EXPECT_EQ(reg().createKeyEx(parent, sub, 0, access, key, disposition), reg::kSuccess)
            << sub;
        return key;
    }
    RegKey open(RegKey parent, const std::string& sub, RegAccess access) {
        RegKey key = 0;
        EXPECT_EQ(reg().openKeyEx(parent, sub, access, key), reg::kSuccess) << sub;
        return key;
    }
    RegStatus set(RegKey key, const std::string& name, const std::string& text) {
        return reg().setValueEx(key, name, reg::kSz,
                                reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                static_cast<std::uint32_t>(text.size() + 1));
    }

    Env env;
    RegKey base = 0;
};

TYPED_TEST_SUITE_P(RegistryPortSuite);

TYPED_TEST_P(RegistryPortSuite, FailuresHaveTheWindowsNumbers) {
    Registry& r = this->reg();
    const RegKey base = this->base;
    RegKey key = 123;
    EXPECT_EQ(r.openKeyEx(base, "missing", reg::kKeyRead, key), reg::kFileNotFound);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(r.openKeyEx(base, "\\lead", reg::kKeyRead, key), reg::kBadPathname);
    EXPECT_EQ(r.openKeyEx(0, "x", reg::kKeyRead, key), reg::kInvalidHandle);
    EXPECT_EQ(r.closeKey(0), reg::kInvalidHandle);
    EXPECT_EQ(r.closeKey(reg::kCurrentUser), reg::kSuccess);
    EXPECT_EQ(r.flushKey(0), reg::kInvalidHandle);
    EXPECT_EQ(r.deleteValue(0, "x"), reg::kInvalidHandle);
    EXPECT_EQ(r.deleteKey(0, "x"), reg::kInvalidHandle);

    r.closeKey(this->create(base, "p\\c"));
    EXPECT_EQ(r.deleteKey(base, "p"), reg::kAccessDenied);  // has a subkey
    EXPECT_EQ(r.deleteKey(base, "nothing"), reg::kFileNotFound);
    EXPECT_EQ(r.deleteKey(reg::kCurrentUser, ""), reg::kAccessDenied);

    RegKey twice = this->open(base, "p", reg::kKeyRead);
    EXPECT_EQ(r.closeKey(twice), reg::kSuccess);
    EXPECT_EQ(r.closeKey(twice), reg::kInvalidHandle);
}

TYPED_TEST_P(RegistryPortSuite, TheAccessOfAHandleIsEnforced) {
    Registry& r = this->reg();
    RegKey readOnly = this->open(this->base, "", reg::kKeyRead);
    RegKey writeOnly = this->open(this->base, "", reg::kKeyWrite);
    std::string name;
    std::uint32_t size = 100;
    std::uint8_t data[16];

    EXPECT_EQ(this->set(readOnly, "v", "a"), reg::kAccessDenied);
    EXPECT_EQ(this->set(writeOnly, "v", "a"), reg::kSuccess);
    EXPECT_EQ(r.deleteValue(readOnly, "v"), reg::kAccessDenied);
    EXPECT_EQ(r.queryValueEx(writeOnly, "v", nullptr, data, &size), reg::kAccessDenied);
    size = 16;
    EXPECT_EQ(r.queryValueEx(readOnly, "v", nullptr, data, &size), reg::kSuccess);
    size = 100;
    EXPECT_EQ(r.enumValue(writeOnly, 0, name, size), reg::kAccessDenied);
    size = 100;
    EXPECT_EQ(r.enumKeyEx(writeOnly, 0, name, size), reg::kAccessDenied);
    // Creating and deleting subkeys asks nothing of the parent's handle.
    r.closeKey(this->create(readOnly, "made"));
    EXPECT_EQ(r.deleteKey(readOnly, "made"), reg::kSuccess);
    r.closeKey(readOnly);
    r.closeKey(writeOnly);
}

TYPED_TEST_P(RegistryPortSuite, AHandleToADeletedKeyAnswersKeyDeleted) {
    Registry& r = this->reg();
    RegKey victim = this->create(this->base, "victim");
    EXPECT_EQ(r.deleteKey(this->base, "victim"), reg::kSuccess);
    std::uint32_t size = 4;
    std::uint8_t data[4];
    std::string name;
    EXPECT_EQ(this->set(victim, "v", "a"), reg::kKeyDeleted);
    EXPECT_EQ(r.queryValueEx(victim, "v", nullptr, data, &size), reg::kKeyDeleted);
    EXPECT_EQ(r.enumKeyEx(victim, 0, name, size), reg::kKeyDeleted);
    EXPECT_EQ(r.closeKey(victim), reg::kSuccess);

    RegKey self = this->create(this->base, "self");
    EXPECT_EQ(r.deleteKey(self, ""), reg::kSuccess);  // the empty path is the key itself
    r.closeKey(self);
    RegKey gone = 0;
    EXPECT_EQ(r.openKeyEx(this->base, "self", reg::kKeyRead, gone), reg::kFileNotFound);
}

TYPED_TEST_P(RegistryPortSuite, QueriesReportTheSizeNeeded) {
    Registry& r = this->reg();
    ASSERT_EQ(this->set(this->base, "s", "hello"), reg::kSuccess);
    RegType type = 99;
    std::uint32_t size = 0;
    std::uint8_t data[8] = {};
    EXPECT_EQ(r.queryValueEx(this->base, "S", &type, nullptr, &size), reg::kSuccess);
    EXPECT_EQ(type, reg::kSz);
    EXPECT_EQ(size, 6u);
    size = 3;
    EXPECT_EQ(r.queryValueEx(this->base, "s", &type, data, &size), reg::kMoreData);
    EXPECT_EQ(size, 6u);
    size = 6;
    EXPECT_EQ(r.queryValueEx(this->base, "s", &type, data, &size), reg::kSuccess);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), std::string("hello", 6));
    EXPECT_EQ(r.queryValueEx(this->base, "s", &type, data, nullptr), reg::kInvalidParameter);
    size = 8;
    EXPECT_EQ(r.queryValueEx(this->base, "missing", &type, data, &size), reg::kFileNotFound);
}

TYPED_TEST_P(RegistryPortSuite, NamesKeepTheirCaseAndCompareWithout) {
    Registry& r = this->reg();
    std::uint32_t how = 0;
    r.closeKey(this->create(this->base, "MiXeD", reg::kKeyAllAccess, &how));
    EXPECT_EQ(how, reg::kCreatedNewKey);
    r.closeKey(this->create(this->base, "mixed\\", reg::kKeyAllAccess, &how));
    EXPECT_EQ(how, reg::kOpenedExistingKey);
    r.closeKey(this->create(this->base, "beta"));
    r.closeKey(this->create(this->base, "Alpha"));
    ASSERT_EQ(this->set(this->base, "Zed", "1"), reg::kSuccess);
    ASSERT_EQ(this->set(this->base, "ZED", "2"), reg::kSuccess);

    const char* expected[] = {"Alpha", "beta", "MiXeD"};
    for (std::uint32_t i = 0; i < 3; ++i) {
        std::string name;
        std::uint32_t size = 100;
        EXPECT_EQ(r.enumKeyEx(this->base, i, name, size), reg::kSuccess);
        EXPECT_EQ(name, expected[i]);
        EXPECT_EQ(size, name.size());
    }
    std::string name;
    std::uint32_t size = 100;
    EXPECT_EQ(r.enumKeyEx(this->base, 3, name, size), reg::kNoMoreItems);
    size = 3;  // "Zed" needs room for its NUL
    EXPECT_EQ(r.enumValue(this->base, 0, name, size), reg::kMoreData);
    size = 4;
    EXPECT_EQ(r.enumValue(this->base, 0, name, size), reg::kSuccess);
    EXPECT_EQ(name, "Zed");
    size = 100;
    EXPECT_EQ(r.enumValue(this->base, 1, name, size), reg::kNoMoreItems);
}

REGISTER_TYPED_TEST_SUITE_P(RegistryPortSuite, FailuresHaveTheWindowsNumbers,
                            TheAccessOfAHandleIsEnforced, AHandleToADeletedKeyAnswersKeyDeleted,
                            QueriesReportTheSizeNeeded, NamesKeepTheirCaseAndCompareWithout);

}  // namespace cq::suites

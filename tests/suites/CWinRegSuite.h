#pragma once
// The behaviour of CWinReg, written once and run against every registry: the
// in-memory double natively and the real registry under Wine.
//
// An environment type Env installs its registry as the port for its lifetime
// and offers:
//   RegKey root() const;          a root key
//   std::string base() const;     a path below it for the tests' own keys
//   int openHandles() const;      handles opened through the port, not closed
// The suite creates the base key; the environment removes it at the end.

#include "common/CWinReg.h"
#include "common/Port.h"
#include "common/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace cq::suites {

struct RawValue {
    RegStatus status = -1;
    RegType type = reg::kNone;
    std::vector<std::uint8_t> bytes;
};

template <class Env>
class CWinRegSuite : public ::testing::Test {
  protected:
    void SetUp() override {
        RegKey key = 0;
        ASSERT_EQ(port().createKeyEx(env.root(), env.base(), 0, reg::kKeyAllAccess, key, nullptr),
                  reg::kSuccess);
        port().closeKey(key);
        baseline = env.openHandles();
    }
    void TearDown() override { EXPECT_EQ(env.openHandles(), baseline) << "a key was left open"; }

    static Registry& port() { return Port<Registry>::get(); }
    std::string path(const std::string& sub) const { return env.base() + "\\" + sub; }

    void makeKeys(std::initializer_list<std::string> subs) {
        for (const std::string& sub : subs) {
            RegKey key = 0;
            ASSERT_EQ(
                port().createKeyEx(env.root(), path(sub), 0, reg::kKeyAllAccess, key, nullptr),
                reg::kSuccess);
            port().closeKey(key);
        }
    }
    bool exists(const std::string& sub) {
        RegKey key = 0;
        if (port().openKeyEx(env.root(), path(sub), reg::kKeyRead, key) != reg::kSuccess)
            return false;
        port().closeKey(key);
        return true;
    }
    void putRaw(const std::string& sub, const std::string& name, RegType type,
                const std::string& bytes) {
        RegKey key = 0;
        ASSERT_EQ(port().createKeyEx(env.root(), path(sub), 0, reg::kKeyAllAccess, key, nullptr),
                  reg::kSuccess);
        EXPECT_EQ(
            port().setValueEx(key, name, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                              static_cast<std::uint32_t>(bytes.size())),
            reg::kSuccess);
        port().closeKey(key);
    }
    RawValue raw(const std::string& sub, const std::string& name) {
        RawValue out;
        RegKey key = 0;
        out.status = port().openKeyEx(env.root(), path(sub), reg::kKeyRead, key);
        if (out.status != reg::kSuccess) return out;
        std::uint32_t size = 0;
        out.status = port().queryValueEx(key, name, &out.type, nullptr, &size);
        out.bytes.assign(size + 1, 0xEE);
        if (out.status == reg::kSuccess)
            out.status = port().queryValueEx(key, name, &out.type, out.bytes.data(), &size);
        out.bytes.resize(size);
        port().closeKey(key);
        return out;
    }
    static std::vector<std::uint8_t> bytes(const std::string& s) { return {s.begin(), s.end()}; }

    Env env;
    int baseline = 0;
};

TYPED_TEST_SUITE_P(CWinRegSuite);

TYPED_TEST_P(CWinRegSuite, OpeningAMissingKeyFailsAndLeavesTheObjectClosed) {
    CWinReg r;
    EXPECT_FALSE(r.InitForRead(this->env.root(), this->path("missing")));
    EXPECT_FALSE(r.InitForWrite(this->env.root(), this->path("missing")));
    EXPECT_FALSE(this->exists("missing"));
    EXPECT_EQ(r.ReadString("x"), "");
    EXPECT_EQ(r.ReadDword("x", 7), 0);  // 0, not the default: no key is open
    EXPECT_FALSE(r.WriteString("x", "y"));
    EXPECT_FALSE(r.WriteDword("x", 1));
    EXPECT_FALSE(r.DeleteValue("x"));
    EXPECT_FALSE(r.DeleteKey("x"));
    EXPECT_FALSE(r.FlushKey());
    EXPECT_FALSE(r.DeleteAllKeys());
    EXPECT_EQ(r.Values(0), "");
    EXPECT_EQ(r.Keys(0), "");
    EXPECT_TRUE(r.CloseKey());
}

TYPED_TEST_P(CWinRegSuite, CreatingMakesTheMissingParentsAndOpensForWriting) {
    CWinReg w;
    ASSERT_TRUE(w.InitForWrite(this->env.root(), this->path("a\\b\\c"), true));
    EXPECT_TRUE(w.WriteString("Tooltip", "Insert date"));
    EXPECT_TRUE(w.FlushKey());
    EXPECT_TRUE(w.CloseKey());
    EXPECT_TRUE(w.CloseKey());  // nothing open any more

    CWinReg r;
    ASSERT_TRUE(r.InitForRead(this->env.root(), this->path("A\\B")));
    EXPECT_EQ(r.Keys(0), "c");
    ASSERT_TRUE(r.InitForRead(this->env.root(), this->path("a\\b\\c")));
    EXPECT_EQ(r.ReadString("TOOLTIP"), "Insert date");  // names compare without case
    EXPECT_FALSE(r.WriteString("Tooltip", "changed"));  // opened for reading only
    EXPECT_FALSE(r.DeleteValue("Tooltip"));
    EXPECT_EQ(r.ReadString("Tooltip"), "Insert date");

    CWinReg all;
    EXPECT_TRUE(all.InitForAllAccess(this->env.root(), this->path("d"), true));
    EXPECT_TRUE(all.InitForAccess(this->env.root(), this->path("e"), reg::kKeyWrite, true));
    EXPECT_TRUE(all.WriteDword("n", 1));
    EXPECT_EQ(all.ReadDword("n", 5), 5);  // written, but this handle may not read it
}

TYPED_TEST_P(CWinRegSuite, InitialisingAgainReleasesTheKeyHeldBefore) {
    CWinReg r;
    ASSERT_TRUE(r.InitForRead(this->env.root(), this->env.base()));
    EXPECT_EQ(this->env.openHandles(), this->baseline + 1);
    this->makeKeys({"second"});
    ASSERT_TRUE(r.InitForWrite(this->env.root(), this->path("second")));
    EXPECT_EQ(this->env.openHandles(), this->baseline + 1);
    EXPECT_TRUE(r.WriteString("here", "x"));
    EXPECT_EQ(this->raw("second", "here").status, reg::kSuccess);

    EXPECT_FALSE(r.InitForRead(this->env.root(), this->path("missing")));
    EXPECT_EQ(this->env.openHandles(), this->baseline);
    EXPECT_EQ(r.ReadDword("x", 7), 0);  // closed

    {
        CWinReg scoped;
        ASSERT_TRUE(scoped.InitForRead(this->env.root(), this->env.base()));
        EXPECT_EQ(this->env.openHandles(), this->baseline + 1);
    }
    EXPECT_EQ(this->env.openHandles(), this->baseline);  // the destructor closed it
}

TYPED_TEST_P(CWinRegSuite, StringsRoundTripWithTheirStoredForm) {
    const std::string texts[] = {
        "",
        "a",
        "Insert date and time",
        std::string(255, 'x'),
        std::string(256, 'y'),
        std::string(5000, 'z') + "end",
        "Gr\xC3\xBC\xC3\x9F"
        "e",
    };
    CWinReg w;
    ASSERT_TRUE(w.InitForWrite(this->env.root(), this->path("s"), true));
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 30) + " (" + std::to_string(text.size()) + " bytes)");
        ASSERT_TRUE(w.WriteString("v", text));
        EXPECT_EQ(w.ReadString("v"), text);
        RawValue stored = this->raw("s", "v");
        EXPECT_EQ(stored.type, reg::kSz);
        EXPECT_EQ(stored.bytes, this->bytes(std::string(text.c_str(), text.size() + 1)));
    }
    ASSERT_TRUE(w.WriteString("", "default value"));
    EXPECT_EQ(w.ReadString(""), "default value");
    EXPECT_EQ(w.ReadString("missing"), "");
}

TYPED_TEST_P(CWinRegSuite, ValuesOfAnotherTypeReadAsEmptyOrTheDefault) {
    CWinReg w;
    ASSERT_TRUE(w.InitForWrite(this->env.root(), this->path("t"), true));
    ASSERT_TRUE(w.WriteDword("number", 12));
    ASSERT_TRUE(w.WriteString("text", "12"));
    this->putRaw("t", "binary", reg::kBinary, std::string("yes\0", 4));
    this->putRaw("t", "expand", reg::kExpandSz, std::string("%TEMP%\\x\0", 9));
    this->putRaw("t", "multi", reg::kMultiSz, std::string("a\0b\0\0", 5));
    this->putRaw("t", "bigendian", reg::kDwordBigEndian, std::string("\0\0\0\1", 4));
    this->putRaw("t", "nonul", reg::kSz, "abc");
    this->putRaw("t", "zero", reg::kSz, "");
    this->putRaw("t", "longdword", reg::kDword, std::string(8, '\1'));

    EXPECT_EQ(w.ReadString("number"), "");
    EXPECT_EQ(w.ReadDword("text", -3), -3);
    EXPECT_EQ(w.ReadString("binary"), "");
    EXPECT_FALSE(w.ReadBool("binary"));
    EXPECT_EQ(w.ReadString("expand"), "%TEMP%\\x");  // not expanded
    EXPECT_EQ(w.ReadString("multi"), "");
    EXPECT_EQ(w.ReadDword("bigendian", -3), -3);
    EXPECT_EQ(w.ReadDword("longdword", -3), -3);
    EXPECT_EQ(w.ReadString("nonul"), "abc");  // the last character stays
    EXPECT_EQ(w.ReadString("zero"), "");
    EXPECT_EQ(w.ReadDword("missing", 42), 42);
}

TYPED_TEST_P(CWinRegSuite, DwordsRoundTripLittleEndian) {
    const std::int32_t numbers[] = {0, 1, -1, 0x12345678, INT32_MIN, INT32_MAX};
    CWinReg w;
    ASSERT_TRUE(w.InitForWrite(this->env.root(), this->path("d"), true));
    for (std::int32_t n : numbers) {
        ASSERT_TRUE(w.WriteDword("n", n));
        EXPECT_EQ(w.ReadDword("n", 99), n);
    }
    ASSERT_TRUE(w.WriteDword("n", 0x12345678));
    RawValue stored = this->raw("d", "n");
    EXPECT_EQ(stored.type, reg::kDword);
    EXPECT_EQ(stored.bytes, (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));
}

TYPED_TEST_P(CWinRegSuite, BooleansAreYesInAnyCase) {
    const struct {
        const char* stored;
        bool expected;
    } table[] = {
        {"yes", true},   {"Yes", true},   {"YES", true},   {"yEs", true},
        {"no", false},   {"true", false}, {"1", false},    {"", false},
        {" yes", false}, {"yes ", false}, {"yess", false}, {"y", false},
    };
    CWinReg w;
    ASSERT_TRUE(w.InitForWrite(this->env.root(), this->path("b"), true));
    for (const auto& row : table) {
        SCOPED_TRACE(row.stored);
        ASSERT_TRUE(w.WriteString("flag", row.stored));
        EXPECT_EQ(w.ReadBool("flag"), row.expected);
    }
    EXPECT_FALSE(w.ReadBool("missing"));
    ASSERT_TRUE(w.WriteBool("on", true));
    ASSERT_TRUE(w.WriteBool("off", false));
    EXPECT_EQ(w.ReadString("on"), "yes");
    EXPECT_EQ(w.ReadString("off"), "no");
    EXPECT_TRUE(w.ReadBool("on"));
    EXPECT_FALSE(w.ReadBool("off"));
}

TYPED_TEST_P(CWinRegSuite, DatesRoundTripToTheSecond) {
    const DateTime dates[] = {
        {2007, 6, 5, 4, 3, 2},      {2024, 2, 29, 23, 59, 59}, {100, 1, 1, 0, 0, 0},
        {9999, 12, 31, 23, 59, 59}, {1899, 12, 30, 12, 0, 0},
    };
    CWinReg w;
    ASSERT_TRUE(w.InitForWrite(this->env.root(), this->path("dt"), true));
    const DateTime fallback{1970, 1, 1, 0, 0, 0};
    for (const DateTime& d : dates) {
        ASSERT_TRUE(w.WriteDate("when", d));
        EXPECT_EQ(w.ReadDate("when", fallback), d) << w.ReadString("when");
    }
    ASSERT_TRUE(w.WriteDate("when", DateTime{2007, 6, 5, 4, 3, 2}));
    EXPECT_EQ(w.ReadString("when"), "2007.06.05 04:03:02");
}

TYPED_TEST_P(CWinRegSuite, DatesCarryOverOrFallBackToTheDefault) {
    const DateTime fallback{1970, 1, 1, 0, 0, 0};
    const struct {
        const char* stored;
        DateTime expected;
    } table[] = {
        {"2024.13.01 00:00:00", {2025, 1, 1, 0, 0, 0}},
        {"2024.00.15 00:00:00", {2023, 12, 15, 0, 0, 0}},
        {"2024.02.30 00:00:00", {2024, 3, 1, 0, 0, 0}},
        {"2024.03.00 00:00:00", {2024, 2, 29, 0, 0, 0}},
        {"2024.01.01 24:00:00", {2024, 1, 2, 0, 0, 0}},
        {"2023.12.31 23:59:60", {2024, 1, 1, 0, 0, 0}},
        {"2024.01.01 -1:00:00", {2023, 12, 31, 23, 0, 0}},
        {"2024.1.2 3:4:5", {2024, 1, 2, 3, 4, 5}},
        {"+2024.01.01 00:00:00", {2024, 1, 1, 0, 0, 0}},
        {"2024.01.01", fallback},
        {"2024.01.01 10:00", fallback},
        {"2024.01 10:00:00", fallback},
        {"2024.01.01.01 10:00:00", fallback},
        {"2024.01.01 10:00:00:00", fallback},
        {"2024.01.01  10:00:00", fallback},
        {" 2024.01.01 10:00:00", fallback},
        {"2024.01.01 10:00:00 ", fallback},
        {"2024/01/01 10:00:00", fallback},
        {"2024.01.01T10:00:00", fallback},
        {"abcd.01.01 10:00:00", fallback},
        {"2024.1a.01 10:00:00", fallback},
        {"2024..01 10:00:00", fallback},
        {"2024.01.01 10:00:0x", fallback},
        {"2024.01.01 10:-:00", fallback},
        {"32768.01.01 00:00:00", fallback},
        {"2024.01.01 99999:00:00", fallback},
        {"2024.01.01 00:00:999999999999999999999", fallback},
        {"0099.12.31 23:59:59", fallback},
        {"9999.12.31 24:00:00", fallback},
        {"2024.01.01 10:00:00\n", fallback},
        {"x", fallback},
    };
    CWinReg w;
    ASSERT_TRUE(w.InitForWrite(this->env.root(), this->path("dt"), true));
    for (const auto& row : table) {
        SCOPED_TRACE(row.stored);
        ASSERT_TRUE(w.WriteString("when", row.stored));
        EXPECT_EQ(w.ReadDate("when", fallback), row.expected);
    }
    ASSERT_TRUE(w.WriteDword("number", 20240101));
    EXPECT_EQ(w.ReadDate("number", fallback), fallback);
    EXPECT_EQ(w.ReadDate("missing", fallback), fallback);
}

TYPED_TEST_P(CWinRegSuite, ValuesAndKeysEnumerateUntilTheEmptyName) {
    const std::string longValue(300, 'v');
    const std::string longKey(255, 'k');
    this->makeKeys({"e\\Gamma", "e\\alpha", "e\\Beta\\inner"});
    CWinReg r;
    ASSERT_TRUE(r.InitForWrite(this->env.root(), this->path("e")));
    {
        // The longest name a key may have, made relative to the open key: the
        // ANSI functions may refuse a full path of more than 260 characters.
        RegKey key = 0;
        ASSERT_EQ(
            this->port().openKeyEx(this->env.root(), this->path("e"), reg::kKeyAllAccess, key),
            reg::kSuccess);
        RegKey made = 0;
        EXPECT_EQ(this->port().createKeyEx(key, longKey, 0, reg::kKeyRead, made, nullptr),
                  reg::kSuccess);
        this->port().closeKey(made);
        this->port().closeKey(key);
    }
    for (const std::string& name : {std::string("b"), std::string("A"), longValue})
        ASSERT_TRUE(r.WriteString(name, "x"));

    std::vector<std::string> values;
    for (std::int32_t i = 0; !r.Values(i).empty(); ++i) values.push_back(r.Values(i));
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<std::string>{"A", "b", longValue}));

    std::vector<std::string> keys;
    for (std::int32_t i = 0; !r.Keys(i).empty(); ++i) keys.push_back(r.Keys(i));
    EXPECT_EQ(keys, (std::vector<std::string>{"alpha", "Beta", "Gamma", longKey}));

    EXPECT_EQ(r.Values(3), "");
    for (std::int32_t past : {4, 5, 1000, -1, INT32_MIN}) {
        EXPECT_EQ(r.Values(past), "") << past;
        EXPECT_EQ(r.Keys(past), "") << past;
    }
}

TYPED_TEST_P(CWinRegSuite, DeleteAllKeysRemovesTheTreeBelowAndKeepsTheKey) {
    this->makeKeys({"t\\a\\b\\c", "t\\a\\d", "t\\e", "t\\F\\g\\h\\i"});
    this->putRaw("t", "own", reg::kSz, std::string("kept\0", 5));
    this->putRaw("t\\a\\b", "deep", reg::kSz, std::string("gone\0", 5));
    CWinReg r;
    ASSERT_TRUE(r.InitForAllAccess(this->env.root(), this->path("t")));
    EXPECT_TRUE(r.DeleteAllKeys());
    EXPECT_EQ(r.Keys(0), "");
    EXPECT_EQ(r.ReadString("own"), "kept");
    EXPECT_TRUE(this->exists("t"));
    EXPECT_FALSE(this->exists("t\\a"));
    EXPECT_TRUE(r.DeleteAllKeys());  // nothing left to delete
}

TYPED_TEST_P(CWinRegSuite, DeleteKeyRecRemovesOneSubtree) {
    this->makeKeys({"r\\x\\y\\z", "r\\x\\w", "r\\keep\\child"});
    CWinReg r;
    ASSERT_TRUE(r.InitForAllAccess(this->env.root(), this->path("r")));
    EXPECT_FALSE(r.DeleteKey("x"));  // still has subkeys
    EXPECT_TRUE(this->exists("r\\x\\y\\z"));
    EXPECT_TRUE(r.DeleteKeyRec("X"));
    EXPECT_FALSE(this->exists("r\\x"));
    EXPECT_TRUE(this->exists("r\\keep\\child"));
    EXPECT_FALSE(r.DeleteKeyRec("x"));  // gone already
    EXPECT_TRUE(r.DeleteKeyRec("keep\\child"));
    EXPECT_TRUE(this->exists("r\\keep"));
    EXPECT_TRUE(r.DeleteKey("keep"));
    EXPECT_FALSE(r.DeleteKey("keep"));
}

TYPED_TEST_P(CWinRegSuite, DeleteValueReportsWhetherTheValueWasThere) {
    CWinReg w;
    ASSERT_TRUE(w.InitForWrite(this->env.root(), this->path("v"), true));
    ASSERT_TRUE(w.WriteString("gone", "soon"));
    EXPECT_TRUE(w.DeleteValue("GONE"));
    EXPECT_EQ(w.ReadString("gone"), "");
    EXPECT_FALSE(w.DeleteValue("gone"));
}

REGISTER_TYPED_TEST_SUITE_P(
    CWinRegSuite, OpeningAMissingKeyFailsAndLeavesTheObjectClosed,
    CreatingMakesTheMissingParentsAndOpensForWriting, InitialisingAgainReleasesTheKeyHeldBefore,
    StringsRoundTripWithTheirStoredForm, ValuesOfAnotherTypeReadAsEmptyOrTheDefault,
    DwordsRoundTripLittleEndian, BooleansAreYesInAnyCase, DatesRoundTripToTheSecond,
    DatesCarryOverOrFallBackToTheDefault, ValuesAndKeysEnumerateUntilTheEmptyName,
    DeleteAllKeysRemovesTheTreeBelowAndKeepsTheKey, DeleteKeyRecRemovesOneSubtree,
    DeleteValueReportsWhetherTheValueWasThere);

}  // namespace cq::suites

// Per-user registration of an add-in over the in-memory registry: the keys and
// values written, removal of exactly those, repeated registration, refused
// names and failures half-way.

#include "common/CWinReg.h"
#include "common/Port.h"
#include "common/Registration.h"
#include "tests/doubles/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>

namespace cq {
namespace {

constexpr const char* kPath = "C:\\Users\\me\\AppData\\Local\\Chronoquill\\Chronoquill.dll";
constexpr const char* kClsid = "{4CABDD47-54F7-45A4-B388-8C827F2EEDF7}";
constexpr const char* kClassKey =
    "Software\\Classes\\CLSID\\{4CABDD47-54F7-45A4-B388-8C827F2EEDF7}";
// Where this build's class key is kept: a 32-bit build registers in the
// 32-bit view, which the in-memory registry (a 64-bit one) keeps below
// Wow6432Node.
const std::string kStoredClassKey = std::string(kThisBuildsView == RegistryView::Bits64
                                                    ? "Software\\Classes\\CLSID\\"
                                                    : "Software\\Classes\\Wow6432Node\\CLSID\\") +
                                    kClsid;
constexpr const char* kProgIdKey = "Software\\Classes\\Chronoquill.Connect";
constexpr const char* kAddinKey =
    "Software\\Microsoft\\Office\\Outlook\\Addins\\Chronoquill.Connect";

constexpr const char* kTypeLib = "{9A5DB1D0-4380-4C18-83E4-D15DBE46A51A}";
constexpr const char* kTypeLibKey =
    "Software\\Classes\\TypeLib\\{9A5DB1D0-4380-4C18-83E4-D15DBE46A51A}";

Registration outlookAddin() {
    return {kClsid,  "Chronoquill.Connect", "Chronoquill date stamps", "Chronoquill", "Outlook",
            kTypeLib};
}

// Every key below HKEY_CURRENT_USER as "path" and every value as
// "path|name" -> "type:data" (text without its NUL, DWORD as a number).
using Dump = std::map<std::string, std::string>;

void dumpKey(Registry& r, RegKey key, const std::string& path, Dump& out) {
    out[path] = "key";
    for (std::uint32_t i = 0;; ++i) {
        std::string name;
        std::uint32_t size = 16384;
        if (r.enumValue(key, i, name, size) != reg::kSuccess) break;
        RegType type = 0;
        std::uint8_t data[1024] = {};
        std::uint32_t dataSize = sizeof data;
        ASSERT_EQ(r.queryValueEx(key, name, &type, data, &dataSize), reg::kSuccess);
        std::string text;
        if (type == reg::kDword)
            text = std::to_string(data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24);
        else
            text.assign(reinterpret_cast<const char*>(data), dataSize > 0 ? dataSize - 1 : 0);
        out[path + "|" + name] = std::to_string(type) + ":" + text;
    }
    for (std::uint32_t i = 0;; ++i) {
        std::string name;
        std::uint32_t size = 256;
        if (r.enumKeyEx(key, i, name, size) != reg::kSuccess) break;
        RegKey child = 0;
        ASSERT_EQ(r.openKeyEx(key, name, reg::kKeyRead, child), reg::kSuccess);
        dumpKey(r, child, path.empty() ? name : path + "\\" + name, out);
        r.closeKey(child);
    }
}

class RegistrationTest : public ::testing::Test {
  protected:
    Dump dump() {
        Dump out;
        dumpKey(registry, reg::kCurrentUser, "", out);
        return out;
    }
    void put(const std::string& path, const std::string& name, const std::string& value) {
        CWinReg key;
        ASSERT_TRUE(key.InitForWrite(CWinReg::HKeyCurrentUser(), path, true));
        ASSERT_TRUE(key.WriteString(name, value));
    }
    bool exists(const std::string& path) {
        CWinReg key;
        return key.InitForRead(CWinReg::HKeyCurrentUser(), path);
    }
    // What a machine holds before the add-in comes: the user's tooltip, other
    // classes and add-ins, and the parents of the add-in's keys.
    void otherKeys() {
        put("Software\\Quintor\\Inkwell", "Tooltip", "Insert time");
        put("Software\\Classes\\CLSID\\{00000000-1111-2222-3333-444444444444}", "", "Other");
        put("Software\\Classes\\Other.Addin\\CLSID", "", "{00000000-1111-2222-3333-444444444444}");
        put("Software\\Microsoft\\Office\\Outlook\\Addins\\Other.Addin", "FriendlyName", "Other");
        put("Software\\Microsoft\\Office\\Word\\Addins", "", "");
        put("Software\\Classes\\TypeLib\\{00000000-1111-2222-3333-444444444444}\\1.0", "", "Other");
        // Windows has the 32-bit view's class folder.
        put("Software\\Classes\\Wow6432Node\\CLSID\\{00000000-1111-2222-3333-444444444444}", "",
            "Other");
    }

    MemoryRegistry registry;
    ScopedPort<Registry> port{registry};
};

// The type library's platform subkey of this build.
const std::string kPlatform = kThisBuildsView == RegistryView::Bits64 ? "win64" : "win32";

TEST_F(RegistrationTest, WritesTheClassTheProgIdAndTheAddinKey) {
    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath));
    const std::string sz = std::to_string(reg::kSz) + ":";
    Dump expected = {
        {"", "key"},
        {"Software", "key"},
        {"Software\\Classes", "key"},
        {kStoredClassKey.substr(0, kStoredClassKey.rfind('\\')), "key"},
        {kStoredClassKey, "key"},
        {kStoredClassKey + "|", sz + "Chronoquill date stamps"},
        {kStoredClassKey + "\\InprocServer32", "key"},
        {kStoredClassKey + "\\InprocServer32|", sz + kPath},
        {kStoredClassKey + "\\InprocServer32|ThreadingModel", sz + "Apartment"},
        {kStoredClassKey + "\\ProgID", "key"},
        {kStoredClassKey + "\\ProgID|", sz + "Chronoquill.Connect"},
        {kStoredClassKey + "\\TypeLib", "key"},
        {kStoredClassKey + "\\TypeLib|", sz + kTypeLib},
        {"Software\\Classes\\TypeLib", "key"},
        {kTypeLibKey, "key"},
        {std::string(kTypeLibKey) + "\\1.0", "key"},
        {std::string(kTypeLibKey) + "\\1.0|", sz + "Chronoquill date stamps"},
        {std::string(kTypeLibKey) + "\\1.0\\0", "key"},
        {std::string(kTypeLibKey) + "\\1.0\\0\\" + kPlatform, "key"},
        {std::string(kTypeLibKey) + "\\1.0\\0\\" + kPlatform + "|", sz + kPath},
        {std::string(kTypeLibKey) + "\\1.0\\FLAGS", "key"},
        {std::string(kTypeLibKey) + "\\1.0\\FLAGS|", sz + "0"},
        {kProgIdKey, "key"},
        {std::string(kProgIdKey) + "|", sz + "Chronoquill date stamps"},
        {std::string(kProgIdKey) + "\\CLSID", "key"},
        {std::string(kProgIdKey) + "\\CLSID|", sz + kClsid},
        {"Software\\Microsoft", "key"},
        {"Software\\Microsoft\\Office", "key"},
        {"Software\\Microsoft\\Office\\Outlook", "key"},
        {"Software\\Microsoft\\Office\\Outlook\\Addins", "key"},
        {kAddinKey, "key"},
        {std::string(kAddinKey) + "|FriendlyName", sz + "Chronoquill"},
        {std::string(kAddinKey) + "|Description", sz + "Chronoquill date stamps"},
        {std::string(kAddinKey) + "|LoadBehavior", std::to_string(reg::kDword) + ":3"},
    };
    if (kThisBuildsView == RegistryView::Bits32) expected["Software\\Classes\\Wow6432Node"] = "key";
    EXPECT_EQ(dump(), expected);
    EXPECT_EQ(registry.openHandles(), 0);
}

TEST_F(RegistrationTest, TheKeyPathsFollowTheRegistration) {
    Registration word{kClsid, "Chronoquill4W.Connect", "d", "f", "Word"};
    EXPECT_EQ(classKeyPath(word), kClassKey);
    EXPECT_EQ(progIdKeyPath(word), "Software\\Classes\\Chronoquill4W.Connect");
    EXPECT_EQ(addinKeyPath(word),
              "Software\\Microsoft\\Office\\Word\\Addins\\Chronoquill4W.Connect");
}

TEST_F(RegistrationTest, RemovalTakesExactlyWhatWasWritten) {
    otherKeys();
    const Dump before = dump();
    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath));
    ASSERT_NE(dump(), before);
    EXPECT_TRUE(removeRegistration(outlookAddin()));
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(registry.openHandles(), 0);
}

TEST_F(RegistrationTest, RemovalWithoutARegistrationSucceedsAndChangesNothing) {
    otherKeys();
    const Dump before = dump();
    EXPECT_TRUE(removeRegistration(outlookAddin()));
    EXPECT_EQ(dump(), before);
}

TEST_F(RegistrationTest, RegisteringAgainGivesOneRegistration) {
    otherKeys();
    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath));
    const Dump once = dump();
    // Leftovers of an older registration and a user's change of LoadBehavior.
    put(kStoredClassKey + "\\LocalServer32", "", "C:\\old.exe");
    put(kProgIdKey, "Extra", "x");
    CWinReg addin;
    ASSERT_TRUE(addin.InitForWrite(CWinReg::HKeyCurrentUser(), kAddinKey));
    ASSERT_TRUE(addin.WriteDword("LoadBehavior", 2));
    addin.CloseKey();

    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath));
    EXPECT_EQ(dump(), once);
    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath));
    EXPECT_EQ(dump(), once);
}

TEST_F(RegistrationTest, AProgIdTakenOverByAnotherClassStays) {
    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath));
    put(std::string(kProgIdKey) + "\\CLSID", "", "{00000000-1111-2222-3333-444444444444}");
    EXPECT_TRUE(removeRegistration(outlookAddin()));
    EXPECT_TRUE(exists(kProgIdKey));
    EXPECT_FALSE(exists(kStoredClassKey));
    EXPECT_FALSE(exists(kAddinKey));
}

TEST_F(RegistrationTest, TheClassIdComparesWithoutCase) {
    Registration lower = outlookAddin();
    lower.clsid = "{4cabdd47-54f7-45a4-b388-8c827f2eedf7}";
    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath));
    EXPECT_TRUE(removeRegistration(lower));
    EXPECT_FALSE(exists(kProgIdKey));
}

struct Refused {
    const char* what;
    Registration registration;
};

void PrintTo(const Refused& r, std::ostream* os) { *os << r.what; }

class RefusedRegistration : public RegistrationTest,
                            public ::testing::WithParamInterface<Refused> {};

TEST_P(RefusedRegistration, WritesAndRemovesNothing) {
    otherKeys();
    // A ProgID key and class that a bad name could reach.
    put("Software\\Classes\\CLSID", "", "");
    const Dump before = dump();
    const Refused& c = GetParam();
    EXPECT_FALSE(isValidRegistration(c.registration));
    EXPECT_FALSE(writeRegistration(c.registration, kPath));
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(removeRegistration(c.registration));
    EXPECT_EQ(dump(), before);
}

Registration with(void (*change)(Registration&)) {
    Registration r = outlookAddin();
    change(r);
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Names, RefusedRegistration,
    ::testing::Values(
        Refused{"empty ProgID", with([](Registration& r) { r.progId = ""; })},
        Refused{"ProgID naming the class folder",
                with([](Registration& r) { r.progId = "CLSID"; })},
        Refused{"ProgID with a path", with([](Registration& r) { r.progId = "A.B\\..\\CLSID"; })},
        Refused{"ProgID ending in a period",
                with([](Registration& r) { r.progId = "Chronoquill."; })},
        Refused{"ProgID starting with a digit",
                with([](Registration& r) { r.progId = "1Q.Connect"; })},
        Refused{"ProgID of 40 characters", with([](Registration& r) {
                    r.progId = "Chronoquill.Connect" + std::string(21, 'x');
                })},
        Refused{"empty CLSID", with([](Registration& r) { r.clsid = ""; })},
        Refused{"CLSID without braces",
                with([](Registration& r) { r.clsid = "4CABDD47-54F7-45A4-B388-8C827F2EEDF7"; })},
        Refused{"CLSID with a path",
                with([](Registration& r) { r.clsid = "{4CABDD47-54F7-45A4-B388\\8C827F2EEDF7}"; })},
        Refused{"empty application", with([](Registration& r) { r.officeApplication = ""; })},
        Refused{"application with a path",
                with([](Registration& r) { r.officeApplication = "Outlook\\Addins"; })},
        Refused{"type library id with a path",
                with([](Registration& r) { r.typeLib = "{..\\..\\CLSID}"; })}),
    [](const auto& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9'))
                name += *p;
        return name;
    });

TEST_F(RegistrationTest, AModuleWithoutPathIsNotRegistered) {
    EXPECT_FALSE(writeRegistration(outlookAddin(), ""));
    EXPECT_EQ(dump(), (Dump{{"", "key"}}));
}

TEST(RegistrationNames, TheLongestProgIdIsAccepted) {
    Registration r = outlookAddin();
    r.progId = "Chronoquill.Connect" + std::string(20, 'x');
    EXPECT_TRUE(isValidRegistration(r));
}

struct Fault {
    RegOp op;
    const char* name;
};

class FailingRegistration : public RegistrationTest, public ::testing::WithParamInterface<Fault> {};

TEST_P(FailingRegistration, LeavesNothingBehind) {
    otherKeys();
    const Dump before = dump();
    registry.failOn(GetParam().op, reg::kAccessDenied, GetParam().name, 1);
    EXPECT_FALSE(writeRegistration(outlookAddin(), kPath));
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(registry.openHandles(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailingRegistration,
    ::testing::Values(Fault{RegOp::CreateKey, kClassKey}, Fault{RegOp::SetValue, "ThreadingModel"},
                      Fault{RegOp::CreateKey, "Software\\Classes\\Chronoquill.Connect\\CLSID"},
                      Fault{RegOp::CreateKey, kAddinKey}, Fault{RegOp::SetValue, "LoadBehavior"}));

TEST_F(RegistrationTest, AKeyThatCannotBeDeletedIsReported) {
    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath));
    registry.failOn(RegOp::DeleteKey, reg::kAccessDenied, "InprocServer32");
    EXPECT_FALSE(removeRegistration(outlookAddin()));
    // The rest is removed all the same.
    EXPECT_FALSE(exists(kAddinKey));
    EXPECT_FALSE(exists(kProgIdKey));
    registry.clearFailures();
    EXPECT_TRUE(removeRegistration(outlookAddin()));
    EXPECT_FALSE(exists(kStoredClassKey));
}

TEST_F(RegistrationTest, AnOldRegistrationThatCannotBeClearedFailsTheRegistration) {
    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath));
    registry.failOn(RegOp::DeleteKey, reg::kAccessDenied, "ProgID");
    EXPECT_FALSE(writeRegistration(outlookAddin(), "C:\\elsewhere.dll"));
}

// Both builds at once, as on 64-bit Windows: the class key once per registry
// view (the 32-bit view's below Wow6432Node), each naming the build of its
// bitness; the ProgID and Addins keys shared.
constexpr const char* kPath32 = "C:\\Users\\me\\AppData\\Local\\Chronoquill\\Chronoquill.dll";
constexpr const char* kPath64 = "C:\\Users\\me\\AppData\\Local\\Chronoquill\\x64\\Chronoquill.dll";
constexpr const char* kClassKey32 =
    "Software\\Classes\\Wow6432Node\\CLSID\\{4CABDD47-54F7-45A4-B388-8C827F2EEDF7}";

class SideBySideRegistration : public RegistrationTest {
  protected:
    void registerBoth() {
        ASSERT_TRUE(writeRegistration(outlookAddin(), kPath64, RegistryView::Bits64));
        ASSERT_TRUE(writeRegistration(outlookAddin(), kPath32, RegistryView::Bits32));
    }
    // The module that a process of that view loads, "" when none.
    std::string moduleOf(const Dump& d, const char* classKey) {
        auto it = d.find(std::string(classKey) + "\\InprocServer32|");
        return it == d.end() ? "" : it->second.substr(2);
    }
    // The module that the type library names for a platform, "" when none.
    static std::string typeLibModuleOf(const Dump& d, const std::string& platform) {
        auto it = d.find(std::string(kTypeLibKey) + "\\1.0\\0\\" + platform + "|");
        return it == d.end() ? "" : it->second.substr(2);
    }
    static bool sharedKeysIn(const Dump& d) {
        return d.count(std::string(kProgIdKey) + "\\CLSID|") == 1 &&
               d.count(std::string(kAddinKey) + "|LoadBehavior") == 1 &&
               d.count(std::string(kAddinKey) + "|FriendlyName") == 1 &&
               d.count(std::string(kAddinKey) + "|Description") == 1;
    }
};

TEST_F(SideBySideRegistration, EachViewNamesItsBuildAndTheSharedKeysAreOne) {
    registerBoth();
    const Dump both = dump();
    EXPECT_EQ(moduleOf(both, kClassKey), kPath64);
    EXPECT_EQ(moduleOf(both, kClassKey32), kPath32);
    EXPECT_EQ(typeLibModuleOf(both, "win64"), kPath64);
    EXPECT_EQ(typeLibModuleOf(both, "win32"), kPath32);
    EXPECT_TRUE(sharedKeysIn(both));
    EXPECT_EQ(both.at(std::string(kAddinKey) + "|LoadBehavior"),
              std::to_string(reg::kDword) + ":3");
    // Registering either build again changes nothing.
    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath32, RegistryView::Bits32));
    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath64, RegistryView::Bits64));
    EXPECT_EQ(dump(), both);
    EXPECT_EQ(registry.openHandles(), 0);
}

TEST_F(SideBySideRegistration, EitherRemovedLeavesTheOtherWorkingAndTheLastLeavesNothing) {
    otherKeys();
    const Dump before = dump();
    const struct {
        RegistryView first;
        const char* firstClassKey;
        const char* firstPlatform;
        RegistryView last;
        const char* lastClassKey;
        const char* lastPath;
        const char* lastPlatform;
    } cases[] = {
        {RegistryView::Bits32, kClassKey32, "win32", RegistryView::Bits64, kClassKey, kPath64,
         "win64"},
        {RegistryView::Bits64, kClassKey, "win64", RegistryView::Bits32, kClassKey32, kPath32,
         "win32"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstClassKey);
        registerBoth();
        EXPECT_TRUE(removeRegistration(outlookAddin(), c.first));
        const Dump one = dump();
        EXPECT_EQ(one.count(c.firstClassKey), 0u);
        EXPECT_EQ(moduleOf(one, c.lastClassKey), c.lastPath);
        EXPECT_EQ(typeLibModuleOf(one, c.firstPlatform), "");
        EXPECT_EQ(typeLibModuleOf(one, c.lastPlatform), c.lastPath);
        EXPECT_TRUE(sharedKeysIn(one));
        EXPECT_TRUE(removeRegistration(outlookAddin(), c.last));
        EXPECT_EQ(dump(), before);
        EXPECT_EQ(registry.openHandles(), 0);
    }
}

// 32-bit Windows has one view: the class key is named by no view flag, and
// with it go the shared keys.
TEST_F(RegistrationTest, WithOneViewTheClassGoesWithTheSharedKeys) {
    otherKeys();
    const Dump before = dump();
    ASSERT_TRUE(writeRegistration(outlookAddin(), kPath32, RegistryView::Only));
    EXPECT_TRUE(exists(kClassKey));
    EXPECT_TRUE(exists(kAddinKey));
    EXPECT_TRUE(removeRegistration(outlookAddin(), RegistryView::Only));
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(registry.openHandles(), 0);
}

TEST(RegistrationWithoutRegistry, FailsQuietly) {
    ASSERT_FALSE(Port<Registry>::installed());
    EXPECT_FALSE(writeRegistration(outlookAddin(), kPath));
    EXPECT_FALSE(removeRegistration(outlookAddin()));
}

}  // namespace
}  // namespace cq

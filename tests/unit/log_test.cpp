#include "outlook/CLibQuintor.h"
#include "outlook/Log.h"
#include "tests/doubles/RecordingSupportLibrary.h"

#include <gtest/gtest.h>

#include "common/Port.h"

namespace cq {
namespace {

using test::LogEntry;
using test::RecordingSupportLibrary;

struct ErrLogCase {
    const char* name;
    HostError failure;
    std::int32_t number;
    std::optional<std::string> description, extra;
    LogEntry expected;
};

TEST(ErrLog, BuildsTheEntryFromTheFailureBeingHandled) {
    const std::string src = "Connect::m_oInspectors_NewInspector";
    const ErrLogCase cases[] = {
        {"number and text of the failure",
         HostError(91, "Object variable not set"),
         -1,
         {},
         {},
         {"Object variable not set", 91, src, 3, 1}},
        {"own number and text",
         HostError(91, "x"),
         0,
         "Bad thing",
         {},
         {"Bad thing", 0, src, 3, 1}},
        {"extra text",
         HostError(5, "Invalid call"),
         -1,
         {},
         "Tag=7",
         {"Invalid call; Tag=7", 5, src, 3, 1}},
        {"source line",
         HostError(13, "Type mismatch", 120),
         -1,
         {},
         {},
         {"Type mismatch", 13, src + "(120)", 3, 1}},
    };
    for (const auto& c : cases) {
        RecordingSupportLibrary lib;
        ScopedPort<SupportLibrary> port(lib);
        errLog(src, c.failure, c.number, c.description, c.extra);
        ASSERT_EQ(lib.entries.size(), 1u) << c.name;
        EXPECT_EQ(lib.entries[0], c.expected) << c.name;
    }
}

TEST(Log, DebugAndPlainErrorEntriesCarryTheInstanceHandle) {
    RecordingSupportLibrary lib;
    ScopedPort<SupportLibrary> port(lib);
    LibQuintorInitInfo info;
    g_oLib.GetDefaultInitInfo(info);
    EXPECT_EQ(info.cbSize, kLibQuintorInitInfoSize);
    EXPECT_EQ(info.oHost, nullptr);
    lib.initResult = 7;
    EXPECT_EQ(g_oLib.InitEx(0x1000, info), 7);

    dbgLog("CInspectorWrapper::Init", "->", 2);
    errLog("mDatestamp::GetDateFormat", 1004, "GetDateFormatA(x)", "more");
    EXPECT_EQ(lib.lastInstance, 0x1000u);
    EXPECT_EQ(lib.debugs(), (std::vector<LogEntry>{{"->", 0, "CInspectorWrapper::Init", 1, 2}}));
    EXPECT_EQ(lib.errors(), (std::vector<LogEntry>{{"GetDateFormatA(x); more", 1004,
                                                    "mDatestamp::GetDateFormat", 3, 1}}));
}

TEST(Log, AMissingLibraryFailsTheCallButKeepsTheInstanceHandle) {
    RecordingSupportLibrary lib;
    lib.missing = true;
    ScopedPort<SupportLibrary> port(lib);
    LibQuintorInitInfo info;
    EXPECT_THROW(g_oLib.InitEx(0x2000, info), HostError);
    EXPECT_THROW(dbgLog("s", "m", 1), HostError);
    lib.missing = false;
    g_oLib.InitComplete();
    EXPECT_EQ(lib.lastInstance, 0x2000u);
}

}  // namespace
}  // namespace cq

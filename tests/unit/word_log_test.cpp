#include "word/Log.h"

#include <gtest/gtest.h>

#include "common/HostError.h"
#include "tests/doubles/WordWorld.h"
#include "word/Connect.h"

namespace cq::test {
namespace {

using word::Connect;

TEST(WordLog, FirstRunCreatesTheFoldersAndWritesTheVersionAndBraces) {
    WordWorld world(11);
    ASSERT_FALSE(world.files.hasFolder(std::string(kAppData) + "\\Quintor"));
    { Connect connect; }
    EXPECT_EQ(world.files.directoryCalls,
              (std::vector<std::string>{kAppData, std::string(kAppData) + "\\Quintor",
                                        std::string(kAppData) + "\\Quintor\\Inkwell"}));
    EXPECT_TRUE(world.files.hasFolder(std::string(kAppData) + "\\Quintor\\Inkwell"));
    EXPECT_EQ(word::g_sLogFile, kLogPath);
    EXPECT_EQ(world.logLines(), (std::vector<std::string>{"1.00.0066", "{", "}"}));
    EXPECT_EQ(world.files.content(kLogPath), "1.00.0066\r\n{\r\n}\r\n");
    EXPECT_EQ(world.files.opens, 3) << "one open per line";
}

TEST(WordLog, VersionLine) {
    const std::pair<ModuleVersion, const char*> cases[] = {
        {{1, 0, 66, 0}, "1.00.0066"},   {{1, 5, 7, 0}, "1.05.0007"},
        {{2, 123, 7, 9}, "2.123.0007"}, {{10, 10, 12345, 3}, "10.10.12345"},
        {{0, 0, 0, 0}, "0.00.0000"},
    };
    for (const auto& [version, line] : cases) EXPECT_EQ(word::VersionLine(version), line);
}

TEST(WordLog, ASecondConnectAppendsToTheSameFileWithoutLookingItUpAgain) {
    WordWorld world(10);
    { Connect first; }
    world.writeString(kShellFoldersKey, "AppData", "D:\\Elsewhere");
    {
        Connect second;
        Connect third;
    }
    EXPECT_EQ(world.files.directoryCalls.size(), 3u);
    EXPECT_EQ(world.logLines(), (std::vector<std::string>{"1.00.0066", "{", "}", "1.00.0066", "{",
                                                          "1.00.0066", "{", "}", "}"}));
}

TEST(WordLog, DebugLineJoinsPrefixProcedureAndMessage) {
    WordWorld world(11);
    word::dbgLog("->EnvelopeClick", "");
    word::dbgLog("Proc", "text");
    EXPECT_EQ(world.logLines(),
              (std::vector<std::string>{"[DBG] ->EnvelopeClick: ", "[DBG] Proc: text"}));
}

TEST(WordLog, AReadOnlyLogFileDropsTheLinesSilently) {
    WordWorld world(11);
    world.files.addFolder(std::string(kAppData) + "\\Quintor\\Inkwell");
    world.files.makeReadOnly(kLogPath);
    {
        Connect connect;
        word::WriteLog("lost");
    }
    EXPECT_EQ(world.files.content(kLogPath), "");
    EXPECT_EQ(word::g_sLogFile, kLogPath);
}

// Where the log goes when the shell folder cannot be had.
TEST(WordLog, LogFolderFallbacks) {
    struct Case {
        const char* name;
        bool appDataValue;
        bool registryFails;
        bool moduleFolderKnown;
        const char* expectedFile;
    };
    const Case cases[] = {
        {"no AppData value", false, false, true,
         "C:\\Program Files\\Inkwell\\Quintor\\Inkwell\\WordAddin.log"},
        {"registry cannot be opened", true, true, true,
         "C:\\Program Files\\Inkwell\\Quintor\\Inkwell\\WordAddin.log"},
        {"nothing known", false, false, false, "\\WordAddin.log"},
    };
    for (const auto& c : cases) {
        WordWorld world(11);
        if (!c.appDataValue) world.writeString(kShellFoldersKey, "AppData", "");
        if (c.registryFails) world.registry.failOn(RegOp::OpenKey, reg::kAccessDenied);
        world.module.folderMissing = !c.moduleFolderKnown;
        word::WriteLog("line");
        EXPECT_EQ(word::g_sLogFile, c.expectedFile) << c.name;
        EXPECT_EQ(world.files.lines(c.expectedFile), std::vector<std::string>{"line"}) << c.name;
        EXPECT_EQ(world.registry.openHandles(), 0) << c.name;
    }
}

TEST(WordLog, AVersionThatCannotBeReadSkipsOnlyTheVersionLine) {
    struct NoVersion : FakeModule {
        ModuleVersion version() override { throw HostError(1813, "no version resource"); }
    } module;
    WordWorld world(11);
    ScopedPort<Module> port(module);
    word::LogStart();
    word::LogEnd();
    EXPECT_EQ(world.logLines(), (std::vector<std::string>{"{", "}"}));
}

TEST(WordLog, AMissingFolderLosesTheLinesAndNothingIsThrown) {
    WordWorld world(11);
    world.writeString(kShellFoldersKey, "AppData", "Q:\\Gone\\AppData");
    word::WriteLog("lost");
    EXPECT_FALSE(world.files.hasFile("Q:\\Gone\\AppData\\Quintor\\Inkwell\\WordAddin.log"));
}

}  // namespace
}  // namespace cq::test

#include "outlook/StampSettings.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/doubles/StampWorld.h"

namespace cq {
namespace {

using namespace std::string_literals;
using test::StampWorld;

struct Layout {
    std::int32_t datePos, dateFormat;
    std::string datePicture;
    std::int32_t timePos, timeFormat;
    std::string timePicture;
};

Layout layoutOf(const StampSettings& s) {
    return {s.m_nDatePos, s.m_nDateFormat, s.m_sDateFormat,
            s.m_nTimePos, s.m_nTimeFormat, s.m_sTimeFormat};
}

void expectLayout(const StampSettings& s, const Layout& want, const std::string& name) {
    Layout got = layoutOf(s);
    EXPECT_EQ(got.datePos, want.datePos) << name;
    EXPECT_EQ(got.dateFormat, want.dateFormat) << name;
    EXPECT_EQ(got.datePicture, want.datePicture) << name;
    EXPECT_EQ(got.timePos, want.timePos) << name;
    EXPECT_EQ(got.timeFormat, want.timeFormat) << name;
    EXPECT_EQ(got.timePicture, want.timePicture) << name;
}

const Layout kDefaults{1, 0, "", 2, 0, ""};
const Layout kTimeOnly{0, 0, "", 1, 0, ""};
const Layout kDateOnly{1, 0, "", 0, 0, ""};

TEST(TrimBlank, DropsOnlySpacesAndTabsAtBothEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},       {" \t \t", ""},         {"  a b  ", "a b"},
        {"\ta\t", "a"}, {"\r a \n", "\r a \n"}, {"x", "x"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(TrimBlank(in), out) << "[" << in << "]";
}

struct FileCase {
    const char* name;
    std::string content;
    Layout expected;
};

TEST(StampSettingsFile, LinesSetTheLayoutAndFormats) {
    const std::string mib(1 << 20, 'y');
    const FileCase cases[] = {
        {"key and value in any case, blanks around =",
         "FORMAT = TimeDate\r\n",
         {2, 0, "", 1, 0, ""}},
        {"picture keeps its case", "dateformat = dd.MM.yyyy\r\n", {1, -1, "dd.MM.yyyy", 2, 0, ""}},
        {"empty value is system short",
         "timeformat=HH:mm\r\ntimeformat=\r\n",
         {1, 0, "", 2, 0, "HH:mm"}},
        {"later line wins", "format=date\r\nformat=time\r\n", kTimeOnly},
        {"comment", ";format=time\r\n", kDefaults},
        {"key without =", "format\r\n", kDefaults},
        {"section header is harmless", "[Stamp]\r\nformat=time\r\n", kTimeOnly},
        {"tabs and spaces", "\t format \t=\t date \t\r\n", kDateOnly},
        {"explicit defaults",
         "; stamp "
         "layout\r\nformat=datetime\r\ndateformat=systemshort\r\ntimeformat=systemshort\r\n",
         kDefaults},
        {"empty format", "format=\r\n", kDefaults},
        {"unknown key", "colour=blue\r\n", kDefaults},
        {"empty key", "=time\r\n", kDefaults},
        {"value holds =", "dateformat='a=b' yyyy\r\n", {1, -1, "'a=b' yyyy", 2, 0, ""}},
        {"system kinds in any case",
         "dateformat=SystemLong\r\ntimeformat=SYSTEMLONG\r\n",
         {1, 1, "", 2, 1, ""}},
        {"a system kind keeps the picture",
         "timeformat=HH:mm 'h'\r\ntimeformat=systemlong\r\n",
         {1, 0, "", 2, 1, "HH:mm 'h'"}},
        {"LF line ends", "format=time\ntimeformat=H.mm\n", {0, 0, "", 1, -1, "H.mm"}},
        {"CR-only line ends", "format=date\rdateformat=systemlong\r", {1, 1, "", 0, 0, ""}},
        {"mixed line ends",
         "format=time\r\n\n\rdateformat=d\rtimeformat=ss\n",
         {0, -1, "d", 1, -1, "ss"}},
        {"no line end at all", "format=time", kTimeOnly},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "format=time\r\n",
         kTimeOnly},
        {"byte-order mark on a comment", "\xEF\xBB\xBF;x\r\nformat=date", kDateOnly},
        {"byte-order mark only", "\xEF\xBB\xBF", kDefaults},
        {"mark in the middle is text",
         "format=date\r\n\xEF\xBB\xBF"
         "format=time\r\n",
         kDateOnly},
        {"binary junk around a good line",
         "\x01\x02\xff\xfe\r\nformat=time\r\n\0\0=\x80\r\n\0format=date"s, kTimeOnly},
        {"a 1 MiB picture", "dateformat=" + mib + "\r\n", {1, -1, mib, 2, 0, ""}},
        {"a 1 MiB line of junk", "format=time\r\n" + mib + "\r\nformat", kTimeOnly},
        {"empty file", "", kDefaults},
    };
    for (std::size_t piece : {0u, 1u, 7u}) {
        for (const auto& c : cases) {
            StampWorld world;
            world.file.pieceSize = piece;
            world.file.write(c.content, 1);
            UpdateStampSettings();
            expectLayout(g_StampSettings, c.expected,
                         std::string(c.name) + " / pieces of " + std::to_string(piece));
        }
    }
}

TEST(StampSettingsFile, RandomBytesNeverBreakTheRead) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 200; ++round) {
        StampWorld world;
        std::string junk(random() % 4096, '\0');
        for (char& c : junk) c = static_cast<char>(random());
        world.file.write(junk, 1);
        world.file.pieceSize = random() % 64;
        ASSERT_NO_THROW(UpdateStampSettings()) << round;
        const StampSettings& s = g_StampSettings;
        EXPECT_TRUE(s.m_nDatePos >= 0 && s.m_nDatePos <= 2) << round;
        EXPECT_TRUE(s.m_nTimePos >= 0 && s.m_nTimePos <= 2) << round;
        EXPECT_NE(s.m_nDatePos + s.m_nTimePos, 0) << round;
    }
}

TEST(StampSettingsCache, NoFileGivesTheDefaultsWithoutReading) {
    StampWorld world;
    UpdateStampSettings();
    expectLayout(g_StampSettings, kDefaults, "no file");
    EXPECT_EQ(world.file.timeQueries, 1);
    EXPECT_EQ(world.file.reads, 0);
}

TEST(StampSettingsCache, AnUnchangedFileCostsOneTimeQueryAndIsReadOnce) {
    StampWorld world;
    world.file.write("format=time\r\n", 7);
    for (int i = 0; i < 3; ++i) UpdateStampSettings();
    expectLayout(g_StampSettings, kTimeOnly, "unchanged");
    EXPECT_EQ(world.file.timeQueries, 3);
    EXPECT_EQ(world.file.reads, 1);
}

TEST(StampSettingsCache, ANewTimeRereadsFromTheDefaults) {
    StampWorld world;
    world.file.write("format=time\r\ntimeformat=HH\r\n", 7);
    UpdateStampSettings();

    world.file.lastWrite = {8, 0};  // touched, same content
    UpdateStampSettings();
    expectLayout(g_StampSettings, {0, 0, "", 1, -1, "HH"}, "touched");
    EXPECT_EQ(world.file.reads, 2);

    world.file.write("timeformat=HH\r\n", {8, 1});  // only the high half differs
    UpdateStampSettings();
    expectLayout(g_StampSettings, {1, 0, "", 2, -1, "HH"}, "format line deleted");
    EXPECT_EQ(world.file.reads, 3);
}

TEST(StampSettingsCache, AFileThatComesBackWithTheSameTimeIsRead) {
    StampWorld world;
    world.file.write("format=time\r\n", 7);
    UpdateStampSettings();
    world.file.vanish();
    UpdateStampSettings();
    expectLayout(g_StampSettings, kDefaults, "removed");

    world.file.write("format=time\r\n", 7);
    UpdateStampSettings();
    expectLayout(g_StampSettings, kTimeOnly, "back with the same time");
    EXPECT_EQ(world.file.reads, 2);
}

TEST(StampSettingsCache, AFileWhoseTimeCannotBeReadIsStillRead) {
    StampWorld world;
    world.file.write("format=time\r\n", 7);
    world.file.timeReadable = false;  // the time stays zero, as in a fresh add-in
    UpdateStampSettings();
    expectLayout(g_StampSettings, kTimeOnly, "time unreadable");
    UpdateStampSettings();
    EXPECT_EQ(world.file.reads, 1);
}

TEST(StampSettingsCache, AFailedReadLeavesTheSettingsInForceUntilTheFileChanges) {
    for (int linesBefore : {0, 1, 2}) {
        StampWorld world;
        world.file.write("format=time\r\n", 7);
        UpdateStampSettings();

        world.file.write("format=date\r\ndateformat=yyyy\r\n", 8);
        world.file.failRead = true;
        world.file.linesBeforeFailure = linesBefore;
        EXPECT_THROW(UpdateStampSettings(), HostError) << linesBefore;
        expectLayout(g_StampSettings, kTimeOnly, "after the failed read");
        EXPECT_EQ(g_StampSettings.m_ftLastWrite, (FileTime{7, 0}));

        world.file.failRead = false;
        EXPECT_NO_THROW(UpdateStampSettings()) << "the same version is not read again";
        EXPECT_EQ(world.file.reads, 2);
        expectLayout(g_StampSettings, kTimeOnly, "still in force");

        world.file.write("format=date\r\ndateformat=yyyy\r\n", 9);
        UpdateStampSettings();
        expectLayout(g_StampSettings, {1, -1, "yyyy", 0, 0, ""}, "read again");
        EXPECT_EQ(world.file.reads, 3);
    }
}

}  // namespace
}  // namespace cq

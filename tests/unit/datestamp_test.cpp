#include "outlook/mDatestamp.h"

#include <gtest/gtest.h>

#include "tests/doubles/StampWorld.h"

namespace cq {
namespace {

using test::LogEntry;
using test::PinnedLocale;
using test::StampWorld;

const DateTime kAt{2026, 12, 6, 9, 5, 7};  // a Sunday
constexpr std::int32_t kUntouched = 42;

struct StampCase {
    const char* name;
    std::string settings;  // file content; empty: no file
    std::string stamp;
    std::int32_t kind;
};

void runStampCases(
    const std::vector<StampCase>& cases, void (*setUp)(StampWorld&) = [](StampWorld&) {}) {
    for (const auto& c : cases) {
        StampWorld world;
        setUp(world);
        if (!c.settings.empty()) world.file.write(c.settings, 1);
        std::int32_t kind = kUntouched;
        EXPECT_EQ(GetDatestamp(kAt, kind), c.stamp) << c.name;
        EXPECT_EQ(kind, c.kind) << c.name;
        EXPECT_TRUE(world.lib.errors().empty()) << c.name;
    }
}

TEST(GetDatestamp, LayoutsAndFormats) {
    runStampCases({
        {"no file: short date and time without seconds", "", "06.12.2026 09:05", 0},
        {"format=time", "format=time\r\n", "09:05", 2},
        {"time then date, long time", "format=timedate\r\ntimeformat=systemlong\r\n",
         "09:05:07 06.12.2026", 3},
        {"date only with a picture", "format=date\r\ndateformat=yyyy-MM-dd\r\n", "2026-12-06", 1},
        {"datetime is the default order", "format=datetime\r\n", "06.12.2026 09:05", 0},
        {"an unknown layout is the default order", "format=later\r\n", "06.12.2026 09:05", 0},
        {"long date", "dateformat=systemlong\r\n", "Sunday, 6. December 2026 09:05", 0},
        {"long time", "timeformat=systemlong\r\n", "06.12.2026 09:05:07", 0},
        {"time picture keeps seconds", "format=time\r\ntimeformat=h:mm:ss tt\r\n", "9:05:07 AM", 2},
        {"pictures with literals",
         "format=timedate\r\ndateformat=ddd d MMM yy\r\ntimeformat=HH'h'mm\r\n",
         "09h05 Sun 6 Dec 26", 3},
        {"date only, no space", "format=date\r\n", "06.12.2026", 1},
    });
}

TEST(GetDatestamp, SystemShortTimeIsTheUserPictureWithoutSeconds) {
    // The pinned locale's long time is the user's picture with its seconds.
    const struct {
        std::string picture;
        std::string stamp;
        int pictureRenderings;
    } cases[] = {
        {"HH:mm:ss", "09:05", 1},
        {"HH:mm:ss tt", "09:05 AM", 1},
        {"h:mm:ss tt", "9:05 AM", 1},
        {"ss:HH:mm", "09:05", 1},
        {"HH.mm", "09.05", 1},
        {"", "", 0},      // no picture: the long time, without trying to render
        {"ss", "07", 1},  // renders empty: the long time
    };
    for (const auto& c : cases) {
        StampWorld world;
        world.locale.timePicture = c.picture;
        world.file.write("format=time\r\n", 1);
        std::int32_t kind = kUntouched;
        EXPECT_EQ(GetDatestamp(kAt, kind), c.stamp) << c.picture;
        EXPECT_EQ(kind, 2);
        EXPECT_EQ(world.locale.timeCalls, c.pictureRenderings) << c.picture;
        EXPECT_TRUE(world.lib.errors().empty()) << c.picture;
    }
}

TEST(GetDatestamp, UnreadableUserTimePictureGivesTheLongTimeSilently) {
    StampWorld world;
    world.locale.timePictureReadable = false;
    std::int32_t kind = kUntouched;
    EXPECT_EQ(GetDatestamp(kAt, kind), "06.12.2026 09:05:07");
    EXPECT_EQ(kind, 0);
    EXPECT_TRUE(world.lib.entries.empty());
}

struct RejectCase {
    const char* name;
    std::string settings;
    std::string rejected;  // picture the locale rejects; empty: none
    std::string stamp;
    LogEntry entry;
};

TEST(GetDatestamp, ARejectedPictureWritesOneEntryAndFallsBack) {
    const std::string fits = "yyyy'" + std::string(300, 'x') + "'";
    // 63 month names grow the rendering by 252, three single M by 3: exactly
    // the picture's length plus 255 characters and the terminating zero.
    std::string exact;
    for (int i = 0; i < 63; ++i) exact += "MMMM ";
    exact += "M M M";
    const std::string tooLong = exact + " M";
    // 100 Hangul literals are 302 UTF-8 bytes but 102 characters: the room is
    // counted in characters, so 65 month names (585 with their blanks) overflow it by 3.
    std::string hangul = "'";
    for (int i = 0; i < 100; ++i) hangul += "\xED\x95\x9C";
    hangul += "'";
    for (int i = 0; i < 65; ++i) hangul += " MMMM";
    const RejectCase cases[] = {
        {"date picture",
         "dateformat=dd/MM\r\n",
         "dd/MM",
         "06.12.2026 09:05",
         {"GetDateFormatA(dd/MM)", PinnedLocale::kInvalidParameter, "mDatestamp::GetDateFormat", 3,
          1}},
        {"time picture",
         "timeformat=HH-mm\r\n",
         "HH-mm",
         "06.12.2026 09:05:07",
         {"GetTimeFormatA(HH-mm)", PinnedLocale::kInvalidParameter, "mDatestamp::GetTimeFormat", 3,
          1}},
        {"user time picture",
         "",
         "HH:mm:ss",
         "06.12.2026 09:05:07",
         {"GetTimeFormatA(HH:mm:ss)", PinnedLocale::kInvalidParameter, "mDatestamp::GetTimeFormat",
          3, 1}},
        {"rendering needs more room",
         "format=date\r\ndateformat=" + tooLong + "\r\n",
         "",
         "06.12.2026",
         {"GetDateFormatA(" + tooLong + ")", PinnedLocale::kInsufficientBuffer,
          "mDatestamp::GetDateFormat", 3, 1}},
        {"room counted in characters, not bytes",
         "format=date\r\ndateformat=" + hangul + "\r\n",
         "",
         "06.12.2026",
         {"GetDateFormatA(" + hangul + ")", PinnedLocale::kInsufficientBuffer,
          "mDatestamp::GetDateFormat", 3, 1}},
    };
    for (const auto& c : cases) {
        StampWorld world;
        if (!c.settings.empty()) world.file.write(c.settings, 1);
        if (!c.rejected.empty()) world.locale.rejected.insert(c.rejected);
        for (int call = 1; call <= 2; ++call) {
            std::int32_t kind = kUntouched;
            EXPECT_EQ(GetDatestamp(kAt, kind), c.stamp) << c.name;
            EXPECT_NE(kind, kUntouched) << c.name;
            ASSERT_EQ(world.lib.errors().size(), static_cast<std::size_t>(call)) << c.name;
            EXPECT_EQ(world.lib.errors().back(), c.entry) << c.name;
        }
    }

    // Pictures longer than 256 characters work while their rendering fits.
    StampWorld world;
    world.file.write("format=date\r\ndateformat=" + fits + "\r\n", 1);
    std::int32_t kind = kUntouched;
    EXPECT_EQ(GetDatestamp(kAt, kind), "2026" + std::string(300, 'x'));
    world.file.write("format=date\r\ndateformat=" + exact + "\r\n", 2);
    std::string stamp = GetDatestamp(kAt, kind);
    EXPECT_EQ(stamp.size(), exact.size() + 255);
    EXPECT_TRUE(stamp.starts_with("December December ")) << stamp.substr(0, 40);
    EXPECT_TRUE(world.lib.errors().empty());
}

struct FailureCase {
    const char* name;
    void (*setUp)(StampWorld&);
    DateTime at;
    std::string stamp;
    std::int32_t number;
};

TEST(GetDatestamp, AFailureGivesTheGeneralDateAndLeavesTheKind) {
    const FailureCase cases[] = {
        {"settings file unreadable",
         [](StampWorld& w) {
             w.file.write("format=time\r\n", 1);
             w.file.failRead = true;
         },
         kAt, "06.12.2026 09:05:07", 5},
        {"settings file gone between the time query and the read",
         [](StampWorld& w) {
             w.file.write("format=time\r\n", 1);
             w.file.failRead = true;
             w.file.linesBeforeFailure = 1;
             w.file.readError = 53;
         },
         kAt, "06.12.2026 09:05:07", 53},
        {"module folder unknown", [](StampWorld& w) { w.module.folderMissing = true; }, kAt,
         "06.12.2026 09:05:07", 126},
        {"standard renderings fail", [](StampWorld& w) { w.locale.renderingsFail = true; }, kAt,
         "2026-12-06 09:05:07", PinnedLocale::kInvalidParameter},
        {"no such date",
         [](StampWorld&) {},
         {2026, 2, 30, 23, 59, 59},
         "2026-02-30 23:59:59",
         PinnedLocale::kInvalidParameter},
    };
    for (const auto& c : cases) {
        StampWorld world;
        c.setUp(world);
        std::int32_t kind = kUntouched;
        EXPECT_EQ(GetDatestamp(c.at, kind), c.stamp) << c.name;
        EXPECT_EQ(kind, kUntouched) << c.name;
        auto errors = world.lib.errors();
        ASSERT_EQ(errors.size(), 1u) << c.name;
        EXPECT_EQ(errors[0].source, "mDatestamp::GetDatestamp") << c.name;
        EXPECT_EQ(errors[0].number, c.number) << c.name;
        EXPECT_EQ(errors[0].level, 1) << c.name;
    }
}

TEST(GetDatestamp, AnUnreadableVersionIsLoggedOnceAndTriedAgainWhenTheFileChanges) {
    StampWorld world;
    world.file.write("format=time\r\n", 1);
    std::int32_t kind = kUntouched;
    EXPECT_EQ(GetDatestamp(kAt, kind), "09:05");

    world.file.failRead = true;
    world.file.linesBeforeFailure = 1;
    const struct {
        const char* name;
        std::uint32_t time;  // the file's last-write time; 0: as it was
        bool readable;
        std::string stamp;
        std::int32_t kind;  // kUntouched: the kind is left as it was
        std::size_t errors, reads;
    } steps[] = {
        {"a new version cannot be read", 2, false, "06.12.2026 09:05:07", kUntouched, 1, 2},
        {"the same version: settings in force, no entry", 0, false, "09:05", 2, 1, 2},
        {"readable again, same time: not tried", 0, true, "09:05", 2, 1, 2},
        {"another unreadable version", 3, false, "06.12.2026 09:05:07", kUntouched, 2, 3},
        {"a readable version", 4, true, "2026-12-06", 1, 2, 4},
    };
    for (const auto& step : steps) {
        if (step.time != 0) world.file.write("format=date\r\ndateformat=yyyy-MM-dd\r\n", step.time);
        world.file.failRead = !step.readable;
        kind = kUntouched;
        EXPECT_EQ(GetDatestamp(kAt, kind), step.stamp) << step.name;
        EXPECT_EQ(kind, step.kind) << step.name;
        EXPECT_EQ(world.lib.errors().size(), step.errors) << step.name;
        EXPECT_EQ(world.file.reads, static_cast<int>(step.reads)) << step.name;
    }
}

TEST(GetDatestamp, AFailingLogStillGivesAStamp) {
    StampWorld world;
    world.lib.missing = true;
    world.file.write("format=time\r\ntimeformat=HH-mm\r\n", 1);
    world.locale.rejected.insert("HH-mm");
    std::int32_t kind = kUntouched;
    EXPECT_EQ(GetDatestamp(kAt, kind), "06.12.2026 09:05:07");
    EXPECT_EQ(kind, kUntouched);
}

}  // namespace
}  // namespace cq

// The real Windows ports of the stamp composition, under the test prefix's
// pinned formats (short date dd.MM.yyyy, long date "dddd, d. MMMM yyyy",
// time picture HH:mm:ss).

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "common/HostError.h"
#include "common/win32/Text.h"
#include "common/win32/Win32Clock.h"
#include "common/win32/Win32Module.h"
#include "outlook/win32/Win32Locale.h"
#include "outlook/win32/Win32SettingsFile.h"
#include "version.h"

namespace cq {
namespace {

const DateTime kAt{2026, 12, 6, 9, 5, 7};

TEST(Win32Locale, PicturesSettingsAndStandardRenderings) {
    win32::Win32Locale locale;
    struct Case {
        const char* name;
        LocaleText got;
        std::string text;
    } const cases[] = {
        {"date picture", locale.formatDate(0, kAt, "yyyy-MM-dd", 266), "2026-12-06"},
        {"weekday and month names", locale.formatDate(0, kAt, "dddd d MMMM", 267),
         "Sunday 6 December"},
        {"quoted literal", locale.formatDate(0, kAt, "'day' d", 263), "day 6"},
        {"time without seconds", locale.formatTime(2, kAt, "HH:mm:ss", 264), "09:05"},
        {"time with seconds", locale.formatTime(0, kAt, "HH:mm:ss", 264), "09:05:07"},
        {"user's time picture", locale.localeInfo(0x1003, 256), "HH:mm:ss"},
        // Outside the ANSI code page (1252 here): Hangul literals, and a
        // rendering of 9 characters in a buffer of exactly 10.
        {"Hangul literals", locale.formatDate(0, kAt, "yyyy'\xEB\x85\x84' M'\xEC\x9B\x94'", 10),
         "2026\xEB\x85\x84 12\xEC\x9B\x94"},
        {"a literal beyond U+FFFF", locale.formatTime(0, kAt, "HH'\xF0\x9F\x95\x98'mm", 263),
         "09\xF0\x9F\x95\x98"
         "05"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got.text, c.text) << c.name;
        EXPECT_EQ(c.got.count, static_cast<int>(win32::toWide(c.text).size()) + 1) << c.name;
    }
    EXPECT_EQ(locale.shortDate(kAt), "06.12.2026");
    EXPECT_EQ(locale.longDate(kAt), "Sunday, 6. December 2026");
    EXPECT_EQ(locale.longTime(kAt), "09:05:07");
    EXPECT_EQ(locale.generalDate(kAt), "06.12.2026 09:05:07");
}

TEST(Win32Locale, ARenderingWithoutRoomFails) {
    win32::Win32Locale locale;
    LocaleText fits = locale.formatDate(0, kAt, "yyyy-MM-dd", 11);
    EXPECT_EQ(fits.count, 11);
    LocaleText tooSmall = locale.formatDate(0, kAt, "yyyy-MM-dd", 10);
    EXPECT_EQ(tooSmall.count, 0);
    EXPECT_EQ(tooSmall.error, ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(locale.formatTime(0, kAt, "HH:mm", 3).count, 0);
    EXPECT_EQ(locale.formatDate(0, {2026, 2, 30, 0, 0, 0}, "d", 257).count, 0);
    EXPECT_THROW(locale.shortDate({2026, 13, 1, 0, 0, 0}), HostError);
}

class Win32SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "chronoquill-settings-test.ini";
        DeleteFileA(path.c_str());
    }
    void TearDown() override { DeleteFileA(path.c_str()); }

    void write(const std::string& bytes, std::uint32_t lowTime) {
        std::ofstream(path, std::ios::binary) << bytes;
        HANDLE h =
            CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        FILETIME t{lowTime, 0x01D00000};
        SetFileTime(h, nullptr, nullptr, &t);
        CloseHandle(h);
    }

    std::vector<std::string> lines() {
        std::vector<std::string> out;
        file.readLines(path, [&out](const std::string& line) { out.push_back(line); });
        return out;
    }

    std::string path;
    win32::Win32SettingsFile file;
};

TEST_F(Win32SettingsFileTest, TimeQueryFollowsTheFile) {
    FileTime t{1, 2};
    EXPECT_FALSE(file.queryWriteTime(path, t));
    EXPECT_EQ(t, (FileTime{1, 2}));

    write("format=time\r\n", 0x10000000);
    ASSERT_TRUE(file.queryWriteTime(path, t));
    EXPECT_EQ(t, (FileTime{0x10000000, 0x01D00000}));

    // Open for writing elsewhere: the query shares read and write access.
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(file.queryWriteTime(path, t));
    CloseHandle(writer);

    write("format=date\r\n", 0x20000000);
    ASSERT_TRUE(file.queryWriteTime(path, t));
    EXPECT_EQ(t.dwLowDateTime, 0x20000000u);
}

TEST_F(Win32SettingsFileTest, LinesInEveryEncodingWithAnyLineEnd) {
    // "a=ł 년": U+0142 and U+B144 are outside code page 1252.
    const std::string utf8 = "a=\xC5\x82 \xEB\x85\x84";
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"ANSI: a with umlaut in code page 1252",
         "a=\xE4\r\nb\nc\rd",
         {"a=\xC3\xA4", "b", "c", "d"}},
        {"ANSI: e acute, not UTF-8", "dateformat=dd '\xE9' MM", {"dateformat=dd '\xC3\xA9' MM"}},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8 + "\r\nb", {utf8, "b"}},
        {"UTF-8 without one", utf8 + "\nb", {utf8, "b"}},
        {"UTF-16 LE",
         std::string("\xFF\xFE"
                     "a\0=\0\x42\x01 \0\x44\xB1\r\0\n\0b\0",
                     18),
         {utf8, "b"}},
        {"UTF-16 BE",
         std::string("\xFE\xFF"
                     "\0a\0=\x01\x42\0 \xB1\x44\0\r\0\n\0b",
                     18),
         {utf8, "b"}},
    };
    std::uint32_t time = 1;
    for (const auto& c : cases) {
        write(c.bytes, time++);
        EXPECT_EQ(lines(), c.lines) << c.name;
    }

    std::string big = "x=" + std::string(1 << 20, 'y');
    write("format=time\r\n" + big + "\r\nlast", time);
    EXPECT_EQ(lines(), (std::vector<std::string>{"format=time", big, "last"}));

    DeleteFileA(path.c_str());
    EXPECT_THROW(lines(), HostError);
}

TEST(Win32Module, FolderHandleAndVersionOfTheRunningProgram) {
    win32::Win32Module module;
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    folder.resize(folder.find_last_of(L'\\'));
    EXPECT_EQ(module.folder(), win32::fromWide(folder));
    EXPECT_NE(module.folder().back(), '\\');
    EXPECT_EQ(module.instance(), reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr)));
    // The test program carries the Outlook add-in's resources, version included.
    EXPECT_EQ(module.version(), (ModuleVersion{CQ_VERSION_MAJOR, CQ_VERSION_MINOR, CQ_VERSION_BUILD,
                                               CQ_VERSION_REVISION}));
}

TEST(Win32Clock, TellsThePresentLocalTime) {
    DateTime now = win32::Win32Clock().now();
    SYSTEMTIME st;
    GetLocalTime(&st);
    EXPECT_EQ(now.year, st.wYear);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.hour, 23);
}

}  // namespace
}  // namespace cq

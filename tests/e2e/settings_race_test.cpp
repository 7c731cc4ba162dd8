// Chronoquill.ini rewritten a thousand times, its last-write time moving every
// time, while stamps are taken: the real settings file, locale and stamp
// composition of the Outlook add-in in this process, a writer thread beside
// the thread that takes the stamps.
//
// Two settings that differ in every line alternate. Whether the writer
// replaces the file whole (a new file renamed over the old one) or rewrites it
// in place (truncated, then written in two parts), every stamp follows exactly
// one of the two, never fields of both nor of a half-written file, and the
// stamp after the last write follows the last version.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "common/Port.h"
#include "common/win32/Text.h"
#include "outlook/StampSettings.h"
#include "outlook/mDatestamp.h"
#include "outlook/win32/Win32Locale.h"
#include "outlook/win32/Win32SettingsFile.h"
#include "tests/doubles/FakeModule.h"
#include "tests/doubles/RecordingSupportLibrary.h"

namespace cq {
namespace {

constexpr int kRewrites = 1000;
constexpr int kStamps = 1000;
const DateTime kAt{2026, 12, 6, 9, 5, 7};

// Every line of one differs from the other's, and every line changes the stamp.
struct Layout {
    const char* name;
    const char* text;
    const char* stamp;
    std::int32_t kind;
};
const Layout kLayouts[] = {
    {"time-date", "format=timedate\r\ndateformat=yyyy-MM-dd\r\ntimeformat=HH'h'mm\r\n",
     "09h05 2026-12-06", kStampTimeDate},
    {"date-time", "format=datetime\r\ndateformat='B' dd/MM/yy\r\ntimeformat=HH.mm.ss\r\n",
     "B 06/12/26 09.05.07", kStampDateTime},
};

// The last-write time of rewrite n: one second apart, never the same twice.
FILETIME timeOfRewrite(int n) {
    ULARGE_INTEGER t;
    t.QuadPart = 0x01DB000000000000ull + static_cast<unsigned long long>(n + 1) * 10000000ull;
    return {t.LowPart, t.HighPart};
}

// A writer that rewrites the file in place, as a plain text editor saves:
// truncated, then filled in two writes, the last-write time set before it is
// closed. The file is kept open for writing throughout.
class InPlaceWriter {
  public:
    // Opens the file, waiting while a reader keeps writers out; false when it
    // cannot be opened. `waits` counts the attempts refused that way.
    bool open(const std::wstring& path, int& waits) {
        for (int attempt = 0; attempt < 10000; ++attempt) {
            file_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file_ != INVALID_HANDLE_VALUE) return true;
            if (GetLastError() != ERROR_SHARING_VIOLATION) return false;
            ++waits;
            SwitchToThread();
        }
        return false;
    }
    bool writeFirstHalf(const std::string& text) { return write(text.substr(0, text.size() / 2)); }
    bool finish(const std::string& text, const FILETIME& time) {
        const bool ok =
            write(text.substr(text.size() / 2)) && SetFileTime(file_, nullptr, nullptr, &time);
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
        return ok;
    }
    ~InPlaceWriter() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }

  private:
    bool write(const std::string& part) {
        DWORD written = 0;
        return WriteFile(file_, part.data(), static_cast<DWORD>(part.size()), &written, nullptr) &&
               written == part.size();
    }
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

bool writeInPlace(const std::wstring& path, const std::string& text, const FILETIME& time,
                  int& waits) {
    InPlaceWriter writer;
    if (!writer.open(path, waits) || !writer.writeFirstHalf(text)) return false;
    SwitchToThread();
    return writer.finish(text, time);
}

struct Tally;

class SettingsRace : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"chronoquill-settings-race-" +
                  std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        ini_ = folder_ + L"\\Chronoquill.ini";
        module_.folderPath = win32::fromWide(folder_);
        g_StampSettings = StampSettings{};
    }
    void TearDown() override {
        g_StampSettings = StampSettings{};
        DeleteFileW((ini_ + L".new").c_str());
        DeleteFileW(ini_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    // The layout a stamp follows, or -1.
    static int layoutOf(const std::string& stamp, std::int32_t kind) {
        for (int i = 0; i < 2; ++i)
            if (stamp == kLayouts[i].stamp && kind == kLayouts[i].kind) return i;
        return -1;
    }

    // Replaces the file whole: the new version is written beside it with its
    // time, then renamed over it. A rename that meets the reader's open handle
    // is tried again; the count of such retries.
    int replaceWhole(const std::string& text, const FILETIME& time) {
        const std::wstring fresh = ini_ + L".new";
        HANDLE file = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return -1;
        DWORD written = 0;
        const bool ok =
            WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
            SetFileTime(file, nullptr, nullptr, &time);
        CloseHandle(file);
        if (!ok) return -1;
        for (int retries = 0; retries < 10000; ++retries) {
            if (MoveFileExW(fresh.c_str(), ini_.c_str(), MOVEFILE_REPLACE_EXISTING)) return retries;
            SwitchToThread();
        }
        return -1;
    }

    void expectEveryStampOfOneVersion(const Tally& t);

    std::wstring folder_;
    std::wstring ini_;
    test::FakeModule module_;
    win32::Win32SettingsFile file_;
    win32::Win32Locale locale_;
    test::RecordingSupportLibrary lib_;

  private:
    ScopedPort<Module> modulePort_{module_};
    ScopedPort<SettingsFile> filePort_{file_};
    ScopedPort<Locale> localePort_{locale_};
    ScopedPort<SupportLibrary> libPort_{lib_};
};

struct Tally {
    int stamps = 0;
    int perLayout[2] = {0, 0};
    int switches = 0;
    std::vector<std::string> others;  // stamps of neither layout, with their kind
};

// Takes stamps on this thread while `write(n)` runs for n = 0..kRewrites-1 on
// another; rewrite n waits until n stamps were taken, so that at least
// kStamps stamps are taken among the rewrites.
template <class Classify, class Write>
Tally race(Classify classify, Write write) {
    std::atomic<int> taken{0};
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int n = 1; n < kRewrites; ++n) {
            while (taken.load() < n) SwitchToThread();
            write(n);
        }
        done = true;
    });
    Tally tally;
    int last = -2;
    while (!done.load() || tally.stamps < kStamps) {
        std::int32_t kind = -1;
        const std::string stamp = GetDatestamp(kAt, kind);
        const int layout = classify(stamp, kind);
        if (layout >= 0) {
            ++tally.perLayout[layout];
            if (last >= 0 && layout != last) ++tally.switches;
            last = layout;
        } else {
            tally.others.push_back(stamp + " kind " + std::to_string(kind));
        }
        ++tally.stamps;
        taken = tally.stamps;
    }
    writer.join();
    return tally;
}

void report(const char* what, const Tally& t, int retries) {
    std::printf(
        "%s: %d stamps, %d time-date, %d date-time, %d switches between them, %zu of neither"
        ", %d writer retries\n",
        what, t.stamps, t.perLayout[0], t.perLayout[1], t.switches, t.others.size(), retries);
}

// The outcome of a race: enough stamps, each of one version, none failed;
// the race was run (the stamps followed the file back and forth); and once
// the writing is over, the stamp follows the last version.
void SettingsRace::expectEveryStampOfOneVersion(const Tally& t) {
    EXPECT_GE(t.stamps, kStamps);
    EXPECT_TRUE(t.others.empty()) << t.others.size() << " stamps of neither version, first "
                                  << t.others.front();
    EXPECT_TRUE(lib_.errors().empty()) << lib_.errors().front().message;
    // That the race ran: on a busy machine the two threads take turns less
    // often (83 switches in 1000 rewrites were seen while builds ran).
    EXPECT_GE(t.switches, 20);
    std::int32_t kind = -1;
    EXPECT_EQ(GetDatestamp(kAt, kind), kLayouts[(kRewrites - 1) % 2].stamp);
    EXPECT_EQ(kind, kLayouts[(kRewrites - 1) % 2].kind);
}

TEST_F(SettingsRace, AFileReplacedWholeGivesStampsOfOneVersionOrTheOther) {
    ASSERT_EQ(replaceWhole(kLayouts[0].text, timeOfRewrite(0)), 0);
    std::atomic<int> retries{0};
    std::atomic<bool> failed{false};
    const Tally t = race(layoutOf, [&](int n) {
        const int r = replaceWhole(kLayouts[n % 2].text, timeOfRewrite(n));
        if (r < 0)
            failed = true;
        else
            retries += r;
    });
    report("replaced whole", t, retries);
    ASSERT_FALSE(failed) << "the writer could not replace the file";
    expectEveryStampOfOneVersion(t);
}

TEST_F(SettingsRace, AReadMeetsTheHandleThatRenamesTheFile) {
    // Renaming a file over another holds a handle with DELETE access on it for
    // a moment (MoveFileEx does so); a reader opening the file then must not
    // be refused, or that stamp would have neither version's layout.
    ASSERT_EQ(replaceWhole(kLayouts[0].text, timeOfRewrite(0)), 0);
    std::int32_t kind = -1;
    EXPECT_EQ(GetDatestamp(kAt, kind), kLayouts[0].stamp);
    ASSERT_EQ(replaceWhole(kLayouts[1].text, timeOfRewrite(1)), 0);
    HANDLE renaming = CreateFileW(ini_.c_str(), DELETE | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(renaming, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetDatestamp(kAt, kind), kLayouts[1].stamp);
    EXPECT_EQ(kind, kLayouts[1].kind);
    CloseHandle(renaming);
    EXPECT_TRUE(lib_.errors().empty()) << lib_.errors().front().message;
}

TEST_F(SettingsRace, AFileRewrittenInPlaceGivesStampsOfOneVersionOrTheOther) {
    int waits = 0;
    ASSERT_TRUE(writeInPlace(ini_, kLayouts[0].text, timeOfRewrite(0), waits));
    std::atomic<bool> failed{false};
    const Tally t = race(layoutOf, [&](int n) {
        if (!writeInPlace(ini_, kLayouts[n % 2].text, timeOfRewrite(n), waits)) failed = true;
    });
    report("rewritten in place", t, waits);
    ASSERT_FALSE(failed) << "the writer could not rewrite the file";
    expectEveryStampOfOneVersion(t);
}

// A stamp taken while a writer has the file open, half written: it waits for
// the writer to finish, for a moment. A writer that takes longer fails that
// stamp (the error entry, no half-written layout), and the next stamp after it
// follows the new version.
TEST_F(SettingsRace, AStampWaitsForAWriterThatHoldsTheFileForAMoment) {
    struct Case {
        DWORD holdMs;
        bool stampWaits;
    };
    const Case cases[] = {{30, true}, {1500, false}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("held for " + std::to_string(c.holdMs) + " ms");
        const std::size_t errorsBefore = lib_.errors().size();
        int waits = 0;
        ASSERT_TRUE(writeInPlace(ini_, kLayouts[0].text, timeOfRewrite(n++), waits));
        std::int32_t kind = -1;
        ASSERT_EQ(GetDatestamp(kAt, kind), kLayouts[0].stamp);

        InPlaceWriter writer;
        ASSERT_TRUE(writer.open(ini_, waits));
        ASSERT_TRUE(writer.writeFirstHalf(kLayouts[1].text));
        const FILETIME time = timeOfRewrite(n++);
        std::atomic<bool> finished{false};
        std::thread finishing([&] {
            Sleep(c.holdMs);
            finished = writer.finish(kLayouts[1].text, time);
        });
        const std::string stamp = GetDatestamp(kAt, kind);
        finishing.join();
        ASSERT_TRUE(finished);
        if (c.stampWaits) {
            EXPECT_EQ(stamp, kLayouts[1].stamp);
            EXPECT_EQ(kind, kLayouts[1].kind);
            EXPECT_EQ(lib_.errors().size(), errorsBefore) << lib_.errors().back().message;
        } else {
            EXPECT_EQ(layoutOf(stamp, kind), -1) << stamp;
            EXPECT_EQ(lib_.errors().size(), errorsBefore + 1);
        }
        EXPECT_EQ(GetDatestamp(kAt, kind), kLayouts[1].stamp);
        EXPECT_EQ(kind, kLayouts[1].kind);
    }
}

}  // namespace
}  // namespace cq

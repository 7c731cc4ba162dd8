// Cost of a stamp with unchanged settings, as a ratio to the floor: the
// platform calls that GetDatestamp cannot avoid for the default layout (the
// settings file's time query, the short date, the user's time picture, the
// time rendered without seconds), made directly with the same arguments.
// Both are timed in alternating rounds in one run; the ratio of the fastest
// rounds is printed, and the median of the per-round ratios.
//
// On Windows every call is real (CreateFile/GetFileTime, GetDateFormatW,
// GetLocaleInfoW, GetTimeFormatW). Natively the time query is a real stat()
// of a real file, so that the floor holds a system call as it does on
// Windows, and the locale is the pinned double.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/Port.h"
#include "common/Unicode.h"
#include "outlook/Locale.h"
#include "outlook/SettingsFile.h"
#include "outlook/StampSettings.h"
#include "outlook/mDatestamp.h"
#include "tests/doubles/FakeModule.h"
#include "tests/doubles/RecordingSupportLibrary.h"

#ifdef _WIN32
#include "outlook/win32/Win32Locale.h"
#include "outlook/win32/Win32SettingsFile.h"
#else
#include <sys/stat.h>

#include "tests/doubles/PinnedLocale.h"
#endif

namespace cq {
namespace {

#ifdef _WIN32
using BenchLocale = win32::Win32Locale;
using BenchFile = win32::Win32SettingsFile;
constexpr const char* kPlatform = "win32 (real calls)";
#else
using BenchLocale = test::PinnedLocale;
constexpr const char* kPlatform = "native (stat() and the pinned locale)";

// The settings file over POSIX: the path's backslashes become slashes.
class BenchFile final : public SettingsFile {
  public:
    bool queryWriteTime(const std::string& path, FileTime& lastWrite) override {
        struct stat st {};
        if (::stat(posix(path).c_str(), &st) != 0) return false;
        auto ns = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                  static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
        lastWrite = {static_cast<std::uint32_t>(ns), static_cast<std::uint32_t>(ns >> 32)};
        return true;
    }
    void readLines(const std::string& path,
                   const std::function<void(const std::string&)>& onLine) override {
        std::ifstream in(posix(path), std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            onLine(line);
        }
    }

  private:
    static std::string posix(std::string path) {
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }
};
#endif

using Clock = std::chrono::steady_clock;

volatile std::size_t g_sink;

template <class Work>
double nanosPerCall(int calls, Work&& work) {
    auto start = Clock::now();
    for (int i = 0; i < calls; ++i) work();
    std::chrono::duration<double, std::nano> took = Clock::now() - start;
    return took.count() / calls;
}

int run() {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "chronoquill-bench";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "Chronoquill.ini", std::ios::binary)
        << "; stamp layout\r\nformat=datetime\r\ndateformat=systemshort\r\n"
           "timeformat=systemshort\r\n";

    test::FakeModule module;
    module.folderPath = dir.string();
    BenchFile file;
    BenchLocale locale;
    test::RecordingSupportLibrary lib;
    ScopedPort<Module> modulePort(module);
    ScopedPort<SettingsFile> filePort(file);
    ScopedPort<Locale> localePort(locale);
    ScopedPort<SupportLibrary> libPort(lib);

    const DateTime at{2026, 12, 6, 9, 5, 7};
    std::int32_t kind = -1;
    std::string first = GetDatestamp(at, kind);
    std::printf("stamp: %s (kind %d)\n", first.c_str(), static_cast<int>(kind));

    // The floor: the same calls with the same arguments, nothing around them.
    const std::string path = module.folderPath + std::string(kStampSettingsFile);
    auto floor = [&] {
        FileTime t;
        file.queryWriteTime(path, t);
        std::string date = locale.shortDate(at);
        LocaleText picture = locale.localeInfo(Locale::kTimeFormatSetting, 256);
        LocaleText time = locale.formatTime(Locale::kTimeNoSeconds, at, picture.text,
                                            static_cast<int>(Utf16Length(picture.text)) + 256);
        g_sink = g_sink + date.size() + time.text.size() + t.dwLowDateTime;
    };
    auto stamp = [&] {
        std::int32_t k = 0;
        g_sink = g_sink + GetDatestamp(at, k).size();
    };

#ifdef _WIN32
    const int calls = 2000, rounds = 15;
#else
    const int calls = 20000, rounds = 15;
#endif
    nanosPerCall(calls / 10, floor);  // warm up
    nanosPerCall(calls / 10, stamp);
    std::vector<double> floors, stamps, ratios;
    for (int r = 0; r < rounds; ++r) {
        double f = nanosPerCall(calls, floor);
        double s = nanosPerCall(calls, stamp);
        floors.push_back(f);
        stamps.push_back(s);
        ratios.push_back(s / f);
    }
    std::sort(ratios.begin(), ratios.end());
    double bestFloor = *std::min_element(floors.begin(), floors.end());
    double bestStamp = *std::min_element(stamps.begin(), stamps.end());

    std::printf("platform: %s\n", kPlatform);
    std::printf("floor (time query + locale calls): %.0f ns per stamp\n", bestFloor);
    std::printf("GetDatestamp, unchanged settings:  %.0f ns per stamp\n", bestStamp);
    std::printf("ratio (fastest rounds): %.2f\n", bestStamp / bestFloor);
    std::printf("ratio (median of %d rounds): %.2f  (target <= 1.30)\n", rounds,
                ratios[ratios.size() / 2]);
    std::printf("error entries: %zu\n", lib.errors().size());

    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return 0;
}

}  // namespace
}  // namespace cq

int main() { return cq::run(); }

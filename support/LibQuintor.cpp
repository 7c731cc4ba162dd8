// Stand-in for the maker's support library: it checks and keeps the start-up
// settings, writes the log, and records the other calls in the log.

#include <windows.h>

#include <climits>
#include <cstdio>
#include <string>

#include "outlook/LibQuintorInitInfo.h"
#include "support/LogFile.h"

namespace cq::libquintor {
namespace {

constexpr long kDebugEntry = 1;
constexpr long kErrorEntry = 3;
constexpr std::size_t kMaxLogName = 100;

struct Settings {
    long logLevel = LONG_MAX;  // everything is kept until InitEx says otherwise
    std::string logName = kDefaultLogName;
};

Settings g_settings;

// A log name must be a plain file name: no folder, drive or stream part.
std::string logNameFrom(std::uint32_t address) {
    const char* name = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(address));
    if (name == nullptr) return kDefaultLogName;
    std::string out;
    for (std::size_t i = 0; name[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (out.size() == kMaxLogName || c < 0x20 || c == '\\' || c == '/' || c == ':')
            return kDefaultLogName;
        out += name[i];
    }
    if (out.empty() || out.find_first_not_of('.') == std::string::npos) return kDefaultLogName;
    return out;
}

// Errors are always kept; other entries up to the configured level.
LONG writeEntry(long kind, long level, const char* source, long number, const char* message) {
    if (kind != kErrorEntry && level > g_settings.logLevel) return 0;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string path = logFilePath(g_settings.logName);
    if (path.empty() ||
        !appendLine(path, formatLogLine(now, kind, level, source, number, message))) {
        const DWORD code = GetLastError();
        return code != 0 ? static_cast<LONG>(code) : ERROR_WRITE_FAULT;
    }
    return 0;
}

// Nothing thrown inside may reach the caller.
template <class Body>
LONG barrier(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return ERROR_INTERNAL_ERROR;
    }
}

}  // namespace
}  // namespace cq::libquintor

using namespace cq::libquintor;

extern "C" {

LONG WINAPI LibQuintorInitEx(HINSTANCE, cq::LibQuintorInitInfo* info) {
    return barrier([&]() -> LONG {
        if (info == nullptr || info->cbSize != static_cast<std::int32_t>(sizeof *info)) {
            char message[64];
            std::snprintf(message, sizeof message, "refused: record size %ld",
                          info == nullptr ? -1L : static_cast<long>(info->cbSize));
            writeEntry(kErrorEntry, 1, "LibQuintor::LibQuintorInitEx", ERROR_INVALID_PARAMETER,
                       message);
            return ERROR_INVALID_PARAMETER;
        }
        g_settings.logLevel = info->lLogLevel;
        g_settings.logName = logNameFrom(info->pszLogName);
        char message[64];
        std::snprintf(message, sizeof message, "started, log level %ld",
                      static_cast<long>(info->lLogLevel));
        writeEntry(kDebugEntry, 1, "LibQuintor::LibQuintorInitEx", 0, message);
        return 0;
    });
}

LONG WINAPI LibQuintorAddAboutMenu(HINSTANCE, void* explorer) {
    return barrier([&]() -> LONG {
        char message[64];
        std::snprintf(message, sizeof message, "about menu for explorer %p", explorer);
        return writeEntry(kDebugEntry, 1, "LibQuintor::LibQuintorAddAboutMenu", 0, message);
    });
}

LONG WINAPI LibQuintorInitComplete(HINSTANCE) {
    return barrier([&]() -> LONG {
        return writeEntry(kDebugEntry, 1, "LibQuintor::LibQuintorInitComplete", 0,
                          "start-up complete");
    });
}

LONG WINAPI LibQuintorLogMsg(HINSTANCE, const char* message, LONG number, const char* source,
                             LONG kind, LONG level) {
    return barrier([&]() -> LONG { return writeEntry(kind, level, source, number, message); });
}

}  // extern "C"

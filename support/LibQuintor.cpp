// Stand-in for the maker's support library: it checks and keeps the start-up
// settings, writes the log, and records the other calls in the log.
//
// Start-up must stay cheap for the host: the records of InitEx, AddAboutMenu
// and InitComplete are taken with their time at the call and kept in memory;
// they reach the file together with the next log entry, or when the library
// is unloaded or the process ends. Log entries are written at once, each with
// its own open/append/close of a file shared for reading, so another program
// sees every entry as soon as the call returns. The log file's path is looked
// up on first need and kept.

#include <windows.h>

#include <climits>
#include <cstdio>
#include <string>
#include <utility>

#include "outlook/LibQuintorInitInfo.h"
#include "support/LogFile.h"
#include "support/PendingLines.h"

namespace cq::libquintor {
namespace {

constexpr long kDebugEntry = 1;
constexpr long kErrorEntry = 3;
constexpr std::size_t kMaxLogName = 100;

struct Settings {
    long logLevel = LONG_MAX;  // everything is kept until InitEx says otherwise
    std::string logName = kDefaultLogName;
    std::wstring logPath;  // of logName, once the folder is known
};

// Calls come from the host's user-interface thread; the lock is for the end
// of the process, which another thread may run while one died inside a call.
CRITICAL_SECTION g_lock;
Settings g_settings;
LogFolder g_folder;
PendingLines g_pending;

class Locked {
  public:
    Locked() { EnterCriticalSection(&g_lock); }
    ~Locked() { LeaveCriticalSection(&g_lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

// A log name must be a plain file name: no folder, drive or stream part.
std::string logNameFrom(const char* name) {
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

// The current log file's full path; empty while the folder is unknown.
const std::wstring& logPath() {
    if (g_settings.logPath.empty() && g_folder.resolve())
        g_settings.logPath = g_folder.fileNamed(g_settings.logName);
    return g_settings.logPath;
}

// Errors are always kept; other entries up to the configured level.
bool isKept(long kind, long level) { return kind == kErrorEntry || level <= g_settings.logLevel; }

// Keeps an entry, with the time of the call, for the current log file.
// 0, or the reason why it cannot be.
LONG keepEntry(long kind, long level, const char* source, long number, const char* message) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string line = formatLogLine(now, kind, level, source, number, message);
    const std::wstring& path = logPath();
    if (path.empty()) return ERROR_PATH_NOT_FOUND;
    g_pending.add(path, line);
    return 0;
}

// A start-up record: kept, to be written with the next log entry or at the
// end; only a large backlog is written at once.
LONG recordEntry(long kind, long level, const char* source, long number, const char* message) {
    if (!isKept(kind, level)) return 0;
    if (const LONG error = keepEntry(kind, level, source, number, message)) return error;
    if (g_pending.bytes() < PendingLines::kWriteAt) return 0;
    return static_cast<LONG>(g_pending.write(g_folder));
}

// A log entry: written now, after the entries kept before it.
LONG writeEntry(long kind, long level, const char* source, long number, const char* message) {
    if (!isKept(kind, level)) return 0;
    if (const LONG error = keepEntry(kind, level, source, number, message)) return error;
    return static_cast<LONG>(g_pending.write(g_folder));
}

// Nothing thrown inside may reach the caller.
template <class Body>
LONG barrier(Body&& body) noexcept {
    try {
        Locked locked;
        return body();
    } catch (...) {
        return ERROR_INTERNAL_ERROR;
    }
}

}  // namespace
}  // namespace cq::libquintor

using namespace cq::libquintor;

extern "C" {

// The kept entries are written when the library is unloaded (FreeLibrary)
// and when the process ends; only the file is touched here, nothing is loaded.
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(module);
        InitializeCriticalSection(&g_lock);
    } else if (reason == DLL_PROCESS_DETACH) {
        if (reserved == nullptr) {
            EnterCriticalSection(&g_lock);
            g_pending.writeAtExit(g_folder);
            LeaveCriticalSection(&g_lock);
            DeleteCriticalSection(&g_lock);
        } else if (TryEnterCriticalSection(&g_lock)) {
            // The process ends and its other threads are gone. Had one of
            // them died inside a call, the lock would still be held and the
            // kept lines possibly half made: then nothing is written.
            g_pending.writeAtExit(g_folder);
            LeaveCriticalSection(&g_lock);
        }
    }
    return TRUE;
}

LONG WINAPI LibQuintorInitEx(HINSTANCE, cq::LibQuintorInitInfo* info) {
    return barrier([&]() -> LONG {
        // Only this build's layout: 60 bytes in a 32-bit library, 72 in a 64-bit one.
        if (info == nullptr || info->cbSize != cq::kLibQuintorInitInfoSize) {
            char message[64];
            std::snprintf(message, sizeof message, "refused: record size %ld",
                          info == nullptr ? -1L : static_cast<long>(info->cbSize));
            writeEntry(kErrorEntry, 1, "LibQuintor::LibQuintorInitEx", ERROR_INVALID_PARAMETER,
                       message);
            return ERROR_INVALID_PARAMETER;
        }
        std::string logName = logNameFrom(info->pszLogName);
        if (logName != g_settings.logName) {
            g_settings.logName = std::move(logName);
            g_settings.logPath.clear();
        }
        g_settings.logLevel = info->lLogLevel;
        char message[64];
        std::snprintf(message, sizeof message, "started, log level %ld",
                      static_cast<long>(info->lLogLevel));
        recordEntry(kDebugEntry, 1, "LibQuintor::LibQuintorInitEx", 0, message);
        return 0;
    });
}

LONG WINAPI LibQuintorAddAboutMenu(HINSTANCE, void* explorer) {
    return barrier([&]() -> LONG {
        char message[64];
        std::snprintf(message, sizeof message, "about menu for explorer %p", explorer);
        return recordEntry(kDebugEntry, 1, "LibQuintor::LibQuintorAddAboutMenu", 0, message);
    });
}

LONG WINAPI LibQuintorInitComplete(HINSTANCE) {
    return barrier([&]() -> LONG {
        return recordEntry(kDebugEntry, 1, "LibQuintor::LibQuintorInitComplete", 0,
                           "start-up complete");
    });
}

LONG WINAPI LibQuintorLogMsg(HINSTANCE, const char* message, LONG number, const char* source,
                             LONG kind, LONG level) {
    return barrier([&]() -> LONG { return writeEntry(kind, level, source, number, message); });
}

}  // extern "C"

// Stand-in for the maker's support library: it checks and keeps the start-up
// settings, writes the log, records the other calls in the log, and adds its
// About entry to Outlook's explorer windows (support/about/AboutMenu.h).
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

#include "common/win32/ComDispatch.h"
#include "common/win32/Text.h"
#include "outlook/LibQuintorInitInfo.h"
#include "support/LogFile.h"
#include "support/PendingLines.h"
#include "support/Win32AboutPlatform.h"
#include "support/about/AboutMenu.h"

namespace cq::libquintor {
namespace {

constexpr long kDebugEntry = 1;
constexpr long kErrorEntry = 3;
constexpr std::size_t kMaxLogName = 100;

struct Settings {
    long logLevel = LONG_MAX;  // everything is kept until InitEx says otherwise
    std::string logName = kDefaultLogName;
    std::wstring logPath;         // of logName, once the folder is known
    bool aboutMenu = true;        // add the About entry to explorer windows
    std::uintptr_t instance = 0;  // the add-in's module, as InitEx was given it
    AboutStringIds aboutStrings;  // what the About window shows of it
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

// The About entries, made on first use. They are deleted when the library is
// unloaded, never while the process ends: Outlook may be gone by then.
AboutMenu* g_about = nullptr;
Win32AboutPlatform* g_aboutPlatform = nullptr;

AboutMenu& aboutMenu() {
    if (g_about == nullptr) {
        g_aboutPlatform = new Win32AboutPlatform(
            [](std::string_view source, std::int32_t number, const std::string& message) {
                Locked locked;
                writeEntry(kErrorEntry, 1, std::string(source).c_str(), number,
                           cq::win32::toAnsi(message).c_str());
            });
        g_about = new AboutMenu(*g_aboutPlatform);
    }
    g_aboutPlatform->ids = g_settings.aboutStrings;
    return *g_about;
}

// A string id of the start-up record, or the usual one when it names none.
UINT stringId(std::int32_t id, UINT usual) { return id > 0 ? static_cast<UINT>(id) : usual; }

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
            // Unloaded while Outlook runs: its entries go with the library.
            delete g_about;
            g_about = nullptr;
            delete g_aboutPlatform;
            g_aboutPlatform = nullptr;
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

LONG WINAPI LibQuintorInitEx(HINSTANCE instance, cq::LibQuintorInitInfo* info) {
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
        g_settings.aboutMenu = info->bAboutMenu != 0;
        g_settings.instance = reinterpret_cast<std::uintptr_t>(instance);
        g_settings.aboutStrings = {stringId(info->lUrlStringId, 601),
                                   stringId(info->lMakerStringId, 602),
                                   stringId(info->lNameStringId, 603)};
        char message[64];
        std::snprintf(message, sizeof message, "started, log level %ld",
                      static_cast<long>(info->lLogLevel));
        recordEntry(kDebugEntry, 1, "LibQuintor::LibQuintorInitEx", 0, message);
        return 0;
    });
}

// Adds the About entry unless the start-up record said no; from Outlook 2010
// on there is nothing to add to. Failures are logged, never returned.
LONG WINAPI LibQuintorAddAboutMenu(HINSTANCE instance, void* explorer) {
    return barrier([&]() -> LONG {
        char message[64];
        std::snprintf(message, sizeof message, "about menu for explorer %p", explorer);
        const LONG result =
            recordEntry(kDebugEntry, 1, "LibQuintor::LibQuintorAddAboutMenu", 0, message);
        if (g_settings.aboutMenu) {
            const std::uintptr_t module = instance != nullptr
                                              ? reinterpret_cast<std::uintptr_t>(instance)
                                              : g_settings.instance;
            aboutMenu().add(module, cq::win32::wrapDispatch(static_cast<IDispatch*>(explorer)));
        }
        return result;
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

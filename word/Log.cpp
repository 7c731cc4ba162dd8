#include "word/Log.h"

#include <cstdio>

#include "common/CWinReg.h"
#include "common/Guard.h"
#include "common/Port.h"
#include "word/LogFile.h"

namespace cq::word {
namespace {

constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The add-in's own folder, empty when it cannot be told.
std::string moduleFolder() {
    std::string folder;
    guard([&] { folder = Port<Module>::get().folder(); });
    return folder;
}

}  // namespace

std::string g_sLogFile;

void WriteLog(const std::string& sText) noexcept {
    guard([&] {
        if (g_sLogFile.empty()) g_sLogFile = GetLogFolder() + "\\WordAddin.log";
    });
    guard([&] { Port<LogFile>::get().appendLine(g_sLogFile, sText); });
}

void dbgLog(const std::string& sProc, const std::string& sMsg) noexcept {
    guard([&] { WriteLog("[DBG] " + sProc + ": " + sMsg); });
}

std::string VersionLine(const ModuleVersion& version) {
    char line[48];
    std::snprintf(line, sizeof line, "%d.%02d.%04d", version.major, version.minor, version.build);
    return line;
}

void LogStart() noexcept {
    std::string line;
    if (guard([&] { line = VersionLine(Port<Module>::get().version()); })) WriteLog(line);
    WriteLog("{");
}

void LogEnd() noexcept { WriteLog("}"); }

std::string GetLogFolder() noexcept {
    std::string s = GetShellFolder("AppData");
    if (s.empty()) return moduleFolder();
    std::string folder;
    guard([&] {
        folder = s;
        for (const char* sub : {"", "\\Quintor", "\\Inkwell"}) {
            folder += sub;
            guard([&] { Port<LogFile>::get().createDirectory(folder); });
        }
    });
    return folder;
}

std::string GetShellFolder(const std::string& sName) noexcept {
    std::string value;
    guard([&] {
        CWinReg reg;
        if (reg.InitForRead(CWinReg::HKeyCurrentUser(), kShellFolders)) {
            value = reg.ReadString(sName);
            reg.CloseKey();
        }
    });
    if (!value.empty()) return value;
    return moduleFolder();
}

}  // namespace cq::word

#include "support/LogFile.h"

#include <shlobj.h>

#include <cstdio>

namespace cq::libquintor {
namespace {

void appendField(std::string& line, const char* text) {
    line += '\t';
    if (text == nullptr) return;
    for (const char* p = text; *p != '\0'; ++p)
        line += (*p == '\t' || *p == '\r' || *p == '\n') ? ' ' : *p;
}

void appendNumber(std::string& line, long value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "\t%ld", value);
    line += buffer;
}

std::string appDataFolder() {
    char buffer[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return buffer;
    const DWORD n = GetEnvironmentVariableA("APPDATA", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) return buffer;
    return {};
}

bool ensureFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

std::string formatLogLine(const SYSTEMTIME& time, long kind, long level, const char* source,
                          long number, const char* message) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u", time.wYear,
                  time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond,
                  time.wMilliseconds);
    std::string line = stamp;
    appendNumber(line, kind);
    appendNumber(line, level);
    appendField(line, source);
    appendNumber(line, number);
    appendField(line, message);
    return line;
}

std::string logFilePath(const std::string& name) {
    std::string folder = appDataFolder();
    if (folder.empty()) return {};
    for (const char* part : {"\\Quintor", "\\Inkwell"}) {
        folder += part;
        if (!ensureFolder(folder)) return {};
    }
    return folder + "\\" + name;
}

bool appendLine(const std::string& path, const std::string& line) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

}  // namespace cq::libquintor

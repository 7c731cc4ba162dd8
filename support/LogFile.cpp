#include "support/LogFile.h"

#include <shlobj.h>

#include <cstdio>
#include <initializer_list>

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

DWORD lastError() {
    const DWORD code = GetLastError();
    return code != 0 ? code : ERROR_WRITE_FAULT;
}

bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A drive path (C:\...) or a network path (\\server\...); never one relative
// to the current directory.
bool isFullPath(const std::wstring& path) {
    if (path.size() < 3) return false;
    const bool drive =
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
        path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    const bool network = path[0] == L'\\' && path[1] == L'\\';
    return drive || network;
}

// The APPDATA variable, when it names an existing folder by full path.
std::wstring appDataFromEnvironment() {
    std::wstring value(MAX_PATH, L'\0');
    DWORD n = GetEnvironmentVariableW(L"APPDATA", value.data(), static_cast<DWORD>(value.size()));
    if (n >= value.size()) {
        value.resize(n);
        n = GetEnvironmentVariableW(L"APPDATA", value.data(), static_cast<DWORD>(value.size()));
        if (n >= value.size()) return {};
    }
    value.resize(n);
    while (value.size() > 3 && (value.back() == L'\\' || value.back() == L'/')) value.pop_back();
    if (!isFullPath(value) || !isFolder(value)) return {};
    return value;
}

std::wstring appDataFromShell() {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return {};
    return buffer;
}

HANDLE openForAppending(const std::wstring& path) {
    return CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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

bool LogFolder::resolve() {
    if (!folder_.empty()) return true;
    std::wstring appData = appDataFromEnvironment();
    if (appData.empty()) appData = appDataFromShell();
    if (appData.empty()) return false;
    if (appData.back() == L'\\') appData.pop_back();
    maker_ = appData + L"\\Quintor";
    folder_ = maker_ + L"\\Inkwell";
    return true;
}

std::wstring LogFolder::fileNamed(const std::string& name) const {
    if (folder_.empty() || name.empty()) return {};
    const int length = static_cast<int>(name.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, name.data(), length, nullptr, 0);
    if (n <= 0) return {};
    std::wstring path = folder_ + L"\\";
    const std::size_t at = path.size();
    path.resize(at + static_cast<std::size_t>(n));
    if (MultiByteToWideChar(CP_ACP, 0, name.data(), length, path.data() + at, n) != n) return {};
    return path;
}

bool LogFolder::create() const noexcept {
    if (folder_.empty()) return false;
    for (const std::wstring* path : {&maker_, &folder_})
        if (!CreateDirectoryW(path->c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    return true;
}

DWORD appendText(const LogFolder& folder, const std::wstring& path, std::string_view text,
                 std::size_t& written) noexcept {
    written = 0;
    HANDLE file = openForAppending(path);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND && folder.create())
        file = openForAppending(path);
    if (file == INVALID_HANDLE_VALUE) return lastError();
    DWORD error = 0;
    while (written < text.size()) {
        constexpr std::size_t kChunk = 1 << 20;
        const std::size_t left = text.size() - written;
        DWORD n = 0;
        if (!WriteFile(file, text.data() + written,
                       static_cast<DWORD>(left < kChunk ? left : kChunk), &n, nullptr)) {
            error = lastError();
            break;
        }
        if (n == 0) {
            error = ERROR_WRITE_FAULT;
            break;
        }
        written += n;
    }
    CloseHandle(file);
    return error;
}

}  // namespace cq::libquintor

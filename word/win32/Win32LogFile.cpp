#include "word/win32/Win32LogFile.h"

#include <windows.h>

#include "common/HostError.h"
#include "common/win32/Text.h"

namespace cq::word::win32 {
namespace {

[[noreturn]] void fail(const char* what, const std::string& path) {
    throw HostError(static_cast<std::int32_t>(GetLastError()),
                    std::string(what) + "(" + path + ")");
}

}  // namespace

void Win32LogFile::createDirectory(const std::string& path) {
    if (!CreateDirectoryA(cq::win32::toAnsi(path).c_str(), nullptr)) fail("CreateDirectoryA", path);
}

void Win32LogFile::appendLine(const std::string& path, const std::string& text) {
    const std::string ansiPath = cq::win32::toAnsi(path);
    // Windows refuses to write a read-only file; a system that grants it
    // anyway (Wine run by root) must not either.
    const DWORD attributes = GetFileAttributesA(ansiPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        fail("CreateFileA", path);
    }
    // FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end of
    // the file, whoever else appends to it.
    HANDLE file =
        CreateFileA(ansiPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) fail("CreateFileA", path);
    const std::string line = cq::win32::toAnsi(text) + "\r\n";
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!ok || written != line.size()) {
        SetLastError(ok ? ERROR_WRITE_FAULT : error);
        fail("WriteFile", path);
    }
}

}  // namespace cq::word::win32

#include "outlook/win32/Win32SettingsFile.h"

#include <windows.h>

#include "common/HostError.h"
#include "common/win32/Text.h"
#include "outlook/LineSplitter.h"
#include "outlook/SettingsText.h"

namespace cq::win32 {
namespace {

class FileHandle {
  public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (valid()) CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

HostError systemError(DWORD code, const std::string& what, const std::string& path) {
    return HostError(static_cast<std::int32_t>(code), what + " " + path);
}

// How long a read waits for a writer that holds the file open.
constexpr DWORD kWriterWaitMs = 250;
constexpr DWORD kWriterPollMs = 2;

// Opens the file for reading with writers kept out until it is closed: a file
// rewritten in place is then read before or after the rewrite, never half
// written. A writer that has the file open now is waited for, for a moment.
// Delete is shared: a file saved by renaming a new version over it is held
// with DELETE access for a moment, and must not make this read fail.
HANDLE openForReading(const std::wstring& path, DWORD& error) {
    const DWORD start = GetTickCount();
    for (;;) {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        error = h == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        if (error != ERROR_SHARING_VIOLATION || GetTickCount() - start >= kWriterWaitMs) return h;
        Sleep(kWriterPollMs);
    }
}

}  // namespace

bool Win32SettingsFile::queryWriteTime(const std::string& path, FileTime& lastWrite) {
    FileHandle file(CreateFileW(toWide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) return false;
    FILETIME written{};
    if (GetFileTime(file.get(), nullptr, nullptr, &written)) {
        lastWrite.dwLowDateTime = written.dwLowDateTime;
        lastWrite.dwHighDateTime = written.dwHighDateTime;
    }
    return true;
}

void Win32SettingsFile::readLines(const std::string& path,
                                  const std::function<void(const std::string&)>& onLine) {
    DWORD error = ERROR_SUCCESS;
    FileHandle file(openForReading(toWide(path), error));
    if (!file.valid()) throw systemError(error, "Cannot open", path);

    // The whole file first: whether it is UTF-8 is known only at its end.
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr))
            throw systemError(GetLastError(), "Cannot read", path);
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    LineSplitter splitter([&](std::string& line) { onLine(line); });
    splitter.feed(DecodeSettingsText(bytes, [](std::string_view ansi) { return fromAnsi(ansi); }));
    splitter.finish();
}

}  // namespace cq::win32

#include "outlook/win32/Win32SettingsFile.h"

#include <windows.h>

#include "common/HostError.h"
#include "common/win32/Text.h"
#include "outlook/LineSplitter.h"

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

HostError systemError(const std::string& what, const std::string& path) {
    return HostError(static_cast<std::int32_t>(GetLastError()), what + " " + path);
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
    // Sharing delete too: a file saved by renaming a new version over it is
    // held with DELETE access for a moment, and must not make this read fail.
    FileHandle file(CreateFileW(toWide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) throw systemError("Cannot open", path);

    const LineSplitter* self = nullptr;
    LineSplitter splitter([&](std::string& line) {
        if (self->utf8())
            onLine(line);
        else
            onLine(fromAnsi(line));
    });
    self = &splitter;
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr))
            throw systemError("Cannot read", path);
        if (got == 0) break;
        splitter.feed(std::string_view(buffer, got));
    }
    splitter.finish();
}

}  // namespace cq::win32

#pragma once
// Log lines kept in memory until they are written together: the start-up
// records wait for the next log entry, or for the library's unloading, so
// that start-up costs no file access. Each line keeps the file it belongs to
// and its place in the order of the calls; lines that could not be written
// stay for the next attempt.

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "support/LogFile.h"

namespace cq::libquintor {

class PendingLines {
  public:
    // Past this many bytes kept, the lines are written at once.
    static constexpr std::size_t kWriteAt = 4096;
    // Lines that cannot be written are kept up to this many bytes, the oldest
    // dropped first.
    static constexpr std::size_t kKeepAtMost = 64 * 1024;

    // Keeps `line` (without its line end) for the log file at `path`.
    void add(const std::wstring& path, const std::string& line);

    // Writes every kept line, one open/append/close per file in the order of
    // the calls, and lets go of what was written. Returns 0 or the first
    // system error code; what failed is kept, within kKeepAtMost.
    DWORD write(const LogFolder& folder);

    // The same while the process ends: writes without allocating or freeing
    // memory (another thread may have died holding the heap).
    DWORD writeAtExit(const LogFolder& folder) noexcept;

    std::size_t bytes() const { return bytes_; }

  private:
    struct Batch {
        std::wstring path;
        std::string text;  // whole lines, each ending in "\r\n"
    };

    void dropOldest();

    std::vector<Batch> batches_;
    std::size_t bytes_ = 0;
};

}  // namespace cq::libquintor

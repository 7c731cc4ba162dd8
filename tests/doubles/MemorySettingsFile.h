#pragma once
// A settings file held in memory: one file at `path`, with its content and
// last-write time. It can vanish, refuse its time, or fail while being read
// (at once or after handing over some lines). Counts the time queries and
// the reads.

#include <string>

#include "outlook/SettingsFile.h"

namespace cq::test {

class MemorySettingsFile : public SettingsFile {
  public:
    explicit MemorySettingsFile(std::string path) : path(std::move(path)) {}

    bool queryWriteTime(const std::string& path, FileTime& lastWrite) override;
    void readLines(const std::string& path,
                   const std::function<void(const std::string&)>& onLine) override;

    // Puts the file there with this content and last-write time.
    void write(std::string text, FileTime time);
    void write(std::string text, std::uint32_t lowTime) { write(std::move(text), {lowTime, 0}); }
    // Removes the file.
    void vanish() { exists = false; }

    // Set up.
    std::string path;
    bool exists = false;
    std::string content;
    FileTime lastWrite;
    bool timeReadable = true;  // false: the file opens but its time cannot be read
    bool failRead = false;     // reading fails (after `linesBeforeFailure` lines)
    int linesBeforeFailure = 0;
    std::size_t pieceSize = 0;   // bytes handed to the splitter at a time; 0: all at once
    std::int32_t readError = 5;  // the number of the read failure (access denied)

    // Recorded.
    int timeQueries = 0;
    int reads = 0;
};

}  // namespace cq::test

#pragma once
// The stamp settings file as the add-in sees it: its last-write time and its
// lines. Reached through Port<SettingsFile>.

#include <functional>
#include <string>

#include "outlook/FileTime.h"

namespace cq {

class SettingsFile {
  public:
    virtual ~SettingsFile() = default;

    // Opens the file for querying only. False when it cannot be opened (no
    // such file, no access). Otherwise true, with `lastWrite` set to the
    // file's last-write time, or left as it was when that time cannot be read.
    virtual bool queryWriteTime(const std::string& path, FileTime& lastWrite) = 0;

    // Reads the file from its start to its end and hands over each line, in
    // UTF-8 and without its line end, as split by LineSplitter. Throws
    // HostError when the file cannot be opened or a read fails; lines handed
    // over before the failure stay handed over.
    virtual void readLines(const std::string& path,
                           const std::function<void(const std::string&)>& onLine) = 0;
};

}  // namespace cq

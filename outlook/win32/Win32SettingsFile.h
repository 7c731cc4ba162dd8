#pragma once
// The settings file on disk: its last-write time through a query-only
// handle (CreateFile with no access, sharing read and write, GetFileTime),
// and its lines: the whole file decoded by SettingsText (UTF-8 or UTF-16 with
// a byte-order mark, UTF-8, else the ANSI code page), split by LineSplitter.

#include "outlook/SettingsFile.h"

namespace cq::win32 {

class Win32SettingsFile final : public SettingsFile {
  public:
    bool queryWriteTime(const std::string& path, FileTime& lastWrite) override;
    void readLines(const std::string& path,
                   const std::function<void(const std::string&)>& onLine) override;
};

}  // namespace cq::win32

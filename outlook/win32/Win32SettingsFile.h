#pragma once
// The settings file on disk: its last-write time through a query-only
// handle (CreateFile with no access, sharing read and write, GetFileTime),
// and its lines read in pieces through LineSplitter. Lines are in the ANSI
// code page, or UTF-8 when the file starts with a UTF-8 byte-order mark.

#include "outlook/SettingsFile.h"

namespace cq::win32 {

class Win32SettingsFile final : public SettingsFile {
  public:
    bool queryWriteTime(const std::string& path, FileTime& lastWrite) override;
    void readLines(const std::string& path,
                   const std::function<void(const std::string&)>& onLine) override;
};

}  // namespace cq::win32

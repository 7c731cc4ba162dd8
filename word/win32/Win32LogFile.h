#pragma once
// The LogFile of Windows: CreateDirectoryA, and one CreateFileA / WriteFile /
// CloseHandle per line, appending at the end of the file. Paths and text go
// to the system in the ANSI code page.

#include "word/LogFile.h"

namespace cq::word::win32 {

class Win32LogFile final : public LogFile {
  public:
    void createDirectory(const std::string& path) override;
    void appendLine(const std::string& path, const std::string& text) override;
};

}  // namespace cq::word::win32

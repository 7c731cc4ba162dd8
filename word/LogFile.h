#pragma once
// Port: the folders and the text file of the Word add-in's log. Paths are
// Windows paths in UTF-8; the Windows implementation converts paths and text
// to the ANSI code page.

#include <string>

namespace cq::word {

class LogFile {
  public:
    virtual ~LogFile() = default;
    // Creates the folder `path` (its parent must exist). Throws HostError when
    // it could not be created, for example because it exists already.
    virtual void createDirectory(const std::string& path) = 0;
    // Opens the file `path` for appending (creating it when missing), writes
    // `text` followed by CR LF and closes it again. Throws HostError when the
    // file could not be opened or written.
    virtual void appendLine(const std::string& path, const std::string& text) = 0;
};

}  // namespace cq::word

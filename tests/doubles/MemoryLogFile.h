#pragma once
// Test double of the Word add-in's LogFile port: folders and files in memory,
// with the rules of a Windows file system that the log relies on (a folder
// needs its parent, an existing folder cannot be created again, a file can
// only be written in an existing folder, a read-only file refuses appends).
// Paths compare without case.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "word/LogFile.h"

namespace cq::test {

class MemoryLogFile : public word::LogFile {
  public:
    void createDirectory(const std::string& path) override;
    void appendLine(const std::string& path, const std::string& text) override;

    // Adds the folder `path` and every folder above it.
    void addFolder(const std::string& path);
    bool hasFolder(const std::string& path) const;
    // The content of the file `path` ("" when missing) and its lines.
    std::string content(const std::string& path) const;
    std::vector<std::string> lines(const std::string& path) const;
    bool hasFile(const std::string& path) const;
    void makeReadOnly(const std::string& path);

    // Every createDirectory call (successful or not), in order.
    std::vector<std::string> directoryCalls;
    // How often a file was opened for appending.
    int opens = 0;

  private:
    static std::string key(const std::string& path);
    static std::string parent(const std::string& path);

    std::set<std::string> folders_;
    std::map<std::string, std::string> files_;
    std::set<std::string> readOnly_;
};

}  // namespace cq::test

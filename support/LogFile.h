#pragma once
// The library's log store: one text file under the user's application-data
// folder, Quintor\Inkwell\<name>, one tab-separated line per entry:
//   local time (yyyy-MM-dd HH:mm:ss.fff), kind, level, source, number, message

#include <windows.h>

#include <string>

namespace cq::libquintor {

// The default file name of the log.
inline constexpr const char* kDefaultLogName = "LibQuintor.log";

// One entry as a line, without the line end. Tabs and line breaks inside the
// source or the message become spaces, so that an entry stays one line.
std::string formatLogLine(const SYSTEMTIME& time, long kind, long level, const char* source,
                          long number, const char* message);

// The log file's full path (ANSI), creating Quintor\Inkwell when needed.
// Empty when the application-data folder is unknown.
std::string logFilePath(const std::string& name);

// Appends `line` and a line end to the file at `path`. False on failure.
bool appendLine(const std::string& path, const std::string& line);

}  // namespace cq::libquintor

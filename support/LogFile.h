#pragma once
// The library's log store: one text file under the user's application-data
// folder, Quintor\Inkwell\<name>, one tab-separated line per entry:
//   local time (yyyy-MM-dd HH:mm:ss.fff), kind, level, source, number, message

#include <windows.h>

#include <string>
#include <string_view>

namespace cq::libquintor {

// The default file name of the log.
inline constexpr const char* kDefaultLogName = "LibQuintor.log";

// One entry as a line, without the line end. Tabs and line breaks inside the
// source or the message become spaces, so that an entry stays one line.
std::string formatLogLine(const SYSTEMTIME& time, long kind, long level, const char* source,
                          long number, const char* message);

// The folder of the log files, <application data>\Quintor\Inkwell. The
// application-data folder is looked up once and kept: the APPDATA variable
// when it names an existing folder by full path, else the shell's folder.
// Quintor\Inkwell is created when a line is first appended there.
class LogFolder {
  public:
    // Looks the folder up unless that was done already. False when the
    // application-data folder is unknown (the next call tries again).
    bool resolve();

    // The full path of log file `name` (a plain file name in the ANSI code
    // page) in this folder; empty before resolve() succeeded.
    std::wstring fileNamed(const std::string& name) const;

    // Creates Quintor and Quintor\Inkwell where missing. Allocates nothing.
    bool create() const noexcept;

  private:
    std::wstring maker_;   // ...\Quintor
    std::wstring folder_;  // ...\Quintor\Inkwell
};

// Appends `text` (whole lines, each with its line end) to the file at `path`
// in one open/append/close, the file shared for reading and writing; creates
// the folder first when it is missing. `written` receives the bytes written,
// also on failure. Returns 0 or the system error code. Allocates nothing, so
// it may run while the process ends.
DWORD appendText(const LogFolder& folder, const std::wstring& path, std::string_view text,
                 std::size_t& written) noexcept;

}  // namespace cq::libquintor

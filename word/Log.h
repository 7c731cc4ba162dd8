#pragma once
// The Word add-in's own log: "WordAddin.log" in the user's application-data
// folder under "\Quintor\Inkwell", one line per entry, opened and closed for
// every line. Nothing here ever throws: a line that cannot be written is lost.

#include <string>

#include "common/Module.h"

namespace cq::word {

// The full path of the log file once the first line was written; empty before.
// Shared by every Connect of the process.
extern std::string g_sLogFile;

// Appends `sText` as one line (ended by CR LF) to the log file.
void WriteLog(const std::string& sText) noexcept;
// Writes "[DBG] " + sProc + ": " + sMsg.
void dbgLog(const std::string& sProc, const std::string& sMsg) noexcept;
// Written when a Connect is created: the add-in's version line, then "{".
void LogStart() noexcept;
// Written when a Connect is destroyed: "}".
void LogEnd() noexcept;
// The folder of the log file, created if needed: the "AppData" shell folder
// followed by "\Quintor\Inkwell"; the add-in's own folder when that is empty.
std::string GetLogFolder() noexcept;
// The entry `sName` of the user's shell-folder table, or the add-in's own
// folder when the entry is missing or empty.
std::string GetShellFolder(const std::string& sName) noexcept;

// The version line of the add-in's version major.minor.revision, which its
// file version carries as its first three numbers: major "." minor (at least
// two digits) "." revision (at least four digits); 1.0.66 gives "1.00.0066".
std::string VersionLine(const ModuleVersion& version);

}  // namespace cq::word

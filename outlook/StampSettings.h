#pragma once
// The stamp settings of module mDatestamp: the layout and formats read from
// "Chronoquill.ini" in the add-in's folder, kept in memory and read again
// only when the file's last-write time changes.
//
// The file holds one setting per line, key=value, keys and values without
// regard to case; blanks around both are dropped, ";" starts a comment and
// lines without "=" are ignored:
//   format      date | time | timedate | anything else (date then time)
//   dateformat  systemshort (or empty) | systemlong | a date picture
//   timeformat  systemshort (or empty) | systemlong | a time picture

#include <cstdint>
#include <string>
#include <string_view>

#include "outlook/FileTime.h"

namespace cq {

struct StampSettings {
    FileTime m_ftLastWrite;           // last-write time of the file whose settings are in force
    bool m_bLastWriteKnown = false;   // m_ftLastWrite is meaningful
    FileTime m_ftUnreadable;          // last-write time of a version that could not be read
    bool m_bUnreadableKnown = false;  // m_ftUnreadable is meaningful
    std::int32_t m_nDatePos = 0;      // 0 no date, 1 date first, 2 date second
    std::int32_t m_nDateFormat = 0;   // 0 system short, 1 system long, -1 picture
    std::string m_sDateFormat;        // date picture
    std::int32_t m_nTimePos = 0;      // 0 no time, 1 time first, 2 time second
    std::int32_t m_nTimeFormat = 0;   // 0 system short, 1 system long, -1 picture
    std::string m_sTimeFormat;        // time picture

    // Short date, one space, time without seconds.
    static StampSettings Defaults();
};

// The settings in force; all zero until the first stamp.
extern StampSettings g_StampSettings;

// The file's name, appended to the add-in's folder.
inline constexpr std::string_view kStampSettingsFile = "\\Chronoquill.ini";

// `sText` without leading and trailing spaces and TABs (only those two).
std::string TrimBlank(std::string_view sText);

// True when the file could be opened for querying, with `ftLastWrite` set to
// its last-write time (left as it was when that time cannot be read). Never
// throws: any failure answers false.
bool GetFileWriteTime(const std::string& sPath, FileTime& ftLastWrite) noexcept;

// Applies one line of the file to `settings`.
void ApplySettingsLine(StampSettings& settings, std::string_view sLine);

// Brings g_StampSettings up to date with the file: defaults when there is no
// file, the cached settings while its last-write time is unchanged, else the
// file read afresh on top of the defaults. Throws HostError when the file
// cannot be read; the settings and time in force then stay as they were, and
// that version of the file is not tried again: until its last-write time
// changes, the settings in force are kept without a read (and so without a
// second error entry for the same file).
void UpdateStampSettings();

}  // namespace cq

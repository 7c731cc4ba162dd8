#include "outlook/StampSettings.h"

#include <algorithm>

#include "common/Module.h"
#include "common/Port.h"
#include "outlook/SettingsFile.h"

namespace cq {

StampSettings g_StampSettings;

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameText(std::string_view a, std::string_view lowerCase) {
    return std::ranges::equal(a, lowerCase, [](char x, char y) { return lower(x) == y; });
}

// The kind of a dateformat/timeformat value: 1 system long, 0 system short
// or empty, -1 a picture.
std::int32_t formatKind(std::string_view sValue) {
    if (sameText(sValue, "systemlong")) return 1;
    if (sValue.empty() || sameText(sValue, "systemshort")) return 0;
    return -1;
}

}  // namespace

StampSettings StampSettings::Defaults() {
    StampSettings s;
    s.m_nDatePos = 1;
    s.m_nTimePos = 2;
    return s;
}

std::string TrimBlank(std::string_view sText) {
    constexpr std::string_view kBlanks = " \t";
    std::size_t first = sText.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    std::size_t last = sText.find_last_not_of(kBlanks);
    return std::string(sText.substr(first, last - first + 1));
}

bool GetFileWriteTime(const std::string& sPath, FileTime& ftLastWrite) noexcept {
    try {
        return Port<SettingsFile>::get().queryWriteTime(sPath, ftLastWrite);
    } catch (...) {
        return false;
    }
}

void ApplySettingsLine(StampSettings& settings, std::string_view sLine) {
    std::string line = TrimBlank(sLine);
    if (line.empty() || line.front() == ';') return;
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) return;
    std::string sKey = TrimBlank(std::string_view(line).substr(0, eq));
    std::string sValue = TrimBlank(std::string_view(line).substr(eq + 1));

    if (sameText(sKey, "format")) {
        if (sameText(sValue, "date")) {
            settings.m_nDatePos = 1;
            settings.m_nTimePos = 0;
        } else if (sameText(sValue, "time")) {
            settings.m_nDatePos = 0;
            settings.m_nTimePos = 1;
        } else if (sameText(sValue, "timedate")) {
            settings.m_nDatePos = 2;
            settings.m_nTimePos = 1;
        } else {
            settings.m_nDatePos = 1;
            settings.m_nTimePos = 2;
        }
    } else if (sameText(sKey, "dateformat")) {
        settings.m_nDateFormat = formatKind(sValue);
        if (settings.m_nDateFormat == -1) settings.m_sDateFormat = std::move(sValue);
    } else if (sameText(sKey, "timeformat")) {
        settings.m_nTimeFormat = formatKind(sValue);
        if (settings.m_nTimeFormat == -1) settings.m_sTimeFormat = std::move(sValue);
    }
}

void UpdateStampSettings() {
    std::string sPath = Port<Module>::get().folder();
    sPath += kStampSettingsFile;

    FileTime ftLastWrite;  // stays zero when the time cannot be read
    if (!GetFileWriteTime(sPath, ftLastWrite)) {
        // No file: the defaults, and the time is forgotten, so that a file that
        // comes back, whatever its time, is read.
        g_StampSettings = StampSettings::Defaults();
        return;
    }
    if (g_StampSettings.m_bLastWriteKnown && ftLastWrite == g_StampSettings.m_ftLastWrite) return;
    if (g_StampSettings.m_bUnreadableKnown && ftLastWrite == g_StampSettings.m_ftUnreadable) return;

    // Read into a fresh record and put it in force only once the whole file
    // has been read: a failed read leaves the settings and time in force, and
    // marks this version as one not to read again.
    StampSettings fresh = StampSettings::Defaults();
    try {
        Port<SettingsFile>::get().readLines(
            sPath, [&fresh](const std::string& sLine) { ApplySettingsLine(fresh, sLine); });
    } catch (...) {
        g_StampSettings.m_ftUnreadable = ftLastWrite;
        g_StampSettings.m_bUnreadableKnown = true;
        throw;
    }
    fresh.m_ftLastWrite = ftLastWrite;
    fresh.m_bLastWriteKnown = true;
    g_StampSettings = std::move(fresh);
}

}  // namespace cq

#pragma once
// The user's locale over GetDateFormatW, GetTimeFormatW and GetLocaleInfoW,
// always with locale 0 (the user's default). Pictures and results cross as
// UTF-16, so a format holding characters outside the ANSI code page (Hangul
// on an English Windows, or a locale without an ANSI code page) renders as it
// is. Buffer capacities count UTF-16 characters. Failures keep the ANSI
// function names in their descriptions, which log readers know.

#include "outlook/Locale.h"

namespace cq::win32 {

class Win32Locale final : public Locale {
  public:
    LocaleText formatDate(std::uint32_t flags, const DateTime& date, const std::string& picture,
                          int capacity) override;
    LocaleText formatTime(std::uint32_t flags, const DateTime& time, const std::string& picture,
                          int capacity) override;
    LocaleText localeInfo(std::uint32_t setting, int capacity) override;
    std::string shortDate(const DateTime& date) override;
    std::string longDate(const DateTime& date) override;
    std::string longTime(const DateTime& time) override;
    std::string generalDate(const DateTime& dateTime) override;
};

}  // namespace cq::win32

#pragma once
// A user locale with pinned formats: short date dd.MM.yyyy, long date
// "dddd, d. MMMM yyyy", time picture HH:mm:ss, English names. Renders
// pictures with renderPicture, honours the room it is given, and rejects the
// pictures it is told to reject.

#include <set>
#include <string>

#include "outlook/Locale.h"

namespace cq::test {

class PinnedLocale : public Locale {
  public:
    static constexpr std::int32_t kInvalidParameter = 87;
    static constexpr std::int32_t kInsufficientBuffer = 122;
    static constexpr std::int32_t kInvalidFlags = 1004;

    LocaleText formatDate(std::uint32_t flags, const DateTime& date, const std::string& picture,
                          int capacity) override;
    LocaleText formatTime(std::uint32_t flags, const DateTime& time, const std::string& picture,
                          int capacity) override;
    LocaleText localeInfo(std::uint32_t setting, int capacity) override;
    std::string shortDate(const DateTime& date) override;
    std::string longDate(const DateTime& date) override;
    std::string longTime(const DateTime& time) override;
    std::string generalDate(const DateTime& dateTime) override;

    // Set up.
    std::string shortDatePicture = "dd.MM.yyyy";
    std::string longDatePicture = "dddd, d. MMMM yyyy";
    std::string timePicture = "HH:mm:ss";
    bool timePictureReadable = true;  // false: reading the time picture fails
    std::set<std::string> rejected;   // pictures that fail with kInvalidParameter
    bool renderingsFail = false;      // the standard renderings throw HostError

    // Recorded: calls of each kind.
    int dateCalls = 0;
    int timeCalls = 0;
    int infoCalls = 0;
    int standardCalls = 0;
};

}  // namespace cq::test

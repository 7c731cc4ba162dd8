#pragma once
// The user's locale as the stamp needs it: rendering a date or a time with a
// picture, reading one locale setting, and the user's standard renderings.
// Reached through Port<Locale>. Texts are UTF-8.

#include <cstdint>
#include <string>

#include "common/DateTime.h"

namespace cq {

// The answer of a picture rendering or a setting read, in the manner of the
// platform's locale functions: `count` is the number of characters written
// including the terminating zero (0 on failure, with `error` the system error
// code); `text` is what was written, without the terminating zero.
struct LocaleText {
    int count = 0;
    std::int32_t error = 0;
    std::string text;
};

class Locale {
  public:
    // Rendering flag: leave the seconds out of a time.
    static constexpr std::uint32_t kTimeNoSeconds = 2;
    // Setting: the user's time picture.
    static constexpr std::uint32_t kTimeFormatSetting = 0x1003;

    virtual ~Locale() = default;

    // Renders the year, month and day of `date` (the platform derives the
    // weekday) with `picture` into a buffer of `capacity` characters (UTF-16
    // units), the terminating zero included. A rendering that needs more room
    // fails.
    virtual LocaleText formatDate(std::uint32_t flags, const DateTime& date,
                                  const std::string& picture, int capacity) = 0;
    // Renders the hour, minute and second of `time` in the same way.
    virtual LocaleText formatTime(std::uint32_t flags, const DateTime& time,
                                  const std::string& picture, int capacity) = 0;
    // Reads one setting of the user's default locale into a buffer of
    // `capacity` characters.
    virtual LocaleText localeInfo(std::uint32_t setting, int capacity) = 0;

    // The user's standard renderings. Each throws HostError on failure.
    virtual std::string shortDate(const DateTime& date) = 0;
    virtual std::string longDate(const DateTime& date) = 0;
    virtual std::string longTime(const DateTime& time) = 0;  // with seconds
    // Short date, one space, long time.
    virtual std::string generalDate(const DateTime& dateTime) = 0;
};

}  // namespace cq

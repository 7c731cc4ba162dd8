#pragma once
// Dates as the registry holds them: "yyyy.mm.dd hh:mm:ss" (four-digit year,
// two-digit month, day, 24-hour hour, minute and second).

#include "common/DateTime.h"

#include <optional>
#include <string>
#include <string_view>

namespace cq {

// Earliest and latest year that a read date may have.
inline constexpr int kRegistryDateMinYear = 100;
inline constexpr int kRegistryDateMaxYear = 9999;

std::string formatRegistryDate(const DateTime& value);

// Reads text of exactly the form "Y.M.D h:m:s": one space, three parts on each
// side, every part an optionally signed decimal number of 16 bits. The parts
// carry over as a calendar does (month 13 is January of the next year, day 0
// the last day of the month before, hour 24 the next day). Anything else, or a
// year outside kRegistryDateMinYear..kRegistryDateMaxYear after the carry,
// gives no date.
std::optional<DateTime> parseRegistryDate(std::string_view text);

}  // namespace cq

#pragma once
// A small renderer of date and time pictures in the platform's picture
// syntax, for the pinned locale: d dd ddd dddd, M MM MMM MMMM, y yy yyyy,
// h hh H HH, m mm, s ss, t tt, and 'quoted literals' ('' is a quote). Any
// other character is copied. English day and month names.

#include <string>
#include <string_view>

#include "common/DateTime.h"

namespace cq::test {

enum class PictureKind { Date, Time };

// Elements of the other kind are copied as literal text. With `noSeconds`
// a seconds element is dropped together with the separator before it.
std::string renderPicture(std::string_view picture, const DateTime& value, PictureKind kind,
                          bool noSeconds = false);

// Whether the year, month and day make a real calendar date (1601..30827).
bool validDate(const DateTime& value);
// Whether the hour, minute and second make a real time of day.
bool validTime(const DateTime& value);

}  // namespace cq::test

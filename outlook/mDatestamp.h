#pragma once
// Module mDatestamp: composes the stamp text for a date-time from the stamp
// settings and the user's locale.

#include <cstdint>
#include <string>

#include "common/DateTime.h"

namespace cq {

// Stamp kinds.
inline constexpr std::int32_t kStampDateTime = 0;
inline constexpr std::int32_t kStampDate = 1;
inline constexpr std::int32_t kStampTime = 2;
inline constexpr std::int32_t kStampTimeDate = 3;

// The stamp for `dtValue` (no leading or trailing space), after bringing the
// stamp settings up to date; `lStampKind` receives its kind. Never throws: a
// failure writes one error entry "mDatestamp::GetDatestamp", returns the
// general date text of `dtValue` and leaves `lStampKind` untouched.
std::string GetDatestamp(DateTime dtValue, std::int32_t& lStampKind) noexcept;

// `dtValue` rendered with the date picture `sPicture`. False, with one error
// entry "mDatestamp::GetDateFormat", when the locale rejects the picture or
// the rendering needs more than the picture's length plus 256 characters.
bool GetDateFormat(std::string& sOut, const DateTime& dtValue, const std::string& sPicture);

// The same for a time picture; `bNoSeconds` leaves the seconds out. Error
// entries go to "mDatestamp::GetTimeFormat".
bool GetTimeFormat(std::string& sOut, const DateTime& dtValue, const std::string& sPicture,
                   bool bNoSeconds);

// One setting of the user's default locale, empty when it cannot be read.
std::string GetLocaleString(std::uint32_t lcType);

}  // namespace cq

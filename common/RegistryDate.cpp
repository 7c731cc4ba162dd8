#include "common/RegistryDate.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace cq {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date with month 1..12.
std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t& y, std::int64_t& m, std::int64_t& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// One optionally signed decimal number within the 16-bit range.
std::optional<std::int64_t> parseInt16(std::string_view s) {
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 32768) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 32767) return std::nullopt;
    return value;
}

// Splits `s` at `separator` into exactly three numbers.
bool parseTriple(std::string_view s, char separator, std::array<std::int64_t, 3>& out) {
    for (std::size_t i = 0; i < 3; ++i) {
        std::size_t end = s.find(separator);
        if ((i < 2) != (end != std::string_view::npos)) return false;
        auto n = parseInt16(s.substr(0, end));
        if (!n) return false;
        out[i] = *n;
        if (end != std::string_view::npos) s.remove_prefix(end + 1);
    }
    return true;
}

}  // namespace

std::string formatRegistryDate(const DateTime& v) {
    char text[96];
    std::snprintf(text, sizeof text, "%04d.%02d.%02d %02d:%02d:%02d", v.year, v.month, v.day,
                  v.hour, v.minute, v.second);
    return text;
}

std::optional<DateTime> parseRegistryDate(std::string_view text) {
    std::size_t space = text.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    std::array<std::int64_t, 3> date{}, time{};
    if (!parseTriple(text.substr(0, space), '.', date)) return std::nullopt;
    if (!parseTriple(text.substr(space + 1), ':', time)) return std::nullopt;

    // Month first (13 is January of the next year), then the day relative to
    // the first of that month, then the time relative to midnight.
    const std::int64_t months = date[0] * 12 + (date[1] - 1);
    const std::int64_t days =
        daysFromCivil(floorDiv(months, 12), months - floorDiv(months, 12) * 12 + 1, 1) +
        (date[2] - 1);
    const std::int64_t seconds = days * 86400 + time[0] * 3600 + time[1] * 60 + time[2];
    const std::int64_t day = floorDiv(seconds, 86400);
    const std::int64_t second = seconds - day * 86400;

    std::int64_t y = 0, m = 0, d = 0;
    civilFromDays(day, y, m, d);
    if (y < kRegistryDateMinYear || y > kRegistryDateMaxYear) return std::nullopt;
    DateTime result;
    result.year = static_cast<int>(y);
    result.month = static_cast<int>(m);
    result.day = static_cast<int>(d);
    result.hour = static_cast<int>(second / 3600);
    result.minute = static_cast<int>(second / 60 % 60);
    result.second = static_cast<int>(second % 60);
    return result;
}

}  // namespace cq

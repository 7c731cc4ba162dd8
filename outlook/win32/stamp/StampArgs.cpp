#include "outlook/win32/stamp/StampArgs.h"

namespace cq {
namespace {

bool digits(const std::string& text, std::size_t at, std::size_t n, int& value) {
    value = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

int daysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<DateTime> parseMoment(const std::string& text) {
    // 0123456789012345678
    // YYYY-MM-DDTHH:MM:SS
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    DateTime d;
    if (!digits(text, 0, 4, d.year) || !digits(text, 5, 2, d.month) || !digits(text, 8, 2, d.day) ||
        !digits(text, 11, 2, d.hour) || !digits(text, 14, 2, d.minute) ||
        !digits(text, 17, 2, d.second))
        return std::nullopt;
    if (d.year < 1601 || d.month < 1 || d.month > 12 || d.day < 1 ||
        d.day > daysInMonth(d.year, d.month) || d.hour > 23 || d.minute > 59 || d.second > 59)
        return std::nullopt;
    return d;
}

std::optional<StampArgs> parseStampArgs(const std::vector<std::string>& args) {
    StampArgs out;
    bool kindSeen = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--kind" && !kindSeen) {
            kindSeen = out.kind = true;
        } else if (args[i] == "--at" && !out.at && i + 1 < args.size()) {
            out.at = parseMoment(args[++i]);
            if (!out.at) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace cq

#include "tests/doubles/PictureFormat.h"

#include <cstdio>
#include <vector>

namespace cq::test {
namespace {

constexpr const char* kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysIn(int y, int m) {
    constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : kDaysIn[m - 1];
}

int weekday(int y, int m, int d) {  // 0 = Sunday
    static constexpr int kOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (m < 3) y -= 1;
    return (y + y / 4 - y / 100 + y / 400 + kOffset[m - 1] + d) % 7;
}

std::string number(int value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", digits, value);
    return text;
}

struct Token {
    std::string text;
    bool element;
    bool seconds;
};

std::string element(char c, int n, const DateTime& v) {
    switch (c) {
        case 'd':
            if (n <= 2) return number(v.day, n);
            return n == 3 ? std::string(kDays[weekday(v.year, v.month, v.day)], 3)
                          : kDays[weekday(v.year, v.month, v.day)];
        case 'M':
            if (n <= 2) return number(v.month, n);
            return n == 3 ? std::string(kMonths[v.month - 1], 3) : kMonths[v.month - 1];
        case 'y':
            if (n <= 2) return number(v.year % 100, n);
            return number(v.year, 4);
        case 'h': {
            int h = v.hour % 12 == 0 ? 12 : v.hour % 12;
            return number(h, std::min(n, 2));
        }
        case 'H':
            return number(v.hour, std::min(n, 2));
        case 'm':
            return number(v.minute, std::min(n, 2));
        case 's':
            return number(v.second, std::min(n, 2));
        case 't': {
            std::string marker = v.hour < 12 ? "AM" : "PM";
            return n == 1 ? marker.substr(0, 1) : marker;
        }
    }
    return {};
}

bool isElement(char c, PictureKind kind) {
    std::string_view letters = kind == PictureKind::Date ? "dMy" : "hHmst";
    return letters.find(c) != std::string_view::npos;
}

}  // namespace

bool validDate(const DateTime& v) {
    return v.year >= 1601 && v.year <= 30827 && v.month >= 1 && v.month <= 12 && v.day >= 1 &&
           v.day <= daysIn(v.year, v.month);
}

bool validTime(const DateTime& v) {
    return v.hour >= 0 && v.hour <= 23 && v.minute >= 0 && v.minute <= 59 && v.second >= 0 &&
           v.second <= 59;
}

std::string renderPicture(std::string_view picture, const DateTime& value, PictureKind kind,
                          bool noSeconds) {
    std::vector<Token> tokens;
    auto literal = [&tokens](std::string_view text) {
        if (tokens.empty() || tokens.back().element) tokens.push_back({"", false, false});
        tokens.back().text.append(text);
    };
    for (std::size_t i = 0; i < picture.size();) {
        char c = picture[i];
        if (c == '\'') {
            ++i;
            while (i < picture.size()) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        literal("'");
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal(picture.substr(i, 1));
                ++i;
            }
        } else if (isElement(c, kind)) {
            std::size_t n = 1;
            while (i + n < picture.size() && picture[i + n] == c) ++n;
            tokens.push_back({element(c, static_cast<int>(n), value), true, c == 's'});
            i += n;
        } else {
            literal(picture.substr(i, 1));
            ++i;
        }
    }
    if (noSeconds) {
        for (std::size_t i = 0; i < tokens.size();) {
            if (!tokens[i].seconds) {
                ++i;
                continue;
            }
            // The separator before the seconds goes with them; seconds that lead
            // the picture take the separator after them instead.
            std::size_t from = i, to = i + 1;
            if (i > 0 && !tokens[i - 1].element)
                from = i - 1;
            else if (to < tokens.size() && !tokens[to].element)
                ++to;
            tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(from),
                         tokens.begin() + static_cast<std::ptrdiff_t>(to));
            i = from;
        }
    }
    std::string out;
    for (const auto& t : tokens) out += t.text;
    return out;
}

}  // namespace cq::test

#include "outlook/win32/Win32Locale.h"

#include <windows.h>

#include <vector>

#include "common/HostError.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

constexpr LCID kUserDefault = 0;

// Year, month and day; every other field 0 (the weekday is derived).
SYSTEMTIME dateRecord(const DateTime& d) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(d.year);
    st.wMonth = static_cast<WORD>(d.month);
    st.wDay = static_cast<WORD>(d.day);
    return st;
}

// Hour, minute and second; every other field 0.
SYSTEMTIME timeRecord(const DateTime& t) {
    SYSTEMTIME st{};
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return st;
}

// Fields outside what a SYSTEMTIME can hold would wrap around silently.
bool fits(const DateTime& v) {
    auto word = [](int x) { return x >= 0 && x <= 0xFFFF; };
    return word(v.year) && word(v.month) && word(v.day) && word(v.hour) && word(v.minute) &&
           word(v.second);
}

using Render = int(WINAPI*)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int);

// The answer of a wide-character locale function that wrote `n` characters
// (the terminating zero included) into `buffer`, as UTF-8.
LocaleText answer(int n, const std::vector<wchar_t>& buffer) {
    if (n <= 0) return {0, static_cast<std::int32_t>(GetLastError()), {}};
    return {n, 0, fromWide(std::wstring_view(buffer.data(), static_cast<std::size_t>(n - 1)))};
}

// `capacity` counts UTF-16 characters, as the wide-character functions do.
LocaleText render(Render call, DWORD flags, const SYSTEMTIME& st, const wchar_t* picture,
                  int capacity) {
    if (capacity <= 0) return {0, ERROR_INSUFFICIENT_BUFFER, {}};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity), L'\0');
    return answer(call(kUserDefault, flags, &st, picture, buffer.data(), capacity), buffer);
}

// A standard rendering (no picture): asks for the length first.
std::string standard(Render call, DWORD flags, const SYSTEMTIME& st, const char* what) {
    int n = call(kUserDefault, flags, &st, nullptr, nullptr, 0);
    if (n > 0) {
        LocaleText r = render(call, flags, st, nullptr, n);
        if (r.count > 0) return r.text;
    }
    throw HostError(static_cast<std::int32_t>(GetLastError()), what);
}

}  // namespace

LocaleText Win32Locale::formatDate(std::uint32_t flags, const DateTime& date,
                                   const std::string& picture, int capacity) {
    if (!fits(date)) return {0, ERROR_INVALID_PARAMETER, {}};
    return render(GetDateFormatW, flags, dateRecord(date), toWide(picture).c_str(), capacity);
}

LocaleText Win32Locale::formatTime(std::uint32_t flags, const DateTime& time,
                                   const std::string& picture, int capacity) {
    if (!fits(time)) return {0, ERROR_INVALID_PARAMETER, {}};
    return render(GetTimeFormatW, flags, timeRecord(time), toWide(picture).c_str(), capacity);
}

LocaleText Win32Locale::localeInfo(std::uint32_t setting, int capacity) {
    if (capacity <= 0) return {0, ERROR_INSUFFICIENT_BUFFER, {}};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity), L'\0');
    return answer(GetLocaleInfoW(kUserDefault, setting, buffer.data(), capacity), buffer);
}

std::string Win32Locale::shortDate(const DateTime& date) {
    if (!fits(date)) throw HostError(ERROR_INVALID_PARAMETER, "GetDateFormatA(DATE_SHORTDATE)");
    return standard(GetDateFormatW, DATE_SHORTDATE, dateRecord(date),
                    "GetDateFormatA(DATE_SHORTDATE)");
}

std::string Win32Locale::longDate(const DateTime& date) {
    if (!fits(date)) throw HostError(ERROR_INVALID_PARAMETER, "GetDateFormatA(DATE_LONGDATE)");
    return standard(GetDateFormatW, DATE_LONGDATE, dateRecord(date),
                    "GetDateFormatA(DATE_LONGDATE)");
}

std::string Win32Locale::longTime(const DateTime& time) {
    if (!fits(time)) throw HostError(ERROR_INVALID_PARAMETER, "GetTimeFormatA()");
    return standard(GetTimeFormatW, 0, timeRecord(time), "GetTimeFormatA()");
}

std::string Win32Locale::generalDate(const DateTime& dateTime) {
    return shortDate(dateTime) + " " + longTime(dateTime);
}

}  // namespace cq::win32

#include "outlook/mDatestamp.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "common/Guard.h"
#include "common/Port.h"
#include "common/Unicode.h"
#include "outlook/Locale.h"
#include "outlook/Log.h"
#include "outlook/StampSettings.h"

namespace cq {
namespace {

constexpr int kExtraRoom = 256;
constexpr int kLocaleStringRoom = 256;

// Room for the rendering of `picture`: its length plus 256 characters, counted
// as the locale functions count them (UTF-16 units, not UTF-8 bytes).
int roomFor(const std::string& picture) {
    constexpr std::size_t kMost = std::numeric_limits<int>::max() - kExtraRoom;
    return static_cast<int>(std::min(Utf16Length(picture), kMost)) + kExtraRoom;
}

std::string dateText(Locale& locale, const StampSettings& s, const DateTime& dt) {
    if (s.m_nDateFormat == 0) return locale.shortDate(dt);
    if (s.m_nDateFormat == 1) return locale.longDate(dt);
    std::string sDate;
    if (!GetDateFormat(sDate, dt, s.m_sDateFormat)) sDate = locale.shortDate(dt);
    return sDate;
}

std::string timeText(Locale& locale, const StampSettings& s, const DateTime& dt) {
    std::string sTime;
    if (s.m_nTimeFormat == 0) {
        std::string sPicture = GetLocaleString(Locale::kTimeFormatSetting);
        if (!sPicture.empty() && !GetTimeFormat(sTime, dt, sPicture, true)) sTime.clear();
        if (sTime.empty()) sTime = locale.longTime(dt);
    } else if (s.m_nTimeFormat == 1) {
        sTime = locale.longTime(dt);
    } else if (!GetTimeFormat(sTime, dt, s.m_sTimeFormat, false)) {
        sTime = locale.longTime(dt);
    }
    return sTime;
}

// The general date text; when even that cannot be rendered, a fixed
// year-month-day hour:minute:second text, so that the caller still gets a stamp.
std::string generalDate(const DateTime& dt) noexcept {
    try {
        return Port<Locale>::get().generalDate(dt);
    } catch (...) {
        char text[64];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", dt.year, dt.month, dt.day,
                      dt.hour, dt.minute, dt.second);
        return text;
    }
}

}  // namespace

std::string GetDatestamp(DateTime dtValue, std::int32_t& lStampKind) noexcept {
    try {
        UpdateStampSettings();
        const StampSettings& s = g_StampSettings;
        Locale& locale = Port<Locale>::get();

        std::string sDate;
        if (s.m_nDatePos != 0) sDate = dateText(locale, s, dtValue);
        std::string sTime;
        if (s.m_nTimePos != 0) sTime = timeText(locale, s, dtValue);

        std::string sStamp;
        std::int32_t lKind;
        if (s.m_nDatePos != 0 && s.m_nTimePos != 0) {
            if (s.m_nDatePos < s.m_nTimePos) {
                sStamp = sDate + " " + sTime;
                lKind = kStampDateTime;
            } else {
                sStamp = sTime + " " + sDate;
                lKind = kStampTimeDate;
            }
        } else if (s.m_nDatePos != 0) {
            sStamp = std::move(sDate);
            lKind = kStampDate;
        } else {
            sStamp = std::move(sTime);
            lKind = kStampTime;
        }
        lStampKind = lKind;
        return sStamp;
    } catch (const HostError& failure) {
        guard([&] { errLog("mDatestamp::GetDatestamp", failure); });
    } catch (const std::exception& failure) {
        guard([&] { errLog("mDatestamp::GetDatestamp", -1, failure.what()); });
    } catch (...) {
        guard([&] { errLog("mDatestamp::GetDatestamp", -1, "unknown failure"); });
    }
    return generalDate(dtValue);
}

bool GetDateFormat(std::string& sOut, const DateTime& dtValue, const std::string& sPicture) {
    LocaleText r = Port<Locale>::get().formatDate(0, dtValue, sPicture, roomFor(sPicture));
    if (r.count > 0) {
        sOut = std::move(r.text);
        return true;
    }
    errLog("mDatestamp::GetDateFormat", r.error, "GetDateFormatA(" + sPicture + ")");
    return false;
}

bool GetTimeFormat(std::string& sOut, const DateTime& dtValue, const std::string& sPicture,
                   bool bNoSeconds) {
    std::uint32_t flags = bNoSeconds ? Locale::kTimeNoSeconds : 0;
    LocaleText r = Port<Locale>::get().formatTime(flags, dtValue, sPicture, roomFor(sPicture));
    if (r.count > 0) {
        sOut = std::move(r.text);
        return true;
    }
    errLog("mDatestamp::GetTimeFormat", r.error, "GetTimeFormatA(" + sPicture + ")");
    return false;
}

std::string GetLocaleString(std::uint32_t lcType) {
    LocaleText r = Port<Locale>::get().localeInfo(lcType, kLocaleStringRoom);
    if (r.count > 0) return std::move(r.text);
    return {};
}

}  // namespace cq

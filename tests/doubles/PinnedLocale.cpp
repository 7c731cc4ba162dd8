#include "tests/doubles/PinnedLocale.h"

#include "common/HostError.h"
#include "common/Unicode.h"
#include "tests/doubles/PictureFormat.h"

namespace cq::test {
namespace {

LocaleText failed(std::int32_t error) { return {0, error, {}}; }

// Counts in UTF-16 characters, as the wide-character locale functions do.
LocaleText fitted(std::string text, int capacity) {
    const auto length = static_cast<long long>(Utf16Length(text));
    if (length + 1 > capacity) return failed(PinnedLocale::kInsufficientBuffer);
    return {static_cast<int>(length) + 1, 0, std::move(text)};
}

}  // namespace

LocaleText PinnedLocale::formatDate(std::uint32_t flags, const DateTime& date,
                                    const std::string& picture, int capacity) {
    ++dateCalls;
    if (flags != 0) return failed(kInvalidFlags);
    if (!validDate(date) || rejected.contains(picture)) return failed(kInvalidParameter);
    return fitted(renderPicture(picture, date, PictureKind::Date), capacity);
}

LocaleText PinnedLocale::formatTime(std::uint32_t flags, const DateTime& time,
                                    const std::string& picture, int capacity) {
    ++timeCalls;
    if ((flags & ~kTimeNoSeconds) != 0) return failed(kInvalidFlags);
    if (!validTime(time) || rejected.contains(picture)) return failed(kInvalidParameter);
    bool noSeconds = (flags & kTimeNoSeconds) != 0;
    return fitted(renderPicture(picture, time, PictureKind::Time, noSeconds), capacity);
}

LocaleText PinnedLocale::localeInfo(std::uint32_t setting, int capacity) {
    ++infoCalls;
    if (setting != kTimeFormatSetting) return failed(kInvalidFlags);
    if (!timePictureReadable) return failed(kInvalidParameter);
    return fitted(timePicture, capacity);
}

std::string PinnedLocale::shortDate(const DateTime& date) {
    ++standardCalls;
    if (renderingsFail || !validDate(date)) throw HostError(kInvalidParameter, "short date");
    return renderPicture(shortDatePicture, date, PictureKind::Date);
}

std::string PinnedLocale::longDate(const DateTime& date) {
    ++standardCalls;
    if (renderingsFail || !validDate(date)) throw HostError(kInvalidParameter, "long date");
    return renderPicture(longDatePicture, date, PictureKind::Date);
}

std::string PinnedLocale::longTime(const DateTime& time) {
    ++standardCalls;
    if (renderingsFail || !validTime(time)) throw HostError(kInvalidParameter, "long time");
    return renderPicture(timePicture, time, PictureKind::Time);
}

std::string PinnedLocale::generalDate(const DateTime& dateTime) {
    return shortDate(dateTime) + " " + longTime(dateTime);
}

}  // namespace cq::test

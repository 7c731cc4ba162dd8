#include "outlook/mMain.h"

#include <limits>

#include "common/CWinReg.h"
#include "common/Guard.h"
#include "outlook/OutlookObjects.h"

namespace cq {

Dispatch g_oOutlook;
std::int32_t g_lOutlookVersion = 0;

namespace {

// The leading decimal digits of `text` as a number; 0 when there are none
// or when they do not fit.
std::int32_t leadingNumber(std::string_view text) {
    std::int64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
        if (n > std::numeric_limits<std::int32_t>::max()) return 0;
    }
    return static_cast<std::int32_t>(n);
}

}  // namespace

std::int32_t GetOutlookVersion() noexcept {
    if (g_lOutlookVersion != 0) return g_lOutlookVersion;
    std::string sVersion;
    guard([&] { sVersion = ol::Application(g_oOutlook).Version(); });
    std::string_view sMajor = sVersion;
    if (std::size_t p = sMajor.find('.'); p != std::string_view::npos) sMajor = sMajor.substr(0, p);
    g_lOutlookVersion = leadingNumber(sMajor);
    return g_lOutlookVersion;
}

std::string GetStampTooltip(std::int32_t lKind) {
    switch (lKind) {
        case 1:
            return "Insert date";
        case 2:
            return "Insert time";
        case 3:
            return "Insert time and date";
        default:
            return "Insert date and time";
    }
}

std::string GetStampLabel(std::int32_t lKind) {
    switch (lKind) {
        case 1:
            return "Date";
        case 2:
            return "Time";
        case 3:
            return "Time Date";
        default:
            return "Date Time";
    }
}

void SaveTooltip(const std::string& sText) noexcept {
    guard([&] {
        CWinReg oReg;
        if (oReg.InitForWrite(CWinReg::HKeyCurrentUser(), std::string(kTooltipKey), true)) {
            oReg.WriteString(std::string(kTooltipValue), sText);
            oReg.CloseKey();
        }
    });
}

}  // namespace cq

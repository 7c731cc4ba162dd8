#include "outlook/mMain.h"

#include "common/AddInContract.h"
#include "common/CWinReg.h"
#include "common/Guard.h"
#include "outlook/OutlookObjects.h"

namespace cq {

Dispatch g_oOutlook;
std::int32_t g_lOutlookVersion = 0;

std::int32_t GetOutlookVersion() noexcept {
    if (g_lOutlookVersion != 0) return g_lOutlookVersion;
    std::string sVersion;
    guard([&] { sVersion = ol::Application(g_oOutlook).Version(); });
    g_lOutlookVersion = HostMajorVersion(sVersion);
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
            return std::string(kDefaultTooltip);
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

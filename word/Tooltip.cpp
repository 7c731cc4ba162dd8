#include "word/Tooltip.h"

#include "common/AddInContract.h"
#include "common/CWinReg.h"
#include "common/Guard.h"

namespace cq::word {

std::string GetTooltip() noexcept {
    std::string text;
    guard([&] {
        CWinReg reg;
        if (reg.InitForRead(CWinReg::HKeyCurrentUser(), std::string(kTooltipKey))) {
            text = reg.ReadString(std::string(kTooltipValue));
            reg.CloseKey();
        }
    });
    if (text.empty()) return std::string(kDefaultTooltip);
    return text;
}

}  // namespace cq::word

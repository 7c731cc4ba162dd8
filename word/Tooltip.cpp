#include "word/Tooltip.h"

#include "common/CWinReg.h"
#include "common/Guard.h"

namespace cq::word {

std::string GetTooltip() noexcept {
    std::string text;
    guard([&] {
        CWinReg reg;
        if (reg.InitForRead(CWinReg::HKeyCurrentUser(), "Software\\Quintor\\Inkwell")) {
            text = reg.ReadString("Tooltip");
            reg.CloseKey();
        }
    });
    if (text.empty()) return kDefaultTooltip;
    return text;
}

}  // namespace cq::word

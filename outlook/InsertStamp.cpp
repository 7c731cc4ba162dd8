// The clicks on a wrapper's stamp controls: compose the stamp, keep the
// controls and the "Tooltip" value in line with its kind, type it.

#include "common/Clock.h"
#include "common/Guard.h"
#include "common/Port.h"
#include "common/SendTextAsKeys.h"
#include "outlook/CInspectorWrapper.h"
#include "outlook/mDatestamp.h"
#include "outlook/mMain.h"

namespace cq {

void CInspectorWrapper::m_btnMain_Click(std::span<Variant>) {
    const std::shared_ptr<CInspectorWrapper> self = weak_from_this().lock();  // released last
    guard([&] { InsertStamp(); });
}

void CInspectorWrapper::m_btnMain2_Click(std::span<Variant>) {
    const std::shared_ptr<CInspectorWrapper> self = weak_from_this().lock();  // released last
    guard([&] { InsertStamp(); });
}

void CInspectorWrapper::InsertStamp() {
    std::string sStamp;
    std::int32_t lKind = 0;
    guard([&] { sStamp = GetDatestamp(Port<Clock>::get().now(), lKind); });

    if (lKind != m_lStampKind) {
        m_lStampKind = lKind;
        guard([&] { CommandBarButton(m_btnMain.object()).SetTooltipText(GetStampTooltip(lKind)); });
        guard([&] { CommandBarButton(m_btnMain2.object()).SetCaption(GetStampTooltip(lKind)); });
        guard([&] { SaveTooltip(GetStampTooltip(lKind)); });
    }

    SendTextAsKeys(sStamp + " ");
}

}  // namespace cq

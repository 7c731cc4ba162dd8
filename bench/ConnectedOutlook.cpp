#include "bench/ConnectedOutlook.h"

#include "common/host/Variant.h"

namespace cq::bench {

ConnectedOutlook::ConnectedOutlook() {
    outlook_.addExplorer();
    app_ = win32::ComPtr<IDispatch>::adopt(exporter_.exportObject(outlook_.application));
    addin_ = createByProgId(L"Chronoquill.Connect");
    calls_.onConnection(*addin_.get(), app_.get());
    calls_.onStartupComplete(*addin_.get());
}

void ConnectedOutlook::shutdown() {
    // Outlook closes its explorer first (the support library lets go of its
    // About entry there).
    while (outlook_.activeExplorer) outlook_.closeExplorer(*outlook_.activeExplorer);
    calls_.shutdown(*addin_.get());
    addin_.reset();
    outlook_.addIn.set("Object", Variant());
}

}  // namespace cq::bench

#pragma once
// The in-memory Outlook 2003 with its explorer, exported as COM objects, and
// the real "Chronoquill.Connect" created by its ProgID and connected to it as
// Outlook connects an add-in at start-up. The add-in then publishes itself
// as COMAddIns.Item("Chronoquill.Connect").Object. A failed call throws
// std::runtime_error.

#include <windows.h>
#include <oaidl.h>

#include "bench/OfficeCalls.h"
#include "common/win32/ComPtr.h"
#include "OfficeAddIn.h"
#include "tests/doubles/FakeOutlook.h"
#include "tests/hosts/ComExport.h"

namespace cq::bench {

class ConnectedOutlook {
  public:
    ConnectedOutlook();
    ConnectedOutlook(const ConnectedOutlook&) = delete;
    ConnectedOutlook& operator=(const ConnectedOutlook&) = delete;

    test::FakeOutlook& outlook() { return outlook_; }
    // The exported Application.
    IDispatch* application() const { return app_.get(); }

    // Outlook's shutdown: the explorer closes, OnBeginShutdown and
    // OnDisconnection, then the add-in let go and its published object forgotten.
    void shutdown();

  private:
    test::FakeOffice office_;
    test::ComExport exporter_;
    test::FakeOutlook outlook_{office_, 11};
    OfficeCalls calls_;
    win32::ComPtr<IDispatch> app_;
    win32::ComPtr<IDTExtensibility2> addin_;
};

}  // namespace cq::bench

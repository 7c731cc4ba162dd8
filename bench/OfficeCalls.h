#pragma once
// An add-in created by its ProgID and called through IDTExtensibility2 as
// Office calls it, with an empty custom array. A failed call throws
// std::runtime_error naming it.

#include <windows.h>
#include <oaidl.h>

#include "common/win32/ComPtr.h"
#include "OfficeAddIn.h"

namespace cq::bench {

// CLSIDFromProgID, then CoCreateInstance in process.
win32::ComPtr<IDTExtensibility2> createByProgId(const wchar_t* progId);

class OfficeCalls {
  public:
    OfficeCalls();
    ~OfficeCalls();
    OfficeCalls(const OfficeCalls&) = delete;
    OfficeCalls& operator=(const OfficeCalls&) = delete;

    void onConnection(IDTExtensibility2& addin, IDispatch* application);
    void onStartupComplete(IDTExtensibility2& addin);
    // OnBeginShutdown, then OnDisconnection for the host's shutdown.
    void shutdown(IDTExtensibility2& addin);

  private:
    SAFEARRAY* custom_;
};

}  // namespace cq::bench

#pragma once
// The COM add-ins of one Office application, found and called as Office
// does: every subkey of HKEY_CURRENT_USER "Software\Microsoft\Office\<App>\Addins"
// with LoadBehavior 3 names a ProgID; its class is made with
// CoCreateInstance and connected through the IDTExtensibility2 vtable:
// OnConnection(Application, ext_cm_Startup, AddInInst, custom) for each,
// then OnStartupComplete for each; at shutdown OnBeginShutdown for each,
// then OnDisconnection(ext_dm_HostShutdown) for each, then the release.
// `custom` holds one element, 1: the host was started by the user.

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

#include "common/host/Dispatch.h"
#include "common/win32/ComPtr.h"
#include "OfficeAddIn.h"

namespace cq::test::e2e {

struct LoadedAddIn {
    std::string progId;
    win32::ComPtr<IDTExtensibility2> extensibility;
    win32::ComPtr<IDispatch> object;  // the same object, for calls by name
    Dispatch addInInst;               // the host's COMAddIn object for it
    bool connected = false;
};

class AddInSet {
  public:
    // The COMAddIn object that the host hands to the add-in `progId`.
    using AddInInstFor = std::function<Dispatch(const std::string& progId)>;

    AddInSet() = default;
    ~AddInSet();
    AddInSet(const AddInSet&) = delete;
    AddInSet& operator=(const AddInSet&) = delete;

    // Creates and connects the add-ins registered for `application` ("Outlook"
    // or "Word"); prints one line per add-in:
    //   add-in <ProgID>: connected in <n> us
    //   add-in <ProgID>: <step> failed 0x<HRESULT>
    //   add-in <ProgID>: not loaded (LoadBehavior <n>)
    void connect(const std::string& application, const Dispatch& host,
                 const AddInInstFor& addInInst);
    // "add-in <ProgID>: startup complete in <n> us" for each connected one.
    void startupComplete();
    // Disconnects and releases every add-in.
    void shutdown();

    std::vector<LoadedAddIn>& all() { return addIns_; }

  private:
    std::vector<LoadedAddIn> addIns_;
};

// The ProgIDs registered for `application` with their LoadBehavior, in the
// registry's order.
std::vector<std::pair<std::string, DWORD>> registeredAddIns(const std::string& application);

}  // namespace cq::test::e2e

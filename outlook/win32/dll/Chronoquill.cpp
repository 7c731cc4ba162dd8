// Chronoquill.dll, the Outlook add-in: an in-process COM server that serves
// one class, "Chronoquill.Connect", registered per user together with its
// Outlook add-in key. Its exports are common/win32/ServerExports.cpp's.

#include <windows.h>

#include "common/Registration.h"
#include "common/win32/ServerRegistration.h"
#include "common/win32/ThisModule.h"
#include "outlook/Connect.h"
#include "outlook/win32/dll/ConnectObject.h"
#include "outlook/win32/dll/OutlookPorts.h"

namespace cq::win32 {
namespace {

// {DDAE8299-4AC0-464C-86CC-713F59DA574E}
constexpr CLSID kConnectClsid = {
    0xddae8299, 0x4ac0, 0x464c, {0x86, 0xcc, 0x71, 0x3f, 0x59, 0xda, 0x57, 0x4e}};

HRESULT createConnect(REFIID iid, void** object) {
    // The services come first: the portable Connect reaches everything through them.
    installOutlookPorts(thisModule());
    return createObject<ConnectObject>(iid, object);
}

}  // namespace

const ServedClass kAddInClass = {kConnectClsid, &createConnect};

Registration addInRegistration() {
    return {guidText(kConnectClsid), std::string(kOutlookAddInProgId),
            "Chronoquill date and time stamps for Outlook", "Chronoquill", "Outlook",
            // The library of Chronoquill.idl, in this DLL.
            "{9A5DB1D0-4380-4C18-83E4-D15DBE46A51A}"};
}

}  // namespace cq::win32

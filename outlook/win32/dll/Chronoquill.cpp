// Chronoquill.dll, the Outlook add-in: DllMain and the four exports of an
// in-process COM server that serves one class, "Chronoquill.Connect",
// registered per user together with its Outlook add-in key.

#include <windows.h>

#include "common/Registration.h"
#include "common/win32/ClassFactory.h"
#include "common/win32/ComError.h"
#include "common/win32/ComModule.h"
#include "common/win32/ServerRegistration.h"
#include "common/win32/ThisModule.h"
#include "outlook/Connect.h"
#include "outlook/win32/dll/ConnectObject.h"
#include "outlook/win32/dll/OutlookPorts.h"

namespace {

using namespace cq::win32;

// {DDAE8299-4AC0-464C-86CC-713F59DA574E}
constexpr CLSID kConnectClsid = {
    0xddae8299, 0x4ac0, 0x464c, {0x86, 0xcc, 0x71, 0x3f, 0x59, 0xda, 0x57, 0x4e}};

HRESULT createConnect(REFIID iid, void** object) {
    // The services come first: the portable Connect reaches everything through them.
    installOutlookPorts(thisModule());
    return createObject<ConnectObject>(iid, object);
}

constexpr ServedClass kClasses[] = {{kConnectClsid, &createConnect}};

cq::Registration registration() {
    return {guidText(kConnectClsid), std::string(cq::kOutlookAddInProgId),
            "Chronoquill date and time stamps for Outlook", "Chronoquill", "Outlook",
            // The library of Chronoquill.idl, in this DLL.
            "{9A5DB1D0-4380-4C18-83E4-D15DBE46A51A}"};
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    return getClassObject(kClasses, clsid, iid, object);
}

STDAPI DllCanUnloadNow() { return ComModule::canUnloadNow(); }

STDAPI DllRegisterServer() {
    return barrier([] { return registerServer(registration()); });
}

STDAPI DllUnregisterServer() {
    return barrier([] { return unregisterServer(registration()); });
}

}  // extern "C"

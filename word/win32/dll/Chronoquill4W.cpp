// Chronoquill4W.dll, the Word add-in: DllMain and the four exports of an
// in-process COM server that serves one class, "Chronoquill4W.Connect",
// registered per user together with its Word add-in key.

#include <windows.h>

#include <iterator>

#include "common/Registration.h"
#include "common/win32/ClassFactory.h"
#include "common/win32/ComError.h"
#include "common/win32/ComModule.h"
#include "common/win32/ServerRegistration.h"
#include "common/win32/ThisModule.h"
#include "word/win32/dll/ConnectObject.h"
#include "word/win32/dll/WordPorts.h"

namespace {

using namespace cq::win32;

// {48C227F2-A7FD-4B1C-A52B-79B8422992FD}
constexpr CLSID kConnectClsid = {
    0x48c227f2, 0xa7fd, 0x4b1c, {0xa5, 0x2b, 0x79, 0xb8, 0x42, 0x29, 0x92, 0xfd}};

HRESULT createConnect(REFIID iid, void** object) {
    // Connect writes its log from its constructor on: the services come first.
    cq::word::win32::installPorts(thisModule());
    return createObject<cq::word::win32::ConnectObject>(iid, object);
}

constexpr ServedClass kClasses[] = {{kConnectClsid, &createConnect}};

cq::Registration registration() {
    return {guidText(kConnectClsid), "Chronoquill4W.Connect",
            "Chronoquill date and time stamps for Word", "Chronoquill for Word", "Word",
            // The library of Chronoquill4W.idl, in this DLL.
            "{2BDC37CB-E69B-4B6B-828C-6076AE8E532B}"};
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

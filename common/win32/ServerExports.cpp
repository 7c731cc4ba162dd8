// DllMain and the four exports of an add-in DLL, made from the class and the
// registration that the DLL defines (ServerRegistration.h). The linker takes
// this file from the library for each DLL whose .def file names the exports.

#include <windows.h>

#include "common/win32/ComError.h"
#include "common/win32/ComModule.h"
#include "common/win32/ServerRegistration.h"

using namespace cq::win32;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    return getClassObject({&kAddInClass, 1}, clsid, iid, object);
}

STDAPI DllCanUnloadNow() { return ComModule::canUnloadNow(); }

STDAPI DllRegisterServer() {
    return barrier([] { return registerServer(addInRegistration()); });
}

STDAPI DllUnregisterServer() {
    return barrier([] { return unregisterServer(addInRegistration()); });
}

}  // extern "C"

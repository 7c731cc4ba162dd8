// stamp-client.exe: asks the running Outlook for a stamp from a process of its
// own, the way the Word add-in does, each member called by name:
// Application.COMAddIns.Item("Chronoquill.Connect").Object.GetStamp(s, t).
// COM marshals the calls between processes, also of different bitness.
// Prints one line and exits with 0 when GetStamp could be called:
//   client 64-bit: get-stamp: true stamp="07.12.2026 17:05" tooltip="Insert date and time"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <exception>
#include <string>

#include "common/HostError.h"
#include "common/host/Dispatch.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ComError.h"
#include "common/win32/ComPtr.h"
#include "common/win32/Text.h"

namespace {

using cq::Dispatch;
using cq::Variant;

Dispatch runningOutlook() {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(L"Outlook.Application", &clsid);
    if (FAILED(hr)) throw cq::win32::comError(hr);
    cq::win32::ComPtr<IUnknown> running;
    hr = GetActiveObject(clsid, nullptr, running.put());
    if (FAILED(hr)) throw cq::win32::comError(hr);
    IDispatch* object = nullptr;
    hr = running.get()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object));
    if (FAILED(hr)) throw cq::win32::comError(hr);
    return cq::win32::adoptDispatch(object);
}

std::string getStamp() {
    const Dispatch outlook = runningOutlook();
    const Dispatch addIn = outlook.get("COMAddIns")
                               .toObject()
                               .call("Item", std::string("Chronoquill.Connect"))
                               .toObject()
                               .get("Object")
                               .toObject();
    if (!addIn) throw cq::HostError(91, "the COM add-in has no object");
    Variant stamp = std::string(), tooltip = std::string();
    Variant args[] = {Variant::ref(stamp), Variant::ref(tooltip)};
    const Variant result = addIn.invoke("GetStamp", cq::CallKind::Method, args);
    return std::string("get-stamp: ") + (result.toBool() ? "true" : "false") + " stamp=\"" +
           stamp.toString() + "\" tooltip=\"" + tooltip.toString() + "\"";
}

}  // namespace

int main() {
    const char* bits = sizeof(void*) == 8 ? "64" : "32";
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::printf("client %s-bit: error: CoInitializeEx failed\n", bits);
        return 1;
    }
    int rc = 0;
    try {
        std::printf("client %s-bit: %s\n", bits, getStamp().c_str());
    } catch (const std::exception& e) {
        std::printf("client %s-bit: error: %s\n", bits, e.what());
        rc = 1;
    }
    CoUninitialize();
    return rc;
}

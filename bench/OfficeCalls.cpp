#include "bench/OfficeCalls.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace cq::bench {
namespace {

void check(HRESULT hr, const char* what) {
    if (SUCCEEDED(hr)) return;
    char text[96];
    std::snprintf(text, sizeof text, "%s failed: 0x%08lX", what, static_cast<unsigned long>(hr));
    throw std::runtime_error(text);
}

}  // namespace

win32::ComPtr<IDTExtensibility2> createByProgId(const wchar_t* progId) {
    CLSID clsid{};
    check(CLSIDFromProgID(progId, &clsid), "CLSIDFromProgID");
    win32::ComPtr<IDTExtensibility2> addin;
    check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDTExtensibility2),
                           addin.putVoid()),
          "CoCreateInstance");
    return addin;
}

OfficeCalls::OfficeCalls() : custom_(SafeArrayCreateVector(VT_VARIANT, 0, 0)) {
    if (custom_ == nullptr) throw std::runtime_error("SafeArrayCreateVector failed");
}

OfficeCalls::~OfficeCalls() { SafeArrayDestroy(custom_); }

void OfficeCalls::onConnection(IDTExtensibility2& addin, IDispatch* application) {
    check(addin.OnConnection(application, ext_cm_Startup, nullptr, &custom_), "OnConnection");
}

void OfficeCalls::onStartupComplete(IDTExtensibility2& addin) {
    check(addin.OnStartupComplete(&custom_), "OnStartupComplete");
}

void OfficeCalls::shutdown(IDTExtensibility2& addin) {
    check(addin.OnBeginShutdown(&custom_), "OnBeginShutdown");
    check(addin.OnDisconnection(ext_dm_HostShutdown, &custom_), "OnDisconnection");
}

}  // namespace cq::bench

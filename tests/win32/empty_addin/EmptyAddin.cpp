// An add-in that does nothing: class "ChronoquillEmpty.Connect" implementing
// IDTExtensibility2 through its vtable and through IDispatch (its type
// library holds only that interface), served and registered by the same code
// (and exports) as the real add-ins. The tests load it with
// regsvr32 and COM; the benchmarks measure the real add-ins against it.

#include <windows.h>
#include <oaidl.h>

#include "common/Registration.h"
#include "common/win32/ComObject.h"
#include "common/win32/IDTExtensibility2.h"
#include "common/win32/ServerRegistration.h"
#include "common/win32/TypedDispatch.h"

namespace cq::win32 {
namespace {

// {4CABDD47-54F7-45A4-B388-8C827F2EEDF7}
constexpr CLSID kClsid = {
    0x4CABDD47, 0x54F7, 0x45A4, {0xB3, 0x88, 0x8C, 0x82, 0x7F, 0x2E, 0xED, 0xF7}};

class Connect final : public ComObject<TypedDispatch<IDTExtensibility2>> {
  public:
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch*, int, IDispatch*, SAFEARRAY**) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDisconnection(int, SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override { return S_OK; }
};

}  // namespace

const ServedClass kAddInClass = {kClsid, &createObject<Connect>};

Registration addInRegistration() {
    return {guidText(kClsid),
            "ChronoquillEmpty.Connect",
            "Chronoquill empty add-in",
            "Chronoquill empty add-in",
            "Outlook",
            "{5E0C3F51-8A4B-4C2D-9E1F-0A1B2C3D4E5F}"};
}

}  // namespace cq::win32

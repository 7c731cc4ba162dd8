// An add-in that does nothing: class "ChronoquillEmpty.Connect" implementing
// IDTExtensibility2 through its vtable and through IDispatch (its type
// library holds only that interface), served and registered by the same code
// (and exports) as the real add-ins. The tests load it with
// regsvr32 and COM; the benchmarks measure the real add-ins against it.

#include <windows.h>
#include <oaidl.h>

#include "ChronoquillEmpty.h"
#include "common/Registration.h"
#include "common/win32/ComObject.h"
#include "common/win32/ServerRegistration.h"
#include "common/win32/TypedDispatch.h"

namespace cq::win32 {
namespace {

class Connect final : public ComObject<TypedDispatch<IDTExtensibility2>> {
  public:
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch*, ext_ConnectMode, IDispatch*,
                                           SAFEARRAY**) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode, SAFEARRAY**) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override { return S_OK; }
};

}  // namespace

const ServedClass kAddInClass = {__uuidof(::Connect), &createObject<Connect>};

Registration addInRegistration() {
    return {guidText(__uuidof(::Connect)),
            "ChronoquillEmpty.Connect",
            "Chronoquill empty add-in",
            "Chronoquill empty add-in",
            "Outlook",
            "{5E0C3F51-8A4B-4C2D-9E1F-0A1B2C3D4E5F}"};
}

}  // namespace cq::win32

// An add-in that does nothing: class "ChronoquillEmpty.Connect" implementing
// IDTExtensibility2 through its vtable and through IDispatch, served and
// registered by the same code as the real add-ins. The tests load it with
// regsvr32 and COM; the benchmarks measure the real add-ins against it.

#include <windows.h>
#include <oaidl.h>

#include <atomic>

#include "common/Registration.h"
#include "common/win32/ClassFactory.h"
#include "common/win32/ComBarrier.h"
#include "common/win32/ComModule.h"
#include "common/win32/ExtensibilityDispatch.h"
#include "common/win32/IDTExtensibility2.h"
#include "common/win32/ServerRegistration.h"

namespace cq::win32 {
namespace {

// {4CABDD47-54F7-45A4-B388-8C827F2EEDF7}
constexpr CLSID kClsid = {
    0x4CABDD47, 0x54F7, 0x45A4, {0xB3, 0x88, 0x8C, 0x82, 0x7F, 0x2E, 0xED, 0xF7}};

class Connect final : public IDTExtensibility2 {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, IID_IDTExtensibility2)) {
            *object = static_cast<IDTExtensibility2*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info == nullptr) return E_POINTER;
        *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (count == 0) return S_OK;
        if (names == nullptr || ids == nullptr) return E_POINTER;
        // Only member names; argument names are not known.
        ids[0] = extensibilityDispid(names[0]);
        for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                     UINT* argErr) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        return invokeExtensibility(*this, member, flags, params, result, argErr);
    }

    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch*, int, IDispatch*, SAFEARRAY**) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDisconnection(int, SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override { return S_OK; }

  private:
    ~Connect() = default;

    ModuleObject alive_;
    std::atomic<ULONG> refs_{1};
};

const ServedClass kClasses[] = {{kClsid, &createObject<Connect>}};

Registration registration() {
    return {guidText(kClsid), "ChronoquillEmpty.Connect", "Chronoquill empty add-in",
            "Chronoquill empty add-in", "Outlook"};
}

}  // namespace
}  // namespace cq::win32

using namespace cq::win32;

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    return getClassObject(kClasses, clsid, iid, object);
}

STDAPI DllCanUnloadNow() { return ComModule::canUnloadNow(); }

STDAPI DllRegisterServer() {
    return barrier([] { return registerServer(registration()); });
}

STDAPI DllUnregisterServer() {
    return barrier([] { return unregisterServer(registration()); });
}

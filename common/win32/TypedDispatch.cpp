#include "common/win32/TypedDispatch.h"

#include <oleauto.h>

#include "common/win32/ComError.h"
#include "common/win32/ComPtr.h"
#include "common/win32/TypeLibrary.h"

namespace cq::win32 {
namespace {

// Whether the interface described by `info` has a member with DISPID `id`.
bool hasMember(ITypeInfo* info, DISPID id) {
    BSTR name = nullptr;
    UINT found = 0;
    const bool has = SUCCEEDED(info->GetNames(id, &name, 1, &found)) && found == 1;
    SysFreeString(name);
    return has;
}

}  // namespace

HRESULT typeInfo(REFIID iid, UINT index, ITypeInfo** info) noexcept {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return barrier([&] { *info = typeInfoOf(iid, false).detach(); });
}

HRESULT idsOfNames(REFIID iid, REFIID also, REFIID riid, LPOLESTR* names, UINT count,
                   DISPID* ids) noexcept {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return barrier([&]() -> HRESULT {
        const ComPtr<ITypeInfo> own = typeInfoOf(iid, true);
        HRESULT hr = DispGetIDsOfNames(own.get(), names, count, ids);
        if (hr != DISP_E_UNKNOWNNAME || IsEqualIID(also, iid)) return hr;
        hr = DispGetIDsOfNames(typeInfoOf(also, true).get(), names, count, ids);
        if (SUCCEEDED(hr) && hasMember(own.get(), ids[0])) {
            for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        return hr;
    });
}

HRESULT invokeTyped(REFIID iid, REFIID also, IUnknown* instance, DISPID id, REFIID riid, WORD flags,
                    DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                    UINT* argError) noexcept {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    // The member may end the caller's last reference (OnDisconnection).
    const ComPtr<IUnknown> alive(instance);
    return barrier([&]() -> HRESULT {
        const ComPtr<ITypeInfo> own = typeInfoOf(iid, true);
        if (IsEqualIID(also, iid) || hasMember(own.get(), id))
            return DispInvoke(instance, own.get(), id, flags, params, result, exception, argError);
        ComPtr<IUnknown> other;
        if (FAILED(instance->QueryInterface(also, other.putVoid()))) return DISP_E_MEMBERNOTFOUND;
        return DispInvoke(other.get(), typeInfoOf(also, true).get(), id, flags, params, result,
                          exception, argError);
    });
}

}  // namespace cq::win32

#pragma once
// IDispatch of a dual interface I through the module's type library: names and
// DISPIDs, argument conversion, named and by-reference arguments, and the call
// through I's vtable are COM's own (DispGetIDsOfNames, DispInvoke). A failing
// member describes its failure with the thread's error info (see barrier),
// which the caller then receives as EXCEPINFO with DISP_E_EXCEPTION.
//
// With `Also`, another interface of the same object, the names and DISPIDs
// that I does not have are those of Also, so that one IDispatch reaches both
// (a DISPID of Also that I uses for a member of its own stays I's).
//
//   class Thing final : public ComObject<TypedDispatch<IThing>> { ... };

#include <windows.h>
#include <oaidl.h>

namespace cq::win32 {

// GetTypeInfoCount's answer for an object with `n` type descriptions.
inline HRESULT typeInfoCount(UINT* count, UINT n) noexcept {
    if (count == nullptr) return E_POINTER;
    *count = n;
    return S_OK;
}

// Three IDispatch members over the type information of `iid`, for the
// object's face `instance`; `also`, unless it is `iid` itself, is the
// interface looked at for what `iid` does not know, whose face the object
// answers to QueryInterface.
HRESULT typeInfo(REFIID iid, UINT index, ITypeInfo** info) noexcept;
HRESULT idsOfNames(REFIID iid, REFIID also, REFIID riid, LPOLESTR* names, UINT count,
                   DISPID* ids) noexcept;
HRESULT invokeTyped(REFIID iid, REFIID also, IUnknown* instance, DISPID id, REFIID riid, WORD flags,
                    DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                    UINT* argError) noexcept;

template <class I, class Also = I>
class TypedDispatch : public I {
  public:
    using Interface = I;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return typeInfoCount(count, 1);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        return typeInfo(__uuidof(I), index, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        return idsOfNames(__uuidof(I), __uuidof(Also), riid, names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override {
        return invokeTyped(__uuidof(I), __uuidof(Also), static_cast<I*>(this), id, riid, flags,
                           params, result, exception, argError);
    }
};

// The type information members of IDispatch for an object that has none (an
// event sink, an object that stands for another): no ITypeInfo to give.
template <class I = IDispatch>
class UntypedDispatch : public I {
  public:
    using Interface = I;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return typeInfoCount(count, 0);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) *info = nullptr;
        return DISP_E_BADINDEX;
    }
};

}  // namespace cq::win32

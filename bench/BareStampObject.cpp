#include "bench/BareStampObject.h"

#include "bench/StampCallIds.h"

namespace cq::bench {
namespace {

constexpr DISPID kFill = 1;

bool isStringRef(const VARIANT& v) { return V_VT(&v) == (VT_BYREF | VT_BSTR); }

}  // namespace

BareStampObject::BareStampObject(std::wstring first, std::wstring second)
    : first_(std::move(first)), second_(std::move(second)) {}

HRESULT STDMETHODCALLTYPE BareStampObject::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BareStampObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE BareStampObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                         DISPID* ids) {
    if (names == nullptr || ids == nullptr) return E_POINTER;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    if (count != 1 || _wcsicmp(names[0], kBareMethod) != 0) return DISP_E_UNKNOWNNAME;
    ids[0] = kFill;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BareStampObject::Invoke(DISPID member, REFIID iid, LCID, WORD flags,
                                                  DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                                  UINT* argError) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (member != kFill) return DISP_E_MEMBERNOTFOUND;
    if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    if (params == nullptr || params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    // rgvarg[1] is the first argument, rgvarg[0] the second.
    for (UINT slot : {1u, 0u}) {
        if (!isStringRef(params->rgvarg[slot])) {
            if (argError != nullptr) *argError = slot;
            return DISP_E_TYPEMISMATCH;
        }
    }
    const std::wstring* texts[] = {&second_, &first_};
    for (UINT slot : {1u, 0u}) {
        BSTR fresh = SysAllocStringLen(texts[slot]->data(), static_cast<UINT>(texts[slot]->size()));
        if (fresh == nullptr) return E_OUTOFMEMORY;
        BSTR* target = V_BSTRREF(&params->rgvarg[slot]);
        SysFreeString(*target);
        *target = fresh;
    }
    if (result != nullptr) {
        VariantInit(result);
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = VARIANT_TRUE;
    }
    return S_OK;
}

}  // namespace cq::bench

#include "word/win32/dll/ConnectObject.h"

#include <oleauto.h>

#include <cwctype>
#include <string_view>

#include "common/win32/ComBarrier.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ExtensibilityDispatch.h"

namespace cq::word::win32 {
namespace {

using ::cq::win32::barrier;
using ::cq::win32::wrapDispatch;

// The five handlers are also published under the names they carry on the
// class's own interface ("IDTExtensibility2_OnConnection", ...).
constexpr std::wstring_view kHandlerPrefix = L"IDTExtensibility2_";
constexpr std::wstring_view kIsInitialized = L"IsInitialized";

bool sameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

DISPID dispidOf(const OLECHAR* name) {
    const std::wstring_view text(name);
    if (sameName(text, kIsInitialized)) return kDispidIsInitialized;
    if (text.size() > kHandlerPrefix.size() &&
        sameName(text.substr(0, kHandlerPrefix.size()), kHandlerPrefix))
        name += kHandlerPrefix.size();
    return ::cq::win32::extensibilityDispid(name);
}

}  // namespace

HRESULT STDMETHODCALLTYPE ConnectObject::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, ::cq::win32::IID_IDTExtensibility2)) {
        *object = static_cast<::cq::win32::IDTExtensibility2*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE ConnectObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count,
                                                       LCID, DISPID* ids) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (count == 0) return S_OK;
    if (names == nullptr || ids == nullptr || names[0] == nullptr) return E_POINTER;
    // No member takes named arguments: every name after the first is unknown.
    for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    ids[0] = dispidOf(names[0]);
    return ids[0] != DISPID_UNKNOWN && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE ConnectObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags,
                                                DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                                UINT* argError) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (id != kDispidIsInitialized)
        return ::cq::win32::invokeExtensibility(*this, id, flags, params, result, argError);
    if (result) VariantInit(result);
    if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) return DISP_E_MEMBERNOTFOUND;
    if (params != nullptr && params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (params != nullptr && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    if (result) {
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = connect_.IsInitialized() ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectObject::OnConnection(IDispatch* Application, int ConnectMode,
                                                      IDispatch* AddInInst, SAFEARRAY**) {
    return barrier([&] {
        connect_.IDTExtensibility2_OnConnection(wrapDispatch(Application), ConnectMode,
                                                wrapDispatch(AddInInst));
    });
}

}  // namespace cq::word::win32

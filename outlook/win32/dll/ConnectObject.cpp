#include "outlook/win32/dll/ConnectObject.h"

#include <oleauto.h>

#include <string>

#include "common/HostError.h"
#include "common/win32/ComError.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ComVariant.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

// A text comes back through `slot`: a string by reference (VBA), a variable
// holding Empty or a string (VBScript, which passes the variable itself), or
// a value the call owns.
bool takesText(const VARIANT* slot) {
    if (slot == nullptr) return false;
    switch (V_VT(slot)) {
        case VT_BSTR | VT_BYREF:
            return true;
        case VT_VARIANT | VT_BYREF:
            return takesText(V_VARIANTREF(slot));
        default:
            return (V_VT(slot) & VT_BYREF) == 0;
    }
}

void storeText(VARIANT& slot, const std::string& text) {
    if (V_VT(&slot) & VT_BYREF) return storeThrough(slot, Variant(text));
    BSTR b = toBstr(text);
    VariantClear(&slot);
    V_VT(&slot) = VT_BSTR;
    V_BSTR(&slot) = b;
}

}  // namespace

ConnectObject::ConnectObject()
    : AddInObject([this] { return wrapDispatch(static_cast<_Connect*>(this)); }) {}

HRESULT STDMETHODCALLTYPE ConnectObject::OnConnection(IDispatch* Application,
                                                      ext_ConnectMode ConnectMode, IDispatch*,
                                                      SAFEARRAY**) {
    // Only Application is used; AddInInst is not held.
    return barrier([&] {
        connect_.IDTExtensibility2_OnConnection(wrapDispatch(Application), ConnectMode, Dispatch());
    });
}

HRESULT STDMETHODCALLTYPE ConnectObject::Ribbon_OnLoad(IDispatch* ribbon) {
    return barrier([&] { connect_.Ribbon_OnLoad(wrapDispatch(ribbon)); });
}

HRESULT STDMETHODCALLTYPE ConnectObject::Button_Action(IDispatch* control) {
    return barrier([&] { connect_.Button_Action(wrapDispatch(control)); });
}

HRESULT STDMETHODCALLTYPE ConnectObject::Button_GetScreentip(IDispatch* control, BSTR* screentip) {
    if (screentip == nullptr) return E_POINTER;
    *screentip = nullptr;
    return barrier(
        [&] { *screentip = toBstr(connect_.Button_GetScreentip(wrapDispatch(control))); });
}

HRESULT STDMETHODCALLTYPE ConnectObject::Button_GetImage(IDispatch* control, IDispatch** image) {
    if (image == nullptr) return E_POINTER;
    *image = nullptr;
    return barrier([&] { *image = toIDispatch(connect_.Button_GetImage(wrapDispatch(control))); });
}

HRESULT STDMETHODCALLTYPE ConnectObject::Button_GetLabel(IDispatch* control, BSTR* label) {
    if (label == nullptr) return E_POINTER;
    *label = nullptr;
    return barrier([&] { *label = toBstr(connect_.Button_GetLabel(wrapDispatch(control))); });
}

HRESULT STDMETHODCALLTYPE ConnectObject::GetStamp(VARIANT* sStamp, VARIANT* sStampTooltip,
                                                  VARIANT_BOOL* done) {
    if (done == nullptr) return E_POINTER;
    *done = VARIANT_FALSE;
    // Both slots first: a call that cannot take the answer changes nothing.
    if (!takesText(sStamp) || !takesText(sStampTooltip)) return DISP_E_TYPEMISMATCH;
    return barrier([&] {
        std::string stamp, tooltip;
        const bool composed = connect_.GetStamp(stamp, tooltip);
        storeText(*sStamp, stamp);
        storeText(*sStampTooltip, tooltip);
        *done = composed ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

HRESULT STDMETHODCALLTYPE ConnectObject::GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) {
    if (RibbonXml == nullptr) return E_POINTER;
    *RibbonXml = nullptr;
    return barrier([&] {
        *RibbonXml = toBstr(connect_.IRibbonExtensibility_GetCustomUI(fromBstr(RibbonID)));
    });
}

}  // namespace cq::win32

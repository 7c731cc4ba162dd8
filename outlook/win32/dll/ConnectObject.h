#pragma once
// The COM object of the Outlook add-in ("Chronoquill.Connect"): one Connect
// behind the class's default interface (_Connect: IDTExtensibility2 and the
// members Ribbon_OnLoad, Button_Action, Button_GetScreentip,
// Button_GetImage, Button_GetLabel and GetStamp) and IRibbonExtensibility,
// through their vtables and through IDispatch as Chronoquill.idl describes
// them (Chronoquill.h, made from it, declares the interfaces).
//
// Connect publishes this object in Outlook's add-in collection, so calls by
// name may also come from other processes through the standard IDispatch
// marshaling, and from scripts. Every entry point answers with an HRESULT;
// nothing thrown leaves it. The ports must be in force before the first call.

#include <windows.h>
#include <oaidl.h>

#include "Chronoquill.h"
#include "common/win32/AddInObject.h"
#include "common/win32/TypedDispatch.h"
#include "outlook/Connect.h"

namespace cq::win32 {

// Through the IRibbonExtensibility face's IDispatch, GetCustomUI is DISPID 1
// and the class's own members are found too, so that the ribbon's callbacks
// arrive through whichever face Office asks.
class ConnectObject final : public AddInObject<Connect, TypedDispatch<_Connect>,
                                               TypedDispatch<IRibbonExtensibility, _Connect>> {
  public:
    ConnectObject();

    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode,
                                           IDispatch* AddInInst, SAFEARRAY** custom) override;

    HRESULT STDMETHODCALLTYPE Ribbon_OnLoad(IDispatch* ribbon) override;
    HRESULT STDMETHODCALLTYPE Button_Action(IDispatch* control) override;
    HRESULT STDMETHODCALLTYPE Button_GetScreentip(IDispatch* control, BSTR* screentip) override;
    HRESULT STDMETHODCALLTYPE Button_GetImage(IDispatch* control, IDispatch** image) override;
    HRESULT STDMETHODCALLTYPE Button_GetLabel(IDispatch* control, BSTR* label) override;
    HRESULT STDMETHODCALLTYPE GetStamp(VARIANT* sStamp, VARIANT* sStampTooltip,
                                       VARIANT_BOOL* done) override;

    HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) override;

  private:
    ~ConnectObject() override = default;
    // IDTExtensibility2, the base of _Connect.
    void* queryOther(REFIID iid) noexcept override {
        return IsEqualIID(iid, __uuidof(IDTExtensibility2)) ? static_cast<_Connect*>(this)
                                                            : nullptr;
    }
};

}  // namespace cq::win32

#pragma once
// The COM object of the Outlook add-in ("Chronoquill.Connect"): one Connect
// behind the class's default interface (IConnect: IDTExtensibility2 and the
// members Ribbon_OnLoad, Button_Action, Button_GetScreentip,
// Button_GetImage, Button_GetLabel and GetStamp) and IRibbonExtensibility,
// through their vtables and through IDispatch as the type library in the DLL
// describes them.
//
// Connect publishes this object in Outlook's add-in collection, so calls by
// name may also come from other processes through the standard IDispatch
// marshaling, and from scripts. Every entry point answers with an HRESULT;
// nothing thrown leaves it. The ports must be in force before the first call.

#include <windows.h>
#include <oaidl.h>

#include "common/win32/AddInObject.h"
#include "common/win32/TypedDispatch.h"
#include "outlook/Connect.h"
#include "outlook/win32/dll/IConnect.h"

namespace cq::win32 {

// Through the IRibbonExtensibility face's IDispatch, GetCustomUI is DISPID 1
// and the class's own members are found too, so that the ribbon's callbacks
// arrive through whichever face Office asks.
class ConnectObject final : public AddInObject<Connect, TypedDispatch<IConnect>,
                                               TypedDispatch<IRibbonExtensibility, IConnect>> {
  public:
    ConnectObject();

    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, int ConnectMode,
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
};

}  // namespace cq::win32

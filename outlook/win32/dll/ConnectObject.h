#pragma once
// The COM object of the Outlook add-in ("Chronoquill.Connect"): one Connect
// behind IUnknown, a hand-written IDispatch, IDTExtensibility2 and
// IRibbonExtensibility through their vtables.
//
// By name, through IDispatch (see ConnectMembers.h): the five IDTExtensibility2
// methods and the public methods Ribbon_OnLoad, Button_Action,
// Button_GetScreentip, Button_GetImage, Button_GetLabel and GetStamp. The
// getters answer in the call's result; GetStamp(sStamp, sStampTooltip) writes
// both strings through its by-reference arguments and answers a Boolean.
// Through the IRibbonExtensibility face GetCustomUI is DISPID 1.
//
// Connect publishes this object in Outlook's add-in collection, so calls by
// name may also come from other processes through the standard IDispatch
// marshaling. Every entry point answers with an HRESULT; nothing thrown
// leaves it. The ports must be in force before the first call.

#include <windows.h>
#include <oaidl.h>

#include "common/win32/AddInObject.h"
#include "outlook/Connect.h"
#include "outlook/win32/dll/ConnectMembers.h"
#include "outlook/win32/dll/IRibbonExtensibility.h"

namespace cq::win32 {

class ConnectObject final : public AddInObject<Connect> {
  public:
    ConnectObject();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override;
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, int ConnectMode,
                                           IDispatch* AddInInst, SAFEARRAY** custom) override;

  private:
    // The IRibbonExtensibility face: IUnknown goes to the object, IDispatch
    // to the object with the ribbon's id space.
    class RibbonFace final : public IRibbonExtensibility {
      public:
        explicit RibbonFace(ConnectObject& outer) : outer_(outer) {}

        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                                DISPID* ids) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags,
                                         DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                         UINT* argError) override;
        HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) override;

      private:
        ConnectObject& outer_;
    };

    ~ConnectObject() override = default;

    HRESULT idsOfNames(DispatchFace face, REFIID riid, LPOLESTR* names, UINT count, DISPID* ids);
    HRESULT invoke(DispatchFace face, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError);
    // Runs one of the members of ConnectMembers.h; throws on failure.
    void runMember(const ConnectMember& member, const DISPPARAMS& params, VARIANT* result);
    HRESULT getCustomUI(BSTR RibbonID, BSTR* RibbonXml);

    RibbonFace ribbon_{*this};
};

}  // namespace cq::win32

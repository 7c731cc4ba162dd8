#pragma once
// The interfaces of "Chronoquill.Connect" besides IDTExtensibility2, as
// Chronoquill.idl declares them (their vtables follow its order and DISPIDs):
// IConnect, the default one (_Connect there): IDTExtensibility2, then the
// class's own members; and IRibbonExtensibility, through which Office 2007 asks
// for the ribbon markup. The MinGW headers do not declare the latter; its
// GetCustomUI has DISPID 1.

#include <windows.h>
#include <oaidl.h>

#include "common/win32/IDTExtensibility2.h"

namespace cq::win32 {

inline constexpr IID IID_IRibbonExtensibility = {
    0x000C0396, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IRibbonExtensibility : public IDispatch {
    // RibbonID: the window type ("Microsoft.Outlook.Mail.Compose", ...);
    // RibbonXml: the markup, allocated for the caller.
    virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) = 0;
};

struct IConnect : public IDTExtensibility2 {
    using Base = IDTExtensibility2;

    // The ribbon's IRibbonUI.
    virtual HRESULT STDMETHODCALLTYPE Ribbon_OnLoad(IDispatch* ribbon) = 0;
    // Ribbon callbacks; `control` is Office's IRibbonControl.
    virtual HRESULT STDMETHODCALLTYPE Button_Action(IDispatch* control) = 0;
    virtual HRESULT STDMETHODCALLTYPE Button_GetScreentip(IDispatch* control, BSTR* screentip) = 0;
    virtual HRESULT STDMETHODCALLTYPE Button_GetImage(IDispatch* control, IDispatch** image) = 0;
    virtual HRESULT STDMETHODCALLTYPE Button_GetLabel(IDispatch* control, BSTR* label) = 0;
    // The stamp for now and the tooltip text of its kind, written into the
    // two arguments; `done` is always True.
    virtual HRESULT STDMETHODCALLTYPE GetStamp(VARIANT* sStamp, VARIANT* sStampTooltip,
                                               VARIANT_BOOL* done) = 0;
};

}  // namespace cq::win32

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(cq::win32::IRibbonExtensibility, 0x000C0396, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00,
                0x00, 0x00, 0x00, 0x46)
__CRT_UUID_DECL(cq::win32::IConnect, 0x820034FF, 0x55A4, 0x4D51, 0xA6, 0x69, 0xC0, 0x90, 0x4E, 0x90,
                0xB4, 0xCB)
#endif

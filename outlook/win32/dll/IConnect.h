#pragma once
// The default interface of "Chronoquill.Connect" (_Connect in Chronoquill.idl,
// whose order and DISPIDs this vtable follows): Office's IDTExtensibility2,
// then the class's own members.

#include <windows.h>
#include <oaidl.h>

#include "common/win32/IDTExtensibility2.h"

namespace cq::win32 {

inline constexpr IID IID_IConnect = {
    0x820034FF, 0x55A4, 0x4D51, {0xA6, 0x69, 0xC0, 0x90, 0x4E, 0x90, 0xB4, 0xCB}};

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
__CRT_UUID_DECL(cq::win32::IConnect, 0x820034FF, 0x55A4, 0x4D51, 0xA6, 0x69, 0xC0, 0x90, 0x4E, 0x90,
                0xB4, 0xCB)
#endif

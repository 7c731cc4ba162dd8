#pragma once
// IRibbonExtensibility, the interface through which Office 2007 asks an add-in
// for its ribbon markup. The MinGW headers do not declare it. It is a dual
// interface: GetCustomUI follows IDispatch in the vtable (slot 7) and has
// DISPID 1 through IDispatch::Invoke, as Chronoquill.idl describes it.

#include <windows.h>
#include <oaidl.h>

namespace cq::win32 {

inline constexpr IID IID_IRibbonExtensibility = {
    0x000C0396, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IRibbonExtensibility : public IDispatch {
    // RibbonID: the window type ("Microsoft.Outlook.Mail.Compose", ...);
    // RibbonXml: the markup, allocated for the caller.
    virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) = 0;
};

}  // namespace cq::win32

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(cq::win32::IRibbonExtensibility, 0x000C0396, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00,
                0x00, 0x00, 0x00, 0x46)
#endif

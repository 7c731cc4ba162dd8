#pragma once
// IRibbonExtensibility as the scripted Outlook 2007 calls it: the Office
// ribbon interface, dual, with GetCustomUI in the first slot after IDispatch.

#include <windows.h>
#include <oaidl.h>

namespace cq::test::e2e {

inline constexpr IID IID_IRibbonExtensibility = {
    0x000C0396, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IRibbonExtensibility : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) = 0;
};

}  // namespace cq::test::e2e

#pragma once
// The floor of a cross-process GetStamp: a hand-written IDispatch with one
// method, Fill(first, second), that writes two fixed strings into its two
// by-reference BSTR arguments and answers True. No type library: calls take
// the same standard IDispatch marshaling as those of the add-in.

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "common/win32/ComObject.h"

namespace cq::bench {

class BareStampObject final : public win32::ComObject<IDispatch> {
  public:
    // Starts with one reference, the caller's.
    BareStampObject(std::wstring first, std::wstring second);

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                     UINT* argError) override;

  private:
    ~BareStampObject() override = default;

    std::wstring first_;
    std::wstring second_;
};

}  // namespace cq::bench

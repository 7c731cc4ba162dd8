#pragma once
// IDTExtensibility2 through IDispatch: the member names of DISPIDs 1 to 5 and
// an Invoke that unpacks DISPPARAMS and calls the vtable method. An add-in's
// own IDispatch hands these DISPIDs on to invokeExtensibility.

#include <windows.h>
#include <oaidl.h>

#include "common/win32/IDTExtensibility2.h"

namespace cq::win32 {

// The DISPID of the member `name` (letters compared without case), or
// DISPID_UNKNOWN.
DISPID extensibilityDispid(const OLECHAR* name) noexcept;

// Calls member `member` of `target` as IDispatch::Invoke would:
// - a method call (DISPATCH_METHOD in `flags`) with exactly the member's
//   arguments, by position (DISP_E_NONAMEDARGS, DISP_E_BADPARAMCOUNT);
// - objects as VT_DISPATCH or VT_UNKNOWN (also by reference), or empty,
//   null or missing for none; modes as anything that converts to VT_I4;
//   `custom` as an array of VARIANT by reference or by value, or empty, null
//   or missing for none (DISP_E_TYPEMISMATCH with `*argErr` set otherwise);
// - `*result` is left empty; the method's HRESULT is returned.
// DISP_E_MEMBERNOTFOUND for any other DISPID or a property access.
HRESULT invokeExtensibility(IDTExtensibility2& target, DISPID member, WORD flags,
                            DISPPARAMS* params, VARIANT* result, UINT* argErr) noexcept;

}  // namespace cq::win32

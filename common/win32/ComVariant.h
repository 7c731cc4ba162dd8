#pragma once
// Variant <-> VARIANT at the COM edge.
//
// VARIANT -> Variant: VT_EMPTY and VT_NULL are Empty; VT_ERROR
// DISP_E_PARAMNOTFOUND is Missing (any other VT_ERROR its code as a number);
// VT_BOOL; the integer types are integers (unsigned and 64-bit ones doubles
// when they do not fit 32 bits); VT_R4, VT_R8, VT_CY, VT_DATE and VT_DECIMAL
// are doubles; VT_BSTR is UTF-8 text;
// VT_DISPATCH and VT_UNKNOWN (asked for IDispatch) are objects. A by-reference
// VARIANT gives the value it refers to. Arrays and records are a type mismatch.
//
// Variant -> VARIANT: Empty VT_EMPTY, Missing VT_ERROR DISP_E_PARAMNOTFOUND,
// Boolean VT_BOOL, integer VT_I4, double VT_R8, text VT_BSTR, object
// VT_DISPATCH (a COM object travels as its own IDispatch; any other host object
// through the installed ObjectExporter). A by-reference Variant gives its
// target's value.

#include <windows.h>
#include <oaidl.h>

#include "common/host/Variant.h"

namespace cq::win32 {

// How an incoming IDispatch becomes a host object (wrapDispatch by default).
using ImportObject = Dispatch (*)(IDispatch* object);

Variant fromVariant(const VARIANT& value, ImportObject import = nullptr);

// Writes `value` into `out`, which must be empty or cleared; `out` then owns
// what it holds. Throws HostError when the value cannot cross.
void toVariant(const Variant& value, VARIANT& out);

// Stores `value` through the by-reference VARIANT `target` (VT_BYREF set),
// converted to the type it refers to; what was there before is freed.
// Throws HostError 13 or 6 when the value does not fit that type.
void storeThrough(VARIANT& target, const Variant& value);

// The IDispatch of an object handle, with a new reference (null for Nothing).
IDispatch* toIDispatch(const Dispatch& object);

}  // namespace cq::win32

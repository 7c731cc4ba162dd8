#include "common/win32/ComVariant.h"

#include <oleauto.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "common/HostError.h"
#include "common/Port.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ComError.h"
#include "common/win32/ComPtr.h"
#include "common/win32/ObjectExporter.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

[[noreturn]] void mismatch() { throw HostError(13, "Type mismatch"); }

Variant number(double d) {
    if (d >= std::numeric_limits<std::int32_t>::min() &&
        d <= std::numeric_limits<std::int32_t>::max() && d == std::trunc(d))
        return Variant(static_cast<std::int32_t>(d));
    return Variant(d);
}

// `value` (which may be by reference) converted to `type` by oleaut32's rules:
// numbers round half to even; error 6 when the value does not fit the type, 13
// when it cannot become one.
VARIANT converted(const VARIANT& value, VARTYPE type) {
    VARIANT out;
    VariantInit(&out);
    const HRESULT hr = VariantChangeType(&out, const_cast<VARIANT*>(&value), 0, type);
    if (FAILED(hr)) throw comError(hr);
    return out;
}

// The number types that a by-reference argument may refer to, with the size
// of their value.
constexpr std::pair<VARTYPE, std::size_t> kNumberTypes[] = {
    {VT_I1, 1},  {VT_UI1, 1},  {VT_I2, 2}, {VT_UI2, 2}, {VT_I4, 4},   {VT_INT, 4},
    {VT_UI4, 4}, {VT_UINT, 4}, {VT_R4, 4}, {VT_R8, 8},  {VT_DATE, 8}, {VT_CY, 8}};

Dispatch objectFrom(IDispatch* p, ImportObject import) {
    if (p == nullptr) return Dispatch();
    return import ? import(p) : wrapDispatch(p);
}

Dispatch objectFrom(IUnknown* u, ImportObject import) {
    if (u == nullptr) return Dispatch();
    ComPtr<IDispatch> d;
    if (FAILED(u->QueryInterface(IID_IDispatch, d.putVoid())) || !d) mismatch();
    return objectFrom(d.get(), import);
}

}  // namespace

Variant fromVariant(const VARIANT& value, ImportObject import) {
    const VARTYPE vt = value.vt;
    if ((vt & ~(VT_BYREF | VT_TYPEMASK)) != 0) mismatch();  // arrays, vectors, records
    if ((vt & VT_BYREF) && value.byref == nullptr) mismatch();
    if (vt == (VT_BYREF | VT_VARIANT)) return fromVariant(*value.pvarVal, import);
    ScopedVariant held;  // the value itself, also when it came by reference
    if (FAILED(VariantCopyInd(held.ptr(), const_cast<VARIANT*>(&value)))) mismatch();
    const VARIANT& v = held.get();
    switch (v.vt) {
        case VT_EMPTY:
        case VT_NULL:
            return Variant();
        case VT_ERROR:
            if (v.scode == DISP_E_PARAMNOTFOUND) return Variant::missing();
            return Variant(static_cast<std::int32_t>(v.scode));
        case VT_BOOL:
            return Variant(v.boolVal != VARIANT_FALSE);
        case VT_I1:
        case VT_UI1:
        case VT_I2:
        case VT_UI2:
        case VT_I4:
        case VT_INT:
        case VT_UI4:
        case VT_UINT:
        case VT_I8:
        case VT_UI8:
            return number(converted(v, VT_R8).dblVal);
        case VT_R4:
        case VT_R8:
        case VT_DATE:
        case VT_CY:
        case VT_DECIMAL:
            return Variant(converted(v, VT_R8).dblVal);
        case VT_BSTR:
            return Variant(fromBstr(v.bstrVal));
        case VT_DISPATCH:
            return Variant(objectFrom(v.pdispVal, import));
        case VT_UNKNOWN:
            return Variant(objectFrom(v.punkVal, import));
        default:
            mismatch();
    }
}

void toVariant(const Variant& value, VARIANT& out) {
    const Variant& v = value.target();
    VariantInit(&out);
    if (v.isEmpty()) return;
    if (v.isMissing()) {
        out.vt = VT_ERROR;
        out.scode = DISP_E_PARAMNOTFOUND;
    } else if (v.isBool()) {
        out.vt = VT_BOOL;
        out.boolVal = v.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (v.isInteger()) {
        out.vt = VT_I4;
        out.lVal = v.toInt();
    } else if (v.isNumber()) {
        out.vt = VT_R8;
        out.dblVal = v.toDouble();
    } else if (v.isString()) {
        out.bstrVal = toBstr(v.toString());
        out.vt = VT_BSTR;
    } else if (v.isObject()) {
        out.pdispVal = toIDispatch(v.toObject());
        out.vt = VT_DISPATCH;
    } else {
        mismatch();
    }
}

void storeThrough(VARIANT& target, const Variant& value) {
    if ((target.vt & VT_BYREF) == 0 || target.byref == nullptr) mismatch();
    const VARTYPE vt = target.vt & ~VT_BYREF;
    switch (vt) {
        case VT_VARIANT: {
            VARIANT& inner = *target.pvarVal;
            if (inner.vt & VT_BYREF) return storeThrough(inner, value);
            VARIANT fresh;
            toVariant(value, fresh);  // holds nothing when it throws
            VariantClear(&inner);
            inner = fresh;
            return;
        }
        case VT_BSTR: {
            BSTR b = toBstr(value.toString());
            SysFreeString(*target.pbstrVal);
            *target.pbstrVal = b;
            return;
        }
        case VT_BOOL:
            *target.pboolVal = value.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
            return;
        case VT_DISPATCH:
        case VT_UNKNOWN: {
            // Both slots hold one interface pointer; an IDispatch is an IUnknown.
            IDispatch* p = toIDispatch(value.toObject());
            if (*target.ppunkVal) (*target.ppunkVal)->Release();
            *target.ppunkVal = p;
            return;
        }
        case VT_ERROR:
            *target.pscode = value.isMissing() ? DISP_E_PARAMNOTFOUND : value.toInt();
            return;
    }
    for (const auto& [type, size] : kNumberTypes) {
        if (type != vt) continue;
        VARIANT number;
        number.vt = VT_R8;
        number.dblVal = value.toDouble();
        // Not every oleaut32 refuses NaN for an integer.
        if (std::isnan(number.dblVal)) throw HostError(6, "Overflow");
        const VARIANT out = converted(number, type);
        std::memcpy(target.byref, &out.lVal, size);  // numbers own nothing to free
        return;
    }
    mismatch();
}

IDispatch* toIDispatch(const Dispatch& object) {
    if (!object) return nullptr;
    if (auto* com = dynamic_cast<ComDispatch*>(object.get())) {
        com->get()->AddRef();
        return com->get();
    }
    if (!Port<ObjectExporter>::installed()) throw comError(E_NOINTERFACE);
    return Port<ObjectExporter>::get().exportObject(*object.get());
}

}  // namespace cq::win32

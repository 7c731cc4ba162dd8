#include "common/win32/ComVariant.h"

#include <oleauto.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <string>

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

// Variant offers no test for "holds an integer", but a Variant compares equal
// only to a Variant of the same kind: an integer equals the integer made from
// its own value, a double never equals an integer.
bool holdsInteger(const Variant& v) {
    if (!v.isNumber()) return false;
    double d = v.toDouble();
    if (!(d >= std::numeric_limits<std::int32_t>::min() &&
          d <= std::numeric_limits<std::int32_t>::max()))
        return false;
    return v == Variant(static_cast<std::int32_t>(d));
}

Variant number(double d) {
    if (d >= std::numeric_limits<std::int32_t>::min() &&
        d <= std::numeric_limits<std::int32_t>::max() && d == std::trunc(d))
        return Variant(static_cast<std::int32_t>(d));
    return Variant(d);
}

// A value rounded to the integer type T, or error 6 when it does not fit.
template <class T>
T narrowed(const Variant& value) {
    double d = std::nearbyint(value.toDouble());
    if (!(d >= static_cast<double>(std::numeric_limits<T>::min()) &&
          d <= static_cast<double>(std::numeric_limits<T>::max())))
        throw HostError(6, "Overflow");
    return static_cast<T>(d);
}

BSTR allocBstr(const std::string& text) {
    std::wstring wide = toWide(text);
    BSTR b = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (b == nullptr) throw std::bad_alloc();
    return b;
}

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
    const bool ref = (vt & VT_BYREF) != 0;
    if (ref && value.byref == nullptr) mismatch();
#define CQ_FIELD(field, pointer) (ref ? *value.pointer : value.field)
    switch (vt & VT_TYPEMASK) {
        case VT_EMPTY:
        case VT_NULL:
            return Variant();
        case VT_VARIANT:
            if (!ref) mismatch();
            return fromVariant(*value.pvarVal, import);
        case VT_ERROR: {
            SCODE code = CQ_FIELD(scode, pscode);
            if (code == DISP_E_PARAMNOTFOUND) return Variant::missing();
            return Variant(static_cast<std::int32_t>(code));
        }
        case VT_BOOL:
            return Variant(CQ_FIELD(boolVal, pboolVal) != VARIANT_FALSE);
        case VT_I1:
            return Variant(static_cast<std::int32_t>(CQ_FIELD(cVal, pcVal)));
        case VT_UI1:
            return Variant(static_cast<std::int32_t>(CQ_FIELD(bVal, pbVal)));
        case VT_I2:
            return Variant(static_cast<std::int32_t>(CQ_FIELD(iVal, piVal)));
        case VT_UI2:
            return Variant(static_cast<std::int32_t>(CQ_FIELD(uiVal, puiVal)));
        case VT_I4:
            return Variant(static_cast<std::int32_t>(CQ_FIELD(lVal, plVal)));
        case VT_INT:
            return Variant(static_cast<std::int32_t>(CQ_FIELD(intVal, pintVal)));
        case VT_UI4:
            return number(static_cast<double>(CQ_FIELD(ulVal, pulVal)));
        case VT_UINT:
            return number(static_cast<double>(CQ_FIELD(uintVal, puintVal)));
        case VT_I8:
            return number(static_cast<double>(CQ_FIELD(llVal, pllVal)));
        case VT_UI8:
            return number(static_cast<double>(CQ_FIELD(ullVal, pullVal)));
        case VT_R4:
            return Variant(static_cast<double>(CQ_FIELD(fltVal, pfltVal)));
        case VT_R8:
            return Variant(CQ_FIELD(dblVal, pdblVal));
        case VT_DATE:
            return Variant(static_cast<double>(CQ_FIELD(date, pdate)));
        case VT_CY:
            return Variant(static_cast<double>(CQ_FIELD(cyVal, pcyVal).int64) / 10000.0);
        case VT_DECIMAL: {
            double d = 0;
            DECIMAL dec = ref ? *value.pdecVal : value.decVal;
            if (FAILED(VarR8FromDec(&dec, &d))) mismatch();
            return Variant(d);
        }
        case VT_BSTR: {
            BSTR b = CQ_FIELD(bstrVal, pbstrVal);
            return Variant(b ? fromWide(std::wstring_view(b, SysStringLen(b))) : std::string());
        }
        case VT_DISPATCH:
            return Variant(objectFrom(CQ_FIELD(pdispVal, ppdispVal), import));
        case VT_UNKNOWN:
            return Variant(objectFrom(CQ_FIELD(punkVal, ppunkVal), import));
        default:
            mismatch();
    }
#undef CQ_FIELD
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
    } else if (holdsInteger(v)) {
        out.vt = VT_I4;
        out.lVal = v.toInt();
    } else if (v.isNumber()) {
        out.vt = VT_R8;
        out.dblVal = v.toDouble();
    } else if (v.isString()) {
        out.bstrVal = allocBstr(v.toString());
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
    switch (target.vt & ~VT_BYREF) {
        case VT_VARIANT: {
            VARIANT& inner = *target.pvarVal;
            if (inner.vt & VT_BYREF) return storeThrough(inner, value);
            ScopedVariant converted;
            toVariant(value, converted.get());
            VariantClear(&inner);
            inner = converted.release();
            return;
        }
        case VT_BSTR: {
            BSTR b = allocBstr(value.toString());
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
        case VT_I1:
            *target.pcVal = narrowed<signed char>(value);
            return;
        case VT_UI1:
            *target.pbVal = narrowed<unsigned char>(value);
            return;
        case VT_I2:
            *target.piVal = narrowed<SHORT>(value);
            return;
        case VT_UI2:
            *target.puiVal = narrowed<USHORT>(value);
            return;
        case VT_I4:
            *target.plVal = narrowed<LONG>(value);
            return;
        case VT_INT:
            *target.pintVal = narrowed<INT>(value);
            return;
        case VT_UI4:
            *target.pulVal = narrowed<ULONG>(value);
            return;
        case VT_UINT:
            *target.puintVal = narrowed<UINT>(value);
            return;
        case VT_R4:
            *target.pfltVal = static_cast<float>(value.toDouble());
            return;
        case VT_R8:
            *target.pdblVal = value.toDouble();
            return;
        case VT_DATE:
            *target.pdate = value.toDouble();
            return;
        case VT_CY: {
            double scaled = std::nearbyint(value.toDouble() * 10000.0);
            if (!(scaled >= -9.2e18 && scaled <= 9.2e18)) throw HostError(6, "Overflow");
            target.pcyVal->int64 = static_cast<LONGLONG>(scaled);
            return;
        }
        case VT_ERROR:
            *target.pscode = value.isMissing() ? DISP_E_PARAMNOTFOUND : value.toInt();
            return;
        default:
            mismatch();
    }
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

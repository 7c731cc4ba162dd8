// Values and failures at the COM edge: VARIANT <-> Variant, writing through
// by-reference VARIANTs, HRESULT <-> error numbers.

#include "common/HostError.h"
#include "common/win32/ComError.h"
#include "common/win32/ComPtr.h"
#include "common/win32/ComVariant.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>

namespace cq::win32 {
namespace {

VARIANT make(VARTYPE vt, std::function<void(VARIANT&)> fill) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    fill(v);
    return v;
}

TEST(ComVariant, ReadsEveryScalarKind) {
    BSTR text = SysAllocString(L"Gr\u00FC\u00DFe \u20AC \xD834\xDD1E");
    struct Case {
        const char* what;
        VARIANT in;
        Variant expected;
    };
    DECIMAL dec{};
    VarDecFromR8(2.5, &dec);
    VARIANT decimal;
    VariantInit(&decimal);
    decimal.decVal = dec;
    decimal.vt = VT_DECIMAL;
    const Case cases[] = {
        {"empty", make(VT_EMPTY, [](VARIANT&) {}), Variant()},
        {"null", make(VT_NULL, [](VARIANT&) {}), Variant()},
        {"missing", make(VT_ERROR, [](VARIANT& v) { v.scode = DISP_E_PARAMNOTFOUND; }),
         Variant::missing()},
        {"error code", make(VT_ERROR, [](VARIANT& v) { v.scode = E_FAIL; }),
         Variant(std::int32_t{-2147467259})},
        {"true", make(VT_BOOL, [](VARIANT& v) { v.boolVal = VARIANT_TRUE; }), Variant(true)},
        {"false", make(VT_BOOL, [](VARIANT& v) { v.boolVal = VARIANT_FALSE; }), Variant(false)},
        {"i1", make(VT_I1, [](VARIANT& v) { v.cVal = -5; }), Variant(std::int32_t{-5})},
        {"ui1", make(VT_UI1, [](VARIANT& v) { v.bVal = 200; }), Variant(std::int32_t{200})},
        {"i2", make(VT_I2, [](VARIANT& v) { v.iVal = -300; }), Variant(std::int32_t{-300})},
        {"ui2", make(VT_UI2, [](VARIANT& v) { v.uiVal = 65535; }), Variant(std::int32_t{65535})},
        {"i4", make(VT_I4, [](VARIANT& v) { v.lVal = 43; }), Variant(std::int32_t{43})},
        {"int", make(VT_INT, [](VARIANT& v) { v.intVal = -1; }), Variant(std::int32_t{-1})},
        {"ui4 small", make(VT_UI4, [](VARIANT& v) { v.ulVal = 7; }), Variant(std::int32_t{7})},
        {"ui4 large", make(VT_UI4, [](VARIANT& v) { v.ulVal = 4000000000UL; }),
         Variant(4000000000.0)},
        {"i8", make(VT_I8, [](VARIANT& v) { v.llVal = -9; }), Variant(std::int32_t{-9})},
        {"r4", make(VT_R4, [](VARIANT& v) { v.fltVal = 0.5f; }), Variant(0.5)},
        {"r8", make(VT_R8, [](VARIANT& v) { v.dblVal = 11.0; }), Variant(11.0)},
        {"date", make(VT_DATE, [](VARIANT& v) { v.date = 45363.5; }), Variant(45363.5)},
        {"currency", make(VT_CY, [](VARIANT& v) { v.cyVal.int64 = 12345; }), Variant(1.2345)},
        {"decimal", decimal, Variant(2.5)},
        {"text", make(VT_BSTR, [&](VARIANT& v) { v.bstrVal = text; }),
         Variant("Grüße € \xF0\x9D\x84\x9E")},
        {"null text", make(VT_BSTR, [](VARIANT& v) { v.bstrVal = nullptr; }), Variant("")},
        {"Nothing", make(VT_DISPATCH, [](VARIANT& v) { v.pdispVal = nullptr; }),
         Variant(Dispatch())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(fromVariant(c.in), c.expected);
        // The same value by reference, inside a by-reference VARIANT.
        if (c.in.vt != VT_EMPTY && c.in.vt != VT_NULL && c.in.vt != VT_DECIMAL) {
            VARIANT copy = c.in;
            VARIANT ref;
            ref.vt = VT_BYREF | c.in.vt;
            ref.byref = &copy.lVal;
            EXPECT_EQ(fromVariant(ref), c.expected);
            VARIANT outer;
            outer.vt = VT_BYREF | VT_VARIANT;
            outer.pvarVal = &copy;
            EXPECT_EQ(fromVariant(outer), c.expected);
        }
    }
    SysFreeString(text);
}

TEST(ComVariant, RefusesWhatHasNoVariant) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    VARIANT v;
    v.vt = VT_ARRAY | VT_VARIANT;
    v.parray = array;
    try {
        fromVariant(v);
        ADD_FAILURE() << "converted";
    } catch (const HostError& e) {
        EXPECT_EQ(e.number(), 13);
    }
    SafeArrayDestroy(array);
    VARIANT nullRef;
    nullRef.vt = VT_BYREF | VT_BSTR;
    nullRef.pbstrVal = nullptr;
    EXPECT_THROW(fromVariant(nullRef), HostError);
}

TEST(ComVariant, WritesEveryKind) {
    struct Case {
        Variant in;
        VARTYPE vt;
        std::function<bool(const VARIANT&)> holds;
    };
    const Case cases[] = {
        {Variant(), VT_EMPTY, [](const VARIANT&) { return true; }},
        {Variant::missing(), VT_ERROR,
         [](const VARIANT& v) { return v.scode == DISP_E_PARAMNOTFOUND; }},
        {Variant(true), VT_BOOL, [](const VARIANT& v) { return v.boolVal == VARIANT_TRUE; }},
        {Variant(false), VT_BOOL, [](const VARIANT& v) { return v.boolVal == VARIANT_FALSE; }},
        {Variant(std::int32_t{-7}), VT_I4, [](const VARIANT& v) { return v.lVal == -7; }},
        {Variant(7.0), VT_R8, [](const VARIANT& v) { return v.dblVal == 7.0; }},
        {Variant("\xE2\x82\xAC 1"), VT_BSTR,
         [](const VARIANT& v) { return std::wstring(v.bstrVal) == L"\u20AC 1"; }},
        {Variant(""), VT_BSTR,
         [](const VARIANT& v) { return v.bstrVal != nullptr && SysStringLen(v.bstrVal) == 0; }},
        {Variant(Dispatch()), VT_DISPATCH, [](const VARIANT& v) { return v.pdispVal == nullptr; }},
    };
    for (const Case& c : cases) {
        ScopedVariant out;
        toVariant(c.in, out.get());
        EXPECT_EQ(out.get().vt, c.vt);
        EXPECT_TRUE(c.holds(out.get()));
    }
    // A by-reference Variant gives its target's value.
    Variant target = "through";
    ScopedVariant out;
    toVariant(Variant::ref(target), out.get());
    ASSERT_EQ(out.get().vt, VT_BSTR);
    EXPECT_STREQ(out.get().bstrVal, L"through");
}

TEST(ComVariant, StoresThroughEveryReferenceType) {
    BSTR text = SysAllocString(L"old");
    VARIANT_BOOL flag = VARIANT_FALSE;
    LONG i4 = 0;
    SHORT i2 = 0;
    BYTE ui1 = 0;
    double r8 = 0;
    CY cy{};
    VARIANT inner;
    VariantInit(&inner);
    auto ref = [](VARTYPE vt, void* p) {
        VARIANT v;
        v.vt = VT_BYREF | vt;
        v.byref = p;
        return v;
    };
    VARIANT refs[] = {ref(VT_BSTR, &text), ref(VT_BOOL, &flag),    ref(VT_I4, &i4),
                      ref(VT_I2, &i2),     ref(VT_UI1, &ui1),      ref(VT_R8, &r8),
                      ref(VT_CY, &cy),     ref(VT_VARIANT, &inner)};
    storeThrough(refs[0], Variant("new \xE2\x82\xAC"));
    storeThrough(refs[1], Variant(true));
    storeThrough(refs[2], Variant(2.6));
    storeThrough(refs[3], Variant("-12"));
    storeThrough(refs[4], Variant(std::int32_t{255}));
    storeThrough(refs[5], Variant(std::int32_t{3}));
    storeThrough(refs[6], Variant(1.5));
    storeThrough(refs[7], Variant("in a variant"));
    EXPECT_STREQ(text, L"new \u20AC");
    EXPECT_EQ(flag, VARIANT_TRUE);
    EXPECT_EQ(i4, 3);
    EXPECT_EQ(i2, -12);
    EXPECT_EQ(ui1, 255);
    EXPECT_EQ(r8, 3.0);
    EXPECT_EQ(cy.int64, 15000);
    ASSERT_EQ(inner.vt, VT_BSTR);
    EXPECT_STREQ(inner.bstrVal, L"in a variant");
    // Halves round to the even neighbour, as in a script.
    for (auto [in, out] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}}) {
        storeThrough(refs[2], Variant(in));
        EXPECT_EQ(i4, out) << in;
    }

    // Values that do not fit the referenced type leave it as it was.
    struct Bad {
        VARIANT* target;
        Variant value;
        std::int32_t number;
    };
    const Bad bad[] = {{&refs[1], Variant("maybe"), 13},
                       {&refs[3], Variant(std::int32_t{40000}), 6},
                       {&refs[4], Variant(std::int32_t{-1}), 6},
                       {&refs[2], Variant(Dispatch()), 13},
                       {&refs[2], Variant(std::nan("")), 6}};
    for (const Bad& b : bad) {
        try {
            storeThrough(*b.target, b.value);
            ADD_FAILURE() << "stored";
        } catch (const HostError& e) {
            EXPECT_EQ(e.number(), b.number);
        }
    }
    EXPECT_EQ(flag, VARIANT_TRUE);
    EXPECT_EQ(i2, -12);
    EXPECT_EQ(ui1, 255);
    SysFreeString(text);
    VariantClear(&inner);
}

TEST(ComError, NumbersAsAScriptSeesThem) {
    struct Case {
        HRESULT hr;
        std::int32_t number;
    };
    const Case cases[] = {
        {static_cast<HRESULT>(0x800A01B6L), 438},
        {static_cast<HRESULT>(0x800A005BL), 91},
        {DISP_E_UNKNOWNNAME, 438},
        {DISP_E_MEMBERNOTFOUND, 438},
        {DISP_E_TYPEMISMATCH, 13},
        {DISP_E_PARAMNOTOPTIONAL, 449},
        {DISP_E_BADPARAMCOUNT, 450},
        {DISP_E_OVERFLOW, 6},
        {E_FAIL, -2147467259},
        {E_NOINTERFACE, -2147467262},
        {DISP_E_EXCEPTION, -2147352567},
    };
    for (const Case& c : cases) EXPECT_EQ(errorNumber(c.hr), c.number) << std::hex << c.hr;

    // Every number survives the trip through an HRESULT.
    for (std::int32_t n : {5, 13, 91, 438, 1004, 65535, -2147467259, -2147352567})
        EXPECT_EQ(errorNumber(errorHresult(n)), n) << n;
    EXPECT_EQ(errorHresult(0), E_FAIL);
    EXPECT_EQ(errorHresult(70000), E_FAIL);
}

TEST(ComError, TheDescriptionComesFromTheExceptionInfo) {
    EXCEPINFO info{};
    info.scode = static_cast<HRESULT>(0x800A01A8L);
    info.bstrDescription = SysAllocString(L"Objekt erforderlich \u20AC");
    info.bstrSource = SysAllocString(L"Outlook");
    HostError e = comError(DISP_E_EXCEPTION, &info);
    EXPECT_EQ(e.number(), 424);
    EXPECT_EQ(e.description(), "Objekt erforderlich \xE2\x82\xAC");
    EXPECT_EQ(info.bstrDescription, nullptr);  // freed

    EXCEPINFO coded{};
    coded.wCode = 1004;
    EXPECT_EQ(comError(DISP_E_EXCEPTION, &coded).number(), 1004);

    HostError plain = comError(E_NOINTERFACE);
    EXPECT_EQ(plain.number(), -2147467262);
    EXPECT_FALSE(plain.description().empty());
}

TEST(ComError, ExceptionsBecomeExceptionInfo) {
    EXCEPINFO info{};
    HRESULT hr = E_FAIL;
    try {
        throw HostError(91, "Object variable or With block variable not set");
    } catch (...) {
        hr = currentExceptionToHresult(&info);
    }
    EXPECT_EQ(hr, DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<unsigned long>(info.scode), 0x800A005BUL);
    EXPECT_STREQ(info.bstrDescription, L"Object variable or With block variable not set");
    SysFreeString(info.bstrDescription);

    try {
        throw std::runtime_error("broken");
    } catch (...) {
        hr = currentExceptionToHresult(nullptr);
    }
    EXPECT_EQ(hr, E_UNEXPECTED);
}

}  // namespace
}  // namespace cq::win32

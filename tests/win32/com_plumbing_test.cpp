// The in-process server plumbing on its own: the exception barrier, the class
// factory and DllGetClassObject, the module's object and lock counts, and
// IDTExtensibility2 through IDispatch.

#include "common/HostError.h"
#include "common/win32/ClassFactory.h"
#include "common/win32/ComBarrier.h"
#include "common/win32/ComModule.h"
#include "common/win32/ExtensibilityDispatch.h"
#include "common/win32/IDTExtensibility2.h"
#include "common/win32/ServerRegistration.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cq::win32 {
namespace {

// --- barrier -------------------------------------------------------------

struct BarrierCase {
    const char* what;
    std::function<HRESULT()> body;
    HRESULT expected;
};

class Barrier : public ::testing::TestWithParam<BarrierCase> {};

TEST_P(Barrier, AnswersWithAnHresult) {
    EXPECT_EQ(barrier(GetParam().body), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, Barrier,
    ::testing::Values(
        BarrierCase{"success", [] { return S_OK; }, S_OK},
        BarrierCase{"S_FALSE passes", [] { return S_FALSE; }, S_FALSE},
        BarrierCase{"failure code passes", [] { return DISP_E_MEMBERNOTFOUND; },
                    DISP_E_MEMBERNOTFOUND},
        BarrierCase{
            "HostError with a failure code",
            []() -> HRESULT { throw HostError(static_cast<std::int32_t>(E_NOINTERFACE), "x"); },
            E_NOINTERFACE},
        BarrierCase{"HostError with a script number",
                    []() -> HRESULT { throw HostError(438, "Object doesn't support"); }, E_FAIL},
        BarrierCase{"HostError with zero", []() -> HRESULT { throw HostError(0, "x"); }, E_FAIL},
        BarrierCase{"out of memory", []() -> HRESULT { throw std::bad_alloc(); }, E_OUTOFMEMORY},
        BarrierCase{"other exception", []() -> HRESULT { throw std::runtime_error("x"); },
                    E_UNEXPECTED},
        BarrierCase{"not an exception class", []() -> HRESULT { throw 42; }, E_UNEXPECTED}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(BarrierBody, WithoutResultIsSuccess) {
    bool ran = false;
    EXPECT_EQ(barrier([&] { ran = true; }), S_OK);
    EXPECT_TRUE(ran);
}

// --- class factory -------------------------------------------------------

// {0B1C2D3E-4F50-4617-8293-A4B5C6D7E8F9}
constexpr CLSID kTestClass = {
    0x0B1C2D3E, 0x4F50, 0x4617, {0x82, 0x93, 0xA4, 0xB5, 0xC6, 0xD7, 0xE8, 0xF9}};
constexpr CLSID kOtherClass = {
    0x0B1C2D3E, 0x4F50, 0x4617, {0x82, 0x93, 0xA4, 0xB5, 0xC6, 0xD7, 0xE8, 0xFA}};

class Counted final : public IUnknown {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

  private:
    ~Counted() = default;
    ModuleObject alive_;
    ULONG refs_ = 1;
};

HRESULT answersThenFails(REFIID iid, void** object) {
    HRESULT hr = createObject<Counted>(iid, object);
    if (SUCCEEDED(hr)) throw HostError(static_cast<std::int32_t>(E_ACCESSDENIED), "late failure");
    return hr;
}
HRESULT runsOutOfMemory(REFIID, void**) { throw std::bad_alloc(); }

const ServedClass kServed[] = {{kTestClass, &createObject<Counted>},
                               {kOtherClass, &answersThenFails}};

class Factory : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(ComModule::canUnloadNow(), S_OK); }
    void TearDown() override { EXPECT_EQ(ComModule::canUnloadNow(), S_OK); }

    IClassFactory* factory(const CLSID& clsid) {
        void* object = nullptr;
        EXPECT_EQ(getClassObject(kServed, clsid, IID_IClassFactory, &object), S_OK);
        return static_cast<IClassFactory*>(object);
    }
};

TEST_F(Factory, DllGetClassObjectAnswersOnlyItsClasses) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(kServed, IID_IDispatch, IID_IClassFactory, &object),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(getClassObject(kServed, kTestClass, IID_IDispatch, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(getClassObject(kServed, kTestClass, IID_IClassFactory, nullptr), E_POINTER);
    ASSERT_EQ(getClassObject(kServed, kTestClass, IID_IUnknown, &object), S_OK);
    static_cast<IUnknown*>(object)->Release();
}

TEST_F(Factory, MakesObjectsAndCountsThem) {
    IClassFactory* f = factory(kTestClass);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ComModule::canUnloadNow(), S_FALSE) << "the factory itself keeps the module";
    IUnknown* object = nullptr;
    ASSERT_EQ(f->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    f->Release();
    EXPECT_EQ(ComModule::objects(), 1);
    EXPECT_EQ(ComModule::canUnloadNow(), S_FALSE);
    object->Release();
    EXPECT_EQ(ComModule::objects(), 0);
}

TEST_F(Factory, RefusesAggregationAndUnknownInterfaces) {
    IClassFactory* f = factory(kTestClass);
    ASSERT_NE(f, nullptr);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(f->CreateInstance(f, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IDispatch, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
    f->Release();
    EXPECT_EQ(ComModule::objects(), 0);
}

TEST_F(Factory, ACreatorThatThrowsLeavesNoObject) {
    IClassFactory* f = factory(kOtherClass);
    ASSERT_NE(f, nullptr);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IUnknown, &object), E_ACCESSDENIED);
    EXPECT_EQ(object, nullptr);
    f->Release();
    EXPECT_EQ(ComModule::objects(), 0);

    ClassFactory* bare = new ClassFactory(&runsOutOfMemory);
    EXPECT_EQ(bare->CreateInstance(nullptr, IID_IUnknown, &object), E_OUTOFMEMORY);
    bare->Release();
}

TEST_F(Factory, LockServerKeepsTheModule) {
    IClassFactory* f = factory(kTestClass);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->LockServer(TRUE), S_OK);
    EXPECT_EQ(f->LockServer(TRUE), S_OK);
    f->Release();
    EXPECT_EQ(ComModule::locks(), 2);
    EXPECT_EQ(ComModule::canUnloadNow(), S_FALSE);
    ComModule::unlock();
    EXPECT_EQ(ComModule::canUnloadNow(), S_FALSE);
    ComModule::unlock();
    EXPECT_EQ(ComModule::canUnloadNow(), S_OK);
    // An unlock too many does not leave the count below zero.
    ComModule::unlock();
    ComModule::lock();
    EXPECT_EQ(ComModule::canUnloadNow(), S_FALSE);
    ComModule::unlock();
}

// --- IDTExtensibility2 through IDispatch ---------------------------------

// Records the calls that reach the vtable.
class Recorder final : public IDTExtensibility2 {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* app, int mode, IDispatch* inst,
                                           SAFEARRAY** custom) override {
        return record("OnConnection", custom, app, mode, inst);
    }
    HRESULT STDMETHODCALLTYPE OnDisconnection(int mode, SAFEARRAY** custom) override {
        return record("OnDisconnection", custom, nullptr, mode);
    }
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override {
        return record("OnAddInsUpdate", custom);
    }
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override {
        return record("OnStartupComplete", custom);
    }
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override {
        if (throws) throw std::runtime_error("inside the add-in");
        return record("OnBeginShutdown", custom);
    }

    std::string call;
    IDispatch* application = nullptr;
    IDispatch* addInInst = nullptr;
    int mode = -1;
    SAFEARRAY** custom = nullptr;
    SAFEARRAY* array = nullptr;
    bool throws = false;

  private:
    HRESULT record(const char* name, SAFEARRAY** c, IDispatch* app = nullptr, int m = -1,
                   IDispatch* inst = nullptr) {
        call = name;
        custom = c;
        array = c ? *c : nullptr;
        application = app;
        mode = m;
        addInInst = inst;
        return S_FALSE;  // passed back unchanged
    }
};

TEST(ExtensibilityNames, AreFoundWithoutCase) {
    const struct {
        const wchar_t* name;
        DISPID id;
    } cases[] = {{L"OnConnection", 1},
                 {L"ONDISCONNECTION", 2},
                 {L"onaddinsupdate", 3},
                 {L"OnStartupComplete", 4},
                 {L"OnBeginShutdown", 5},
                 {L"OnConnectio", DISPID_UNKNOWN},
                 {L"OnConnectionX", DISPID_UNKNOWN},
                 {L"", DISPID_UNKNOWN}};
    for (const auto& c : cases) EXPECT_EQ(extensibilityDispid(c.name), c.id);
    EXPECT_EQ(extensibilityDispid(nullptr), DISPID_UNKNOWN);
}

VARIANT object(IDispatch* p) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = p;
    return v;
}
VARIANT i4(LONG n) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = n;
    return v;
}
VARIANT empty() {
    VARIANT v;
    VariantInit(&v);
    return v;
}
VARIANT missing() {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_ERROR;
    V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
    return v;
}

class ExtensibilityInvoke : public ::testing::Test {
  protected:
    ExtensibilityInvoke() {
        SAFEARRAYBOUND bound{1, 0};
        array = SafeArrayCreate(VT_VARIANT, 1, &bound);
    }
    ~ExtensibilityInvoke() override { SafeArrayDestroy(array); }

    // Arguments in call order; DISPPARAMS holds them last first.
    HRESULT invoke(DISPID id, std::vector<VARIANT> args, WORD flags = DISPATCH_METHOD) {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        VARIANT result = i4(99);
        argErr = 77;
        HRESULT hr = invokeExtensibility(target, id, flags, &params, &result, &argErr);
        EXPECT_EQ(V_VT(&result), VT_EMPTY);
        return hr;
    }
    VARIANT arrayRef() {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_ARRAY | VT_VARIANT | VT_BYREF;
        V_ARRAYREF(&v) = &array;
        return v;
    }

    Recorder target;
    Recorder host;  // any IDispatch will do as the host's object
    SAFEARRAY* array = nullptr;
    UINT argErr = 0;
};

TEST_F(ExtensibilityInvoke, EveryMemberReachesItsVtableSlot) {
    const struct {
        DISPID id;
        const char* call;
        int arguments;
    } cases[] = {{1, "OnConnection", 4},
                 {2, "OnDisconnection", 2},
                 {3, "OnAddInsUpdate", 1},
                 {4, "OnStartupComplete", 1},
                 {5, "OnBeginShutdown", 1}};
    for (const auto& c : cases) {
        std::vector<VARIANT> args;
        if (c.id == 1) args = {object(&host), i4(ext_cm_Startup), object(nullptr)};
        if (c.id == 2) args = {i4(ext_dm_UserClosed)};
        args.push_back(arrayRef());
        ASSERT_EQ(static_cast<int>(args.size()), c.arguments);
        EXPECT_EQ(invoke(c.id, args), S_FALSE) << c.call;
        EXPECT_EQ(target.call, c.call);
        EXPECT_EQ(target.custom, &array) << c.call << ": the caller's own slot by reference";
    }
    // The last call's arguments in detail.
    ASSERT_EQ(invoke(1, {object(&host), i4(ext_cm_AfterStartup), object(&host), arrayRef()}),
              S_FALSE);
    EXPECT_EQ(target.application, &host);
    EXPECT_EQ(target.addInInst, &host);
    EXPECT_EQ(target.mode, ext_cm_AfterStartup);
}

TEST_F(ExtensibilityInvoke, ArgumentsOfOtherShapesAreAccepted) {
    IDispatch* hostPtr = &host;
    VARIANT byRefObject;
    VariantInit(&byRefObject);
    V_VT(&byRefObject) = VT_DISPATCH | VT_BYREF;
    V_DISPATCHREF(&byRefObject) = &hostPtr;
    VARIANT unknown;
    VariantInit(&unknown);
    V_VT(&unknown) = VT_UNKNOWN;
    V_UNKNOWN(&unknown) = nullptr;
    VARIANT shortMode;
    VariantInit(&shortMode);
    V_VT(&shortMode) = VT_I2;
    V_I2(&shortMode) = 2;
    VARIANT byValueArray;
    VariantInit(&byValueArray);
    V_VT(&byValueArray) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&byValueArray) = array;

    ASSERT_EQ(invoke(1, {byRefObject, shortMode, unknown, byValueArray}), S_FALSE);
    EXPECT_EQ(target.application, &host);
    EXPECT_EQ(target.addInInst, nullptr);
    EXPECT_EQ(target.mode, 2);
    ASSERT_NE(target.custom, nullptr);
    EXPECT_EQ(target.array, array);

    ASSERT_EQ(invoke(1, {empty(), i4(1), missing(), missing()}), S_FALSE);
    EXPECT_EQ(target.application, nullptr);
    ASSERT_NE(target.custom, nullptr) << "a missing array is a null array, not a null pointer";
    EXPECT_EQ(target.array, nullptr);
}

TEST_F(ExtensibilityInvoke, WrongCallsAreRefusedBeforeTheAddinSeesThem) {
    VARIANT text;
    VariantInit(&text);
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = SysAllocString(L"not a number");
    VARIANT wrongArray;
    VariantInit(&wrongArray);
    V_VT(&wrongArray) = VT_ARRAY | VT_BSTR;
    V_ARRAY(&wrongArray) = array;

    const struct {
        const char* what;
        DISPID id;
        std::vector<VARIANT> args;
        WORD flags;
        HRESULT expected;
        UINT argErr;
    } cases[] = {
        {"unknown member", 6, {arrayRef()}, DISPATCH_METHOD, DISP_E_MEMBERNOTFOUND, 77},
        {"property get", 4, {arrayRef()}, DISPATCH_PROPERTYGET, DISP_E_MEMBERNOTFOUND, 77},
        {"too few", 1, {object(&host), arrayRef()}, DISPATCH_METHOD, DISP_E_BADPARAMCOUNT, 77},
        {"too many", 4, {arrayRef(), arrayRef()}, DISPATCH_METHOD, DISP_E_BADPARAMCOUNT, 77},
        {"mode as text", 2, {text, arrayRef()}, DISPATCH_METHOD, DISP_E_TYPEMISMATCH, 1},
        {"number as object",
         1,
         {i4(1), i4(1), object(&host), arrayRef()},
         DISPATCH_METHOD,
         DISP_E_TYPEMISMATCH,
         3},
        {"array of strings", 3, {wrongArray}, DISPATCH_METHOD, DISP_E_TYPEMISMATCH, 0},
        {"number as array", 4, {i4(5)}, DISPATCH_METHOD, DISP_E_TYPEMISMATCH, 0},
    };
    for (const auto& c : cases) {
        target.call.clear();
        EXPECT_EQ(invoke(c.id, c.args, c.flags), c.expected) << c.what;
        EXPECT_EQ(argErr, c.argErr) << c.what;
        EXPECT_EQ(target.call, "") << c.what;
    }
    VariantClear(&text);

    VARIANT named = arrayRef();
    DISPID namedId = 0;
    DISPPARAMS params{&named, &namedId, 1, 1};
    EXPECT_EQ(invokeExtensibility(target, 4, DISPATCH_METHOD, &params, nullptr, nullptr),
              DISP_E_NONAMEDARGS);
    EXPECT_EQ(invokeExtensibility(target, 4, DISPATCH_METHOD, nullptr, nullptr, nullptr),
              E_INVALIDARG);
}

TEST_F(ExtensibilityInvoke, AnExceptionOfTheAddinStaysInside) {
    target.throws = true;
    EXPECT_EQ(invoke(5, {arrayRef()}), E_UNEXPECTED);
}

// --- registration helpers ------------------------------------------------

TEST(ServerRegistration, GuidTextIsBracedUpperCase) {
    EXPECT_EQ(guidText(kTestClass), "{0B1C2D3E-4F50-4617-8293-A4B5C6D7E8F9}");
    EXPECT_EQ(guidText(IID_IDTExtensibility2), "{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}");
}

TEST(ServerRegistration, TheModulePathIsThisProgram) {
    wchar_t program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    EXPECT_EQ(ownModulePath(), program);
    EXPECT_EQ(registrablePath(L"C:\\Program Files\\Chronoquill\\x.dll"),
              "C:\\Program Files\\Chronoquill\\x.dll");
}

}  // namespace
}  // namespace cq::win32

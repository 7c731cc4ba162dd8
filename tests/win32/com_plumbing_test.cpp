// The in-process server plumbing on its own: the exception barrier, the class
// factory and DllGetClassObject, the module's object and lock counts, and
// IDTExtensibility2 through IDispatch.

#include "common/HostError.h"
#include "common/win32/ClassFactory.h"
#include "common/win32/ComError.h"
#include "common/win32/ComModule.h"
#include "common/win32/ComPtr.h"
#include "OfficeAddIn.h"
#include "common/win32/ServerRegistration.h"
#include "common/win32/Win32Module.h"

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
                    []() -> HRESULT { throw HostError(438, "Object doesn't support"); },
                    static_cast<HRESULT>(0x800A01B6)},
        BarrierCase{"HostError with zero", []() -> HRESULT { throw HostError(0, "x"); }, E_FAIL},
        BarrierCase{"out of memory", []() -> HRESULT { throw std::bad_alloc(); }, E_OUTOFMEMORY},
        BarrierCase{"other exception", []() -> HRESULT { throw std::runtime_error("x"); },
                    E_UNEXPECTED},
        BarrierCase{"not an exception class", []() -> HRESULT { throw 42; }, E_UNEXPECTED}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(BarrierBody, AFailureLeavesItsDescriptionWithTheThread) {
    EXPECT_EQ(barrier([] { throw HostError(13, "Type mismatch in the add-in"); }),
              static_cast<HRESULT>(0x800A000D));
    ComPtr<IErrorInfo> error;
    ASSERT_EQ(GetErrorInfo(0, error.put()), S_OK);
    BSTR description = nullptr;
    ASSERT_EQ(error->GetDescription(&description), S_OK);
    EXPECT_STREQ(description, L"Type mismatch in the add-in");
    SysFreeString(description);
}

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

// --- registration --------------------------------------------------------

TEST(ServerRegistration, GuidTextIsBracedUpperCase) {
    EXPECT_EQ(guidText(kTestClass), "{0B1C2D3E-4F50-4617-8293-A4B5C6D7E8F9}");
    EXPECT_EQ(guidText(__uuidof(IDTExtensibility2)), "{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}");
}

TEST(ServerRegistration, TheModulePathIsThisProgram) {
    wchar_t program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    EXPECT_EQ(modulePath(thisModule()), program);
    EXPECT_EQ(registrablePath(L"C:\\Program Files\\Chronoquill\\x.dll"),
              "C:\\Program Files\\Chronoquill\\x.dll");
}

}  // namespace
}  // namespace cq::win32

// The real Chronoquill.dll: registered with regsvr32, created by COM from its
// ProgID and driven like Outlook drives it, by the in-memory Outlook exported
// as COM objects. Also a copy of the DLL in a folder without LibQuintor.dll.

#include "common/host/CommandBars.h"
#include "common/win32/ComDispatch.h"
#include "common/win32/ComPtr.h"
#include "tests/hosts/ScopedBstr.h"
#include "OfficeAddIn.h"
#include "common/win32/Text.h"
#include "outlook/CInspectorWrapper.h"
#include "outlook/OutlookObjects.h"
#include "outlook/RibbonMarkup.h"
#include "Chronoquill.h"
#include "tests/doubles/FakeOutlook.h"
#include "tests/hosts/ComExport.h"
#include "tests/win32/MemberNames.h"
#include "tests/hosts/Regsvr32.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace cq::win32 {
namespace {

using test::ComExport;
using test::FakeInspector;
using test::FakeObject;
using test::FakeOffice;
using test::FakeOutlook;
using test::OutlookItem;
using test::ScopedBstr;

const wchar_t kProgId[] = L"Chronoquill.Connect";
const wchar_t kProgIdKey[] = L"Software\\Classes\\Chronoquill.Connect";
const wchar_t kAddinKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins\\Chronoquill.Connect";
const wchar_t kTooltipKey[] = L"Software\\Quintor\\Inkwell";

std::wstring windowsPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return toWide(path);
}

// The build's output folder, with Chronoquill.dll and LibQuintor.dll.
std::wstring addinFolder() { return windowsPath(CQ_OUTLOOK_ADDIN_DIR); }
std::wstring addinPath() { return addinFolder() + L"\\Chronoquill.dll"; }

std::wstring readText(HKEY root, const std::wstring& path, const wchar_t* name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return L"(missing)";
    return data;
}

DWORD readDword(HKEY root, const std::wstring& path, const wchar_t* name) {
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &data, &size) !=
        ERROR_SUCCESS)
        return 0xFFFFFFFF;
    return data;
}

bool keyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Runs regsvr32 with `arguments` and the add-in's path; its exit code.
DWORD regsvr32(const std::wstring& arguments) { return test::regsvr32(arguments, addinPath()); }

std::wstring registeredClsid() {
    return readText(HKEY_CURRENT_USER, kProgIdKey + std::wstring(L"\\CLSID"), L"");
}

// Wine 8 does not see per-user classes through HKEY_CLASSES_ROOT: the test
// copies the class and its ProgID to the machine's classes (the product
// itself writes only below HKEY_CURRENT_USER).
void mirrorToMachine(const std::wstring& path) {
    HKEY source = nullptr;
    HKEY target = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &source), ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &target, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCopyTreeW(source, nullptr, target), ERROR_SUCCESS);
    RegCloseKey(target);
    RegCloseKey(source);
}

using DllCanUnloadNowFn = HRESULT(WINAPI*)();
using DllGetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

HRESULT canUnloadNow(HMODULE module) {
    auto fn = reinterpret_cast<DllCanUnloadNowFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "DllCanUnloadNow")));
    return fn ? fn() : E_NOTIMPL;
}

// The add-in's controls still on an item window: temporary controls on the
// "Standard" toolbar and in the Insert menu.
int addinControls(const FakeInspector& w) {
    int n = 0;
    for (FakeObject* bar : {w.standardBar(), w.insertMenu()}) {
        if (bar == nullptr) continue;
        for (FakeObject* c : w.bars->controls(*bar))
            if (w.bars->isTemporary(*c) && !w.bars->isDeleted(*c)) ++n;
    }
    return n;
}

// GetStamp called by name from another apartment through the standard
// IDispatch marshaling (no type library), as Word calls it from its process.
struct RemoteStamp {
    IStream* stream = nullptr;  // the marshaled IDispatch
    HRESULT hr = E_FAIL;
    VARIANT_BOOL answer = VARIANT_FALSE;
    std::string stamp;
    std::string tooltip;
    DWORD thread = 0;
};

DWORD WINAPI callGetStamp(void* parameter) {
    auto& call = *static_cast<RemoteStamp*>(parameter);
    call.thread = GetCurrentThreadId();
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return 1;
    {
        ComPtr<IDispatch> object;
        call.hr = CoGetInterfaceAndReleaseStream(call.stream, IID_IDispatch, object.putVoid());
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR name[] = {const_cast<LPOLESTR>(L"GetStamp")};
        if (SUCCEEDED(call.hr)) call.hr = object->GetIDsOfNames(IID_NULL, name, 1, 0, &id);
        if (SUCCEEDED(call.hr)) {
            ScopedBstr stamp;
            ScopedBstr tooltip;
            VARIANT args[2];
            V_VT(&args[1]) = VT_BYREF | VT_BSTR;
            V_BSTRREF(&args[1]) = stamp.put();
            *V_BSTRREF(&args[1]) = SysAllocString(L"");
            V_VT(&args[0]) = VT_BYREF | VT_BSTR;
            V_BSTRREF(&args[0]) = tooltip.put();
            *V_BSTRREF(&args[0]) = SysAllocString(L"");
            DISPPARAMS params{args, nullptr, 2, 0};
            ScopedVariant result;
            call.hr = object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result.ptr(),
                                     nullptr, nullptr);
            if (V_VT(result.ptr()) == VT_BOOL) call.answer = V_BOOL(result.ptr());
            call.stamp = fromWide(stamp.get() ? stamp.get() : L"");
            call.tooltip = fromWide(tooltip.get() ? tooltip.get() : L"");
        }
    }
    CoUninitialize();
    return 0;
}

// One in-memory Outlook exported to COM, and the add-in object it loads.
class OutlookAddinDll : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(regsvr32(L"/s"), 0u);
        clsid_ = registeredClsid();
        ASSERT_EQ(clsid_.size(), 38u);
        mirrorToMachine(L"Software\\Classes\\CLSID\\" + clsid_);
        mirrorToMachine(kProgIdKey);
    }

    static void TearDownTestSuite() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\CLSID\\" + clsid_).c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProgIdKey);
        EXPECT_EQ(regsvr32(L"/u /s"), 0u);
    }

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        module_ = LoadLibraryW(addinPath().c_str());
        ASSERT_NE(module_, nullptr);
    }

    void TearDown() override {
        addin_.reset();
        outlook_.reset();
        EXPECT_EQ(office_.liveReferences(), 0) << office_.referenced();
        EXPECT_EQ(ComExport::live(), 0);
        EXPECT_EQ(ComDispatch::live(), 0);
        EXPECT_EQ(canUnloadNow(module_), S_OK);
        FreeLibrary(module_);
        CoUninitialize();
    }

    // Outlook of `version` with its main window, and the add-in created by ProgID.
    void start(int version) {
        outlook_ = std::make_unique<FakeOutlook>(office_, version);
        outlook_->addExplorer();
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromProgID(kProgId, &clsid), S_OK);
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(IDTExtensibility2), addin_.putVoid()),
                  S_OK);
    }

    // Outlook's calls, in Office's order; `custom` as Office passes it.
    void connect() {
        ComPtr<IDispatch> app =
            ComPtr<IDispatch>::adopt(exporter_.exportObject(outlook_->application));
        SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
        EXPECT_EQ(addin_->OnConnection(app.get(), ext_cm_Startup, nullptr, &custom), S_OK);
        EXPECT_EQ(addin_->OnStartupComplete(&custom), S_OK);
        SafeArrayDestroy(custom);
    }

    // As Outlook quits: its explorer windows close (the support library lets
    // go of its About entries), then the add-in is disconnected.
    void disconnect() {
        while (outlook_->activeExplorer) outlook_->closeExplorer(*outlook_->activeExplorer);
        SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
        EXPECT_EQ(addin_->OnBeginShutdown(&custom), S_OK);
        EXPECT_EQ(addin_->OnDisconnection(ext_dm_HostShutdown, &custom), S_OK);
        SafeArrayDestroy(custom);
        // Outlook lets go of what the add-in published when it unloads it.
        outlook_->addIn.set("Object", Variant());
    }

    // What the add-in published as COMAddIns.Item("Chronoquill.Connect").Object.
    Dispatch published() const { return outlook_->addIn.value("Object").toObject(); }

    Dispatch exported(FakeObject& object) { return adoptDispatch(exporter_.exportObject(object)); }

    static inline std::wstring clsid_;
    HMODULE module_ = nullptr;
    FakeOffice office_;
    ComExport exporter_;
    std::unique_ptr<FakeOutlook> outlook_;
    ComPtr<IDTExtensibility2> addin_;
};

TEST(OutlookAddinDllRegistration, Regsvr32WritesTheClassAndAddinKeysAndRemovesExactlyThem) {
    ASSERT_EQ(regsvr32(L"/s"), 0u);
    const std::wstring clsid = registeredClsid();
    const std::wstring classKey = L"Software\\Classes\\CLSID\\" + clsid;
    EXPECT_EQ(readText(HKEY_CURRENT_USER, classKey + L"\\ProgID", L""), kProgId);
    EXPECT_EQ(_wcsicmp(readText(HKEY_CURRENT_USER, classKey + L"\\InprocServer32", L"").c_str(),
                       addinPath().c_str()),
              0);
    EXPECT_EQ(readText(HKEY_CURRENT_USER, classKey + L"\\InprocServer32", L"ThreadingModel"),
              L"Apartment");
    EXPECT_EQ(readText(HKEY_CURRENT_USER, kAddinKey, L"FriendlyName"), L"Chronoquill");
    EXPECT_NE(readText(HKEY_CURRENT_USER, kAddinKey, L"Description"), L"(missing)");
    EXPECT_EQ(readDword(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior"), 3u);
    // The type library in the DLL, registered for the class and for this build's platform.
    const std::wstring libid = L"{9A5DB1D0-4380-4C18-83E4-D15DBE46A51A}";
    const std::wstring library = L"Software\\Classes\\TypeLib\\" + libid;
    EXPECT_EQ(readText(HKEY_CURRENT_USER, classKey + L"\\TypeLib", L""), libid);
    const wchar_t* platform = sizeof(void*) == 8 ? L"\\1.0\\0\\win64" : L"\\1.0\\0\\win32";
    EXPECT_EQ(
        _wcsicmp(readText(HKEY_CURRENT_USER, library + platform, L"").c_str(), addinPath().c_str()),
        0);

    ASSERT_EQ(regsvr32(L"/u /s"), 0u);
    for (const std::wstring& key :
         {classKey, std::wstring(kProgIdKey), std::wstring(kAddinKey), library})
        EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key)) << fromWide(key);
}

TEST_F(OutlookAddinDll, ConnectsPublishesItselfAndServesNewItemWindowsUntilDisconnected) {
    start(11);
    connect();

    // The published object is the add-in object itself.
    Dispatch self = published();
    ASSERT_TRUE(self);
    ComPtr<IUnknown> selfUnknown;
    ComPtr<IUnknown> addinUnknown;
    auto* selfDispatch = static_cast<IDispatch*>(self.rawInterface());
    ASSERT_EQ(selfDispatch->QueryInterface(IID_IUnknown, selfUnknown.putVoid()), S_OK);
    ASSERT_EQ(addin_->QueryInterface(IID_IUnknown, addinUnknown.putVoid()), S_OK);
    EXPECT_EQ(selfUnknown.get(), addinUnknown.get());
    self.reset();
    EXPECT_EQ(outlook_->inspectors.subscribers(ol::kInspectorsEvents), 1);

    struct Case {
        OutlookItem item;
        int controls;
    };
    const Case cases[] = {{OutlookItem::NewMail, 3},     {OutlookItem::SentMail, 0},
                          {OutlookItem::Note, 0},        {OutlookItem::WordMail, 0},
                          {OutlookItem::Appointment, 3}, {OutlookItem::Contact, 3}};
    office_.recording = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(test::toString(c.item));
        office_.log.clear();
        FakeInspector& w = outlook_->openInspector(c.item);
        EXPECT_EQ(addinControls(w), c.controls);
        // The faces of the button and the menu entry, pictures made from the
        // DLL's own bitmaps (a picture that could not be made is never put).
        for (const char* face : {"CommandBarButton.Picture", "CommandBarButton.Mask"})
            EXPECT_EQ(std::count(office_.log.begin(), office_.log.end(), face),
                      c.controls == 3 ? 2 : 0)
                << face;
    }

    // The new mail's stamp button listens for clicks; the marker follows it.
    const FakeInspector& mail = *outlook_->allInspectors().front();
    const std::vector<FakeObject*> standard = mail.bars->controls(*mail.standardBar());
    ASSERT_EQ(standard.size(), 4u);
    FakeObject& button = *standard[2];
    EXPECT_EQ(mail.bars->property(button, "TooltipText").toString(), "Insert date and time");
    EXPECT_EQ(button.subscribers(kCommandBarButtonEvents), 1);
    EXPECT_EQ(mail.bars->property(*standard[3], "Tag").toString(), kWrapperTag);
    EXPECT_EQ(canUnloadNow(module_), S_FALSE);

    // The support library beside the DLL has put its About entry on the
    // explorer's Help menu.
    FakeObject& explorer = *outlook_->activeExplorer;
    test::FakeCommandBars& explorerBars = outlook_->explorerBars(explorer);
    const FakeObject* about = explorerBars
                                  .controls(explorerBars.popupBar(
                                      *explorerBars.controls(*explorerBars.bar("Menu Bar")).back()))
                                  .back();
    EXPECT_EQ(explorerBars.property(*about, "Caption").toString(), "About Chronoquill...");

    disconnect();
    EXPECT_TRUE(explorerBars.isDeleted(*about));
    for (const auto& w : outlook_->allInspectors()) EXPECT_EQ(addinControls(*w), 0);
    EXPECT_EQ(outlook_->inspectors.subscribers(ol::kInspectorsEvents), 0);
}

TEST_F(OutlookAddinDll, GetStampByNameWritesBothStringsAndAnswersTrue) {
    start(11);
    connect();
    Dispatch self = published();
    ASSERT_TRUE(self);

    wchar_t today[64] = {};
    ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, today, 64), 0);
    // No settings file beside the DLL: the short date, then the time without seconds.
    const std::regex stampForm(
        std::regex_replace(fromWide(today), std::regex(R"([.^$|()\[\]*+?{}\\])"), R"(\$&)") +
        R"( \d\d:\d\d)");

    // As a script passes them: typed strings (VT_BSTR by reference) and untyped variables.
    for (Variant initial : {Variant(std::string("old")), Variant()}) {
        Variant sStamp = initial;
        Variant sStampTooltip = initial;
        const Variant answer =
            self.call("GetStamp", Variant::ref(sStamp), Variant::ref(sStampTooltip));
        ASSERT_TRUE(answer.isBool());
        EXPECT_TRUE(answer.toBool());
        ASSERT_TRUE(sStamp.isString());
        EXPECT_TRUE(std::regex_match(sStamp.toString(), stampForm)) << sStamp.toString();
        EXPECT_EQ(sStampTooltip.toString(), "Insert date and time");
    }
    self.reset();
    disconnect();
}

TEST_F(OutlookAddinDll, GetStampCrossesApartmentsThroughStandardDispatchMarshaling) {
    start(11);
    connect();
    Dispatch self = published();
    ASSERT_TRUE(self);

    RemoteStamp call;
    ASSERT_EQ(CoMarshalInterThreadInterfaceInStream(
                  IID_IDispatch, static_cast<IDispatch*>(self.rawInterface()), &call.stream),
              S_OK);
    HANDLE thread = CreateThread(nullptr, 0, &callGetStamp, &call, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    // The call is delivered on this thread, the add-in's apartment: serve it.
    for (;;) {
        const DWORD wait = MsgWaitForMultipleObjects(1, &thread, FALSE, 30000, QS_ALLINPUT);
        if (wait != WAIT_OBJECT_0 + 1) {
            EXPECT_EQ(wait, WAIT_OBJECT_0);
            break;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    CloseHandle(thread);

    EXPECT_NE(call.thread, GetCurrentThreadId());
    EXPECT_EQ(call.hr, S_OK);
    EXPECT_EQ(call.answer, VARIANT_TRUE);
    EXPECT_FALSE(call.stamp.empty());
    EXPECT_EQ(call.tooltip, "Insert date and time");
    self.reset();
    disconnect();
}

TEST_F(OutlookAddinDll, DispatchAnswersByNameAndRefusesWhatItDoesNotTake) {
    start(11);
    connect();
    Dispatch self = published();
    ASSERT_TRUE(self);
    auto* object = static_cast<IDispatch*>(self.rawInterface());

    // The type information names the class's members, in order, after
    // IDispatch's and IDTExtensibility2's.
    ComPtr<ITypeInfo> info;
    UINT infoCount = 0;
    EXPECT_EQ(object->GetTypeInfoCount(&infoCount), S_OK);
    EXPECT_EQ(infoCount, 1u);
    ASSERT_EQ(object->GetTypeInfo(0, 0, info.put()), S_OK);
    std::vector<std::string> members = test::memberNames(*info.get());
    ASSERT_GE(members.size(), 11u);
    members.erase(members.begin(), members.end() - 11);
    EXPECT_EQ(members,
              (std::vector<std::string>{"OnConnection", "OnDisconnection", "OnAddInsUpdate",
                                        "OnStartupComplete", "OnBeginShutdown", "Ribbon_OnLoad",
                                        "Button_Action", "Button_GetScreentip", "Button_GetImage",
                                        "Button_GetLabel", "GetStamp"}));
    info.reset();

    // Names, in the order of the public interface, after the five of IDTExtensibility2.
    const wchar_t* names[] = {
        L"OnConnection",    L"OnDisconnection", L"OnAddInsUpdate", L"OnStartupComplete",
        L"OnBeginShutdown", L"Ribbon_OnLoad",   L"Button_Action",  L"Button_GetScreentip",
        L"Button_GetImage", L"Button_GetLabel", L"GETSTAMP"};
    DISPID previous = 0;
    for (const wchar_t* name : names) {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR list[] = {const_cast<LPOLESTR>(name)};
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, list, 1, 0, &id), S_OK) << fromWide(name);
        EXPECT_GT(id, previous) << fromWide(name);
        previous = id;
    }
    for (const wchar_t* unknown : {L"GetCustomUI", L"Stamp", L""}) {
        DISPID id = 0;
        LPOLESTR list[] = {const_cast<LPOLESTR>(unknown)};
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, list, 1, 0, &id), DISP_E_UNKNOWNNAME);
        EXPECT_EQ(id, DISPID_UNKNOWN);
    }

    DISPID getStamp = 0;
    LPOLESTR getStampName[] = {const_cast<LPOLESTR>(L"GetStamp")};
    ASSERT_EQ(object->GetIDsOfNames(IID_NULL, getStampName, 1, 0, &getStamp), S_OK);

    // Through the type library: what COM's own dispatch answers. A refusal of
    // the add-in itself comes back as DISP_E_EXCEPTION with its code inside.
    struct Case {
        const char* what;
        DISPID id;
        WORD flags;
        VARTYPE first;  // type of the first argument (VT_BYREF | VT_BSTR fits)
        UINT args;
        UINT named;  // 2: both arguments by name, the second first
        bool nullIid;
        HRESULT expected;
        HRESULT inside;  // the add-in's own answer, with DISP_E_EXCEPTION
    };
    const WORD get = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    const Case cases[] = {
        {"fits", getStamp, DISPATCH_METHOD, VT_BYREF | VT_BSTR, 2, 0, true, S_OK, S_OK},
        {"as method or property get", getStamp, get, VT_BYREF | VT_BSTR, 2, 0, true, S_OK, S_OK},
        {"by name", getStamp, DISPATCH_METHOD, VT_BYREF | VT_BSTR, 2, 2, true, S_OK, S_OK},
        {"as property put", getStamp, DISPATCH_PROPERTYPUT, VT_BYREF | VT_BSTR, 2, 0, true,
         DISP_E_MEMBERNOTFOUND, S_OK},
        {"one argument", getStamp, DISPATCH_METHOD, VT_BYREF | VT_BSTR, 1, 0, true,
         DISP_E_BADPARAMCOUNT, S_OK},
        {"integer by reference", getStamp, DISPATCH_METHOD, VT_BYREF | VT_I4, 2, 0, true,
         DISP_E_EXCEPTION, DISP_E_TYPEMISMATCH},
        {"interface id", getStamp, DISPATCH_METHOD, VT_BYREF | VT_BSTR, 2, 0, false,
         DISP_E_UNKNOWNINTERFACE, S_OK},
        {"unknown member", 0x6003FFFF, DISPATCH_METHOD, VT_BYREF | VT_BSTR, 2, 0, true,
         DISP_E_MEMBERNOTFOUND, S_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BSTR text[2] = {nullptr, nullptr};
        LONG number = 0;
        VARIANT args[2];
        for (VARIANT& a : args) VariantInit(&a);
        // By position rgvarg[1] is the first argument and rgvarg[0] the second;
        // by name the other way round (rgvarg[0] named sStamp, rgvarg[1]
        // sStampTooltip), so that names that were not heeded would show.
        const int first = c.named ? 0 : 1;
        V_VT(&args[first]) = c.first;
        if (c.first == (VT_BYREF | VT_I4))
            V_I4REF(&args[first]) = &number;
        else
            V_BSTRREF(&args[first]) = &text[0];
        V_VT(&args[1 - first]) = VT_BYREF | VT_BSTR;
        V_BSTRREF(&args[1 - first]) = &text[1];
        DISPID namedIds[] = {0, 1};
        DISPPARAMS params{c.args == 2 ? args : args + 1, c.named ? namedIds : nullptr, c.args,
                          c.named};
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO exception{};
        UINT argError = 99;
        const IID iid = c.nullIid ? IID_NULL : IID_IDispatch;
        EXPECT_EQ(object->Invoke(c.id, iid, 0, c.flags, &params, &result, &exception, &argError),
                  c.expected);
        if (c.expected == DISP_E_EXCEPTION) {
            EXPECT_EQ(exception.scode, c.inside);
        }
        if (c.expected == S_OK) {
            EXPECT_EQ(V_VT(&result), VT_BOOL);
            EXPECT_EQ(V_BOOL(&result), VARIANT_TRUE);
            EXPECT_GT(SysStringLen(text[0]), 0u);
            EXPECT_EQ(fromWide(text[1] ? text[1] : L""), "Insert date and time");
        } else {
            EXPECT_EQ(text[1], nullptr) << "a refused call writes nothing";
        }
        VariantClear(&result);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrHelpFile);
        SysFreeString(text[0]);
        SysFreeString(text[1]);
    }
    self.reset();
    disconnect();
}

TEST_F(OutlookAddinDll, Outlook2007GetsRibbonMarkupAndCallbacksInsteadOfItemWindowButtons) {
    start(12);
    connect();

    ComPtr<IRibbonExtensibility> ribbon;
    ASSERT_EQ(addin_->QueryInterface(__uuidof(IRibbonExtensibility), ribbon.putVoid()), S_OK);
    ComPtr<IUnknown> ribbonUnknown;
    ComPtr<IUnknown> addinUnknown;
    ASSERT_EQ(ribbon->QueryInterface(IID_IUnknown, ribbonUnknown.putVoid()), S_OK);
    ASSERT_EQ(addin_->QueryInterface(IID_IUnknown, addinUnknown.putVoid()), S_OK);
    EXPECT_EQ(ribbonUnknown.get(), addinUnknown.get());

    // Through the vtable and by name through the ribbon face (GetCustomUI is its DISPID 1).
    Dispatch byName = wrapDispatch(ribbon.get());
    EXPECT_TRUE(byName == published()) << "two faces of one object are one object";
    struct Case {
        const wchar_t* ribbonId;
        const char* tab;  // null: no markup
    };
    const Case cases[] = {{L"Microsoft.Outlook.Mail.Compose", "TabNewMailMessage"},
                          {L"Microsoft.Outlook.Task", "TabTask"},
                          {L"Microsoft.Outlook.Mail.Read", nullptr},
                          {L"microsoft.outlook.mail.compose", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(fromWide(c.ribbonId));
        ScopedBstr id(SysAllocString(c.ribbonId));
        ScopedBstr markup;
        ASSERT_EQ(ribbon->GetCustomUI(id.get(), markup.put()), S_OK);
        const std::string text = fromWide(markup.get() ? markup.get() : L"");
        if (c.tab) {
            EXPECT_NE(text.find(std::string("<tab idMso=\"") + c.tab + "\">"), std::string::npos);
        } else {
            EXPECT_EQ(text, "");
        }
        EXPECT_EQ(byName.call("GetCustomUI", fromWide(c.ribbonId)).toString(), text);
    }
    LPOLESTR name[] = {const_cast<LPOLESTR>(L"GetCustomUI")};
    DISPID id = 0;
    EXPECT_EQ(ribbon->GetIDsOfNames(IID_NULL, name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 1);
    byName.reset();

    // Callbacks by the names the markup gives, with Outlook's ribbon objects.
    Dispatch self = published();
    ASSERT_TRUE(self);
    self.call("Ribbon_OnLoad", exported(outlook_->ribbonUI));
    Dispatch stampButton = exported(outlook_->ribbonControl(std::string(kStampButtonId)));
    Dispatch other = exported(outlook_->ribbonControl("Other.Button"));
    EXPECT_EQ(self.call("Button_GetLabel", stampButton).toString(), "Date Time");
    EXPECT_EQ(self.call("Button_GetScreentip", stampButton).toString(), "Insert date and time");
    EXPECT_EQ(self.call("Button_GetLabel", other).toString(), "");

    const Variant image = self.call("Button_GetImage", stampButton);
    ASSERT_TRUE(image.isObject());
    ComPtr<IPicture> picture;
    auto* imageDispatch = static_cast<IDispatch*>(image.toObject().rawInterface());
    ASSERT_EQ(imageDispatch->QueryInterface(IID_IPicture, picture.putVoid()), S_OK);
    SHORT type = 0;
    OLE_XSIZE_HIMETRIC width = 0;
    EXPECT_EQ(picture->get_Type(&type), S_OK);
    EXPECT_EQ(type, PICTYPE_ICON);
    EXPECT_EQ(picture->get_Width(&width), S_OK);
    EXPECT_EQ(MulDiv(width, 96, 2540), 32);  // 32 pixels
    EXPECT_FALSE(self.call("Button_GetImage", other).toObject());

    // No item window gets buttons: the ribbon serves them.
    FakeInspector& mail = outlook_->openInspector(OutlookItem::NewMail);
    EXPECT_EQ(addinControls(mail), 0);

    picture.reset();
    stampButton.reset();
    other.reset();
    self.reset();
    ribbon.reset();
    disconnect();
    EXPECT_EQ(outlook_->ribbonUI.refs(), 0);
}

TEST_F(OutlookAddinDll, WithoutTheSupportLibraryBesideItTheAddinStaysInert) {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder =
        std::wstring(temp) + L"cq_inert_" + std::to_wstring(GetCurrentProcessId());
    const std::wstring copy = folder + L"\\Chronoquill.dll";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(CopyFileW(addinPath().c_str(), copy.c_str(), FALSE));
    ASSERT_EQ(GetFileAttributesW((folder + L"\\LibQuintor.dll").c_str()), INVALID_FILE_ATTRIBUTES);

    HMODULE inert = LoadLibraryW(copy.c_str());
    ASSERT_NE(inert, nullptr);
    ASSERT_NE(inert, module_);
    {
        outlook_ = std::make_unique<FakeOutlook>(office_, 11);
        outlook_->addExplorer();
        auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(
            reinterpret_cast<void (*)()>(GetProcAddress(inert, "DllGetClassObject")));
        ASSERT_NE(getClassObject, nullptr);
        CLSID clsid{};
        ASSERT_EQ(CLSIDFromString(clsid_.c_str(), &clsid), S_OK);
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(getClassObject(clsid, IID_IClassFactory, factory.putVoid()), S_OK);
        ASSERT_EQ(factory->CreateInstance(nullptr, __uuidof(IDTExtensibility2), addin_.putVoid()),
                  S_OK);
        factory.reset();

        connect();
        EXPECT_FALSE(published());
        EXPECT_EQ(outlook_->inspectors.subscribers(ol::kInspectorsEvents), 0);
        EXPECT_EQ(outlook_->explorers.subscribers(ol::kExplorersEvents), 0);
        FakeInspector& mail = outlook_->openInspector(OutlookItem::NewMail);
        EXPECT_EQ(addinControls(mail), 0);
        disconnect();
        addin_.reset();
        EXPECT_EQ(office_.liveReferences(), 0) << office_.referenced();
        EXPECT_EQ(canUnloadNow(inert), S_OK);
    }
    FreeLibrary(inert);
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace cq::win32

// The real Chronoquill4W.dll under Wine: registered per user with regsvr32,
// created by its ProgID and connected to an in-memory Word exported as COM
// objects. Word and the add-in share this process.

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/win32/ComPtr.h"
#include "OfficeAddIn.h"
#include "common/win32/Text.h"
#include "tests/doubles/FakeWord.h"
#include "tests/hosts/ComExport.h"
#include "tests/win32/MemberNames.h"
#include "word/Connect.h"
#include "tests/hosts/Regsvr32.h"

namespace cq {
namespace {

using test::ComExport;
using test::FakeObject;
using test::FakeWord;
using win32::ComPtr;

constexpr const wchar_t* kProgId = L"Chronoquill4W.Connect";
constexpr const char* kClasses = "Software\\Classes";
constexpr const char* kProgIdKey = "Software\\Classes\\Chronoquill4W.Connect";
constexpr const char* kAddinKey =
    "Software\\Microsoft\\Office\\Word\\Addins\\Chronoquill4W.Connect";
constexpr const char* kTooltipKey = "Software\\Quintor\\Inkwell";
constexpr const char* kTypeLib = "{2BDC37CB-E69B-4B6B-828C-6076AE8E532B}";
constexpr const char* kTypeLibKey =
    "Software\\Classes\\TypeLib\\{2BDC37CB-E69B-4B6B-828C-6076AE8E532B}";
constexpr const char* kTooltip = "Insert time";

// --- the system around the DLL ----------------------------------------------

std::wstring dllPath() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L"\\/")) + L"\\Chronoquill4W.dll";
}

DWORD regsvr32(bool unregister) { return test::regsvr32(unregister ? L"/s /u" : L"/s", dllPath()); }

std::optional<std::string> readString(HKEY root, const std::string& key, const char* name) {
    char text[1024];
    DWORD size = sizeof text;
    if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(text);
}

std::optional<DWORD> readDword(HKEY root, const std::string& key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool keyExists(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

// The class keys of the registration, below HKEY_CURRENT_USER.
std::string classKey() {
    return std::string(kClasses) + "\\CLSID\\" +
           readString(HKEY_CURRENT_USER, std::string(kProgIdKey) + "\\CLSID", "").value_or("?");
}

// Wine 8 does not merge HKCU\Software\Classes into HKEY_CLASSES_ROOT: while it
// lives, this copies the add-in's class keys to HKLM\Software\Classes.
class MachineClassMirror {
  public:
    MachineClassMirror() : keys_{kProgIdKey, classKey()} {
        for (const std::string& key : keys_) copy(key);
    }
    ~MachineClassMirror() {
        for (const std::string& key : keys_) RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    }
    MachineClassMirror(const MachineClassMirror&) = delete;
    MachineClassMirror& operator=(const MachineClassMirror&) = delete;

  private:
    static void copy(const std::string& key) {
        HKEY from = nullptr;
        HKEY to = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &from) == ERROR_SUCCESS &&
            RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &to, nullptr) == ERROR_SUCCESS)
            RegCopyTreeA(from, nullptr, to);
        if (from) RegCloseKey(from);
        if (to) RegCloseKey(to);
    }

    std::vector<std::string> keys_;
};

// The user's "Tooltip" value set for the test and put back afterwards.
class TooltipValue {
  public:
    explicit TooltipValue(const std::string& value)
        : before_(readString(HKEY_CURRENT_USER, kTooltipKey, "Tooltip")) {
        set(value);
    }
    ~TooltipValue() {
        if (before_)
            set(*before_);
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kTooltipKey, "Tooltip");
    }
    TooltipValue(const TooltipValue&) = delete;
    TooltipValue& operator=(const TooltipValue&) = delete;

  private:
    static void set(const std::string& value) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kTooltipKey, "Tooltip", REG_SZ, value.c_str(),
                        static_cast<DWORD>(value.size() + 1));
    }
    std::optional<std::string> before_;
};

// The lines that the add-in appends to its log file while this object lives.
class LogWatch {
  public:
    LogWatch() : start_(read().size()) {}
    std::vector<std::string> newLines() const {
        std::vector<std::string> lines;
        std::istringstream text(read().substr(std::min(start_, read().size())));
        for (std::string line; std::getline(text, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

  private:
    static std::string read() {
        const std::string folder =
            readString(HKEY_CURRENT_USER,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                       "AppData")
                .value_or("");
        std::ifstream file(folder + "\\Quintor\\Inkwell\\WordAddin.log", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    std::size_t start_;
};

HRESULT canUnloadNow() {
    HMODULE dll = GetModuleHandleW(L"Chronoquill4W.dll");
    if (dll == nullptr) return E_FAIL;
    using Export = HRESULT(STDAPICALLTYPE*)();
    auto fn = reinterpret_cast<Export>(
        reinterpret_cast<void (*)()>(GetProcAddress(dll, "DllCanUnloadNow")));
    return fn ? fn() : E_FAIL;
}

// --- calls into the add-in --------------------------------------------------

VARIANT objectArg(IDispatch* object) {  // borrowed: never cleared
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = object;
    return v;
}

VARIANT intArg(int value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return v;
}

// The `custom` array as Office passes it: one element, 1 = started with its UI.
class Custom {
  public:
    Custom() : array_(SafeArrayCreateVector(VT_VARIANT, 0, 1)) {
        LONG index = 0;
        VARIANT how = intArg(1);
        SafeArrayPutElement(array_, &index, &how);
    }
    ~Custom() { SafeArrayDestroy(array_); }
    Custom(const Custom&) = delete;
    Custom& operator=(const Custom&) = delete;

    SAFEARRAY** slot() { return &array_; }
    VARIANT arg() {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_ARRAY | VT_VARIANT | VT_BYREF;
        V_ARRAYREF(&v) = &array_;
        return v;
    }

  private:
    SAFEARRAY* array_;
};

// A late-bound call: GetIDsOfNames, then Invoke with `args` in call order.
HRESULT callByName(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args,
                   VARIANT* result = nullptr, WORD flags = DISPATCH_METHOD) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::reverse(args.begin(), args.end());
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    EXCEPINFO info{};
    UINT argError = 0;
    hr =
        object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &info, &argError);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
    return hr;
}

// IsInitialized read by name; nothing when the call fails or is no Boolean.
std::optional<bool> isInitialized(IDispatch* addin) {
    win32::ScopedVariant result;
    if (FAILED(callByName(addin, L"IsInitialized", {}, result.ptr())) ||
        V_VT(result.ptr()) != VT_BOOL)
        return std::nullopt;
    return V_BOOL(result.ptr()) != VARIANT_FALSE;
}

enum class Path { Vtable, ByName };

// The five handlers of IDTExtensibility2, called the way Office might: through
// the vtable or by name.
class Handlers {
  public:
    Handlers(Path path, IDispatch* addin) : path_(path), addin_(addin) {
        addin->QueryInterface(__uuidof(IDTExtensibility2), vtable_.putVoid());
    }
    HRESULT OnConnection(IDispatch* application, ext_ConnectMode mode, IDispatch* addInInst) {
        if (path_ == Path::Vtable)
            return vtable_->OnConnection(application, mode, addInInst, custom_.slot());
        return callByName(
            addin_, L"OnConnection",
            {objectArg(application), intArg(mode), objectArg(addInInst), custom_.arg()});
    }
    HRESULT OnDisconnection(ext_DisconnectMode mode) {
        if (path_ == Path::Vtable) return vtable_->OnDisconnection(mode, custom_.slot());
        return callByName(addin_, L"OnDisconnection", {intArg(mode), custom_.arg()});
    }
    HRESULT OnStartupComplete() {
        return call(&IDTExtensibility2::OnStartupComplete, L"OnStartupComplete");
    }
    HRESULT OnAddInsUpdate() { return call(&IDTExtensibility2::OnAddInsUpdate, L"OnAddInsUpdate"); }
    HRESULT OnBeginShutdown() {
        return call(&IDTExtensibility2::OnBeginShutdown, L"OnBeginShutdown");
    }
    void release() { vtable_.reset(); }

  private:
    using Method = HRESULT (STDMETHODCALLTYPE IDTExtensibility2::*)(SAFEARRAY**);
    HRESULT call(Method method, const wchar_t* name) {
        if (path_ == Path::Vtable) return (vtable_.get()->*method)(custom_.slot());
        return callByName(addin_, name, {custom_.arg()});
    }

    Path path_;
    IDispatch* addin_;
    ComPtr<IDTExtensibility2> vtable_;
    Custom custom_;
};

// A new add-in object made the way Office makes it: by its ProgID.
ComPtr<IDispatch> createAddIn() {
    CLSID clsid{};
    ComPtr<IDispatch> addin;
    EXPECT_EQ(CLSIDFromProgID(kProgId, &clsid), S_OK);
    EXPECT_EQ(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, addin.putVoid()),
        S_OK);
    return addin;
}

// --- fixtures ---------------------------------------------------------------

class RegisteredDll : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(regsvr32(false), 0u);
        mirror_.emplace();
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override {
        CoUninitialize();
        mirror_.reset();
        EXPECT_EQ(regsvr32(true), 0u);
    }

    std::optional<MachineClassMirror> mirror_;
};

// --- registration -----------------------------------------------------------

TEST(WordAddInRegistration, RegsvrWritesTheUsersKeysAndRemovesThemAgain) {
    ASSERT_EQ(regsvr32(false), 0u);
    const std::string clsKey = classKey();
    const std::string server = clsKey + "\\InprocServer32";
    const std::wstring registered =
        win32::toWide(readString(HKEY_CURRENT_USER, server, "").value_or(""));
    EXPECT_EQ(CompareStringOrdinal(registered.c_str(), -1, dllPath().c_str(), -1, TRUE),
              CSTR_EQUAL);
    EXPECT_EQ(readString(HKEY_CURRENT_USER, server, "ThreadingModel"), "Apartment");
    EXPECT_EQ(readString(HKEY_CURRENT_USER, clsKey + "\\ProgID", ""), "Chronoquill4W.Connect");
    EXPECT_TRUE(readString(HKEY_CURRENT_USER, kAddinKey, "FriendlyName").has_value());
    EXPECT_TRUE(readString(HKEY_CURRENT_USER, kAddinKey, "Description").has_value());
    EXPECT_EQ(readDword(HKEY_CURRENT_USER, kAddinKey, "LoadBehavior"), 3u);
    // The type library in the DLL, registered for the class.
    EXPECT_EQ(readString(HKEY_CURRENT_USER, clsKey + "\\TypeLib", ""), kTypeLib);
    const std::wstring library = win32::toWide(
        readString(HKEY_CURRENT_USER, std::string(kTypeLibKey) + "\\1.0\\0\\win32", "")
            .value_or(""));
    EXPECT_EQ(CompareStringOrdinal(library.c_str(), -1, dllPath().c_str(), -1, TRUE), CSTR_EQUAL);
    ComPtr<ITypeLib> loaded;
    EXPECT_EQ(LoadTypeLibEx(library.c_str(), REGKIND_NONE, loaded.put()), S_OK);
    // Per user only: nothing below the machine's keys.
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, clsKey));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kAddinKey));

    ASSERT_EQ(regsvr32(true), 0u);
    for (const std::string& key :
         {clsKey, std::string(kProgIdKey), std::string(kAddinKey), std::string(kTypeLibKey)})
        EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key)) << key;
}

// --- the object by name ----------------------------------------------------

TEST_F(RegisteredDll, MembersByNameAndTheAnswersToCallsThatDoNotFit) {
    ComPtr<IDispatch> addin = createAddIn();
    ASSERT_TRUE(addin);

    // The type information names the default interface's members in order.
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(addin->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()), S_OK);
    std::vector<std::string> members = test::memberNames(*info.get());
    // A dual interface's dispatch half lists IDispatch's own members first.
    ASSERT_GE(members.size(), 6u);
    members.erase(members.begin(), members.end() - 6);
    EXPECT_EQ(members,
              (std::vector<std::string>{
                  "IsInitialized", "IDTExtensibility2_OnAddInsUpdate",
                  "IDTExtensibility2_OnBeginShutdown", "IDTExtensibility2_OnConnection",
                  "IDTExtensibility2_OnDisconnection", "IDTExtensibility2_OnStartupComplete"}));

    struct Name {
        const wchar_t* name;
        DISPID id;  // DISPID_UNKNOWN: not a member
    };
    const Name names[] = {
        {L"IsInitialized", 0x60030000},
        {L"ISINITIALIZED", 0x60030000},
        {L"IDTExtensibility2_OnConnection", 0x60030003},
        {L"IDTExtensibility2_OnBeginShutdown", 0x60030002},
        // IDTExtensibility2's own names and DISPIDs, as Office knows them.
        {L"OnConnection", 1},
        {L"onstartupcomplete", 4},
        {L"OnBeginShutdown", 5},
        {L"IDTExtensibility2_IsInitialized", DISPID_UNKNOWN},
        {L"GetStamp", DISPID_UNKNOWN},
    };
    for (const Name& n : names) {
        LPOLESTR list[] = {const_cast<LPOLESTR>(n.name)};
        DISPID id = 0;
        const HRESULT hr = addin->GetIDsOfNames(IID_NULL, list, 1, LOCALE_USER_DEFAULT, &id);
        EXPECT_EQ(hr, n.id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK)
            << testing::PrintToString(std::wstring(n.name));
        EXPECT_EQ(id, n.id) << testing::PrintToString(std::wstring(n.name));
    }

    struct Call {
        const char* what;
        DISPID id;
        WORD flags;
        std::vector<VARIANT> args;
        HRESULT expected;  // S_FALSE: any failure
    };
    const DISPID isInitialized = 0x60030000;
    const Call calls[] = {
        {"IsInitialized as a method", isInitialized, DISPATCH_METHOD, {}, S_OK},
        {"IsInitialized as a script reads it",
         isInitialized,
         DISPATCH_METHOD | DISPATCH_PROPERTYGET,
         {},
         S_OK},
        {"IsInitialized assigned",
         isInitialized,
         DISPATCH_PROPERTYPUT,
         {intArg(1)},
         DISP_E_MEMBERNOTFOUND},
        {"IsInitialized with an argument",
         isInitialized,
         DISPATCH_METHOD,
         {intArg(1)},
         DISP_E_BADPARAMCOUNT},
        {"an unknown DISPID", 99, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND},
        {"OnStartupComplete without custom", 4, DISPATCH_METHOD, {}, DISP_E_BADPARAMCOUNT},
        {"OnDisconnection with an object for its mode",
         2,
         DISPATCH_METHOD,
         {objectArg(nullptr), intArg(0)},
         S_FALSE},
    };
    for (const Call& c : calls) {
        SCOPED_TRACE(c.what);
        std::vector<VARIANT> args(c.args.rbegin(), c.args.rend());
        DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        win32::ScopedVariant result;
        UINT argError = 0;
        const HRESULT hr = addin->Invoke(c.id, IID_NULL, LOCALE_USER_DEFAULT, c.flags, &params,
                                         result.ptr(), nullptr, &argError);
        if (c.expected == S_FALSE) {
            EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
        } else {
            EXPECT_EQ(hr, c.expected);
        }
        if (c.id == isInitialized && c.expected == S_OK) {
            EXPECT_EQ(V_VT(result.ptr()), VT_BOOL);
            EXPECT_EQ(V_BOOL(result.ptr()), VARIANT_FALSE);  // not connected yet
        }
    }
    DISPPARAMS none{};
    EXPECT_EQ(addin->Invoke(isInitialized, IID_IDispatch, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                            &none, nullptr, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);

    ComPtr<IUnknown> other;
    const IID ribbon = {0x000C0396, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    EXPECT_EQ(addin->QueryInterface(ribbon, other.putVoid()), E_NOINTERFACE);
    UINT count = 0;
    EXPECT_EQ(addin->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    info.reset();
    EXPECT_EQ(canUnloadNow(), S_FALSE);  // while the object lives
    addin.reset();
    EXPECT_EQ(canUnloadNow(), S_OK);
}

// --- connected to Word ------------------------------------------------------

struct Scenario {
    int version;
    Path path;
    bool active;    // the add-in serves this Word
    bool pictures;  // the controls get the DLL's own bitmaps
};

void PrintTo(const Scenario& s, std::ostream* os) {
    *os << "Word " << s.version << (s.path == Path::Vtable ? " through the vtable" : " by name");
}

class ConnectedDll : public RegisteredDll, public ::testing::WithParamInterface<Scenario> {};

int count(const std::vector<std::string>& log, const std::string& call) {
    return static_cast<int>(std::count(log.begin(), log.end(), call));
}

TEST_P(ConnectedDll, ControlsFollowTheEnvelopeAndWordIsLetGoAtDisconnection) {
    const Scenario s = GetParam();
    TooltipValue tooltip(kTooltip);
    LogWatch log;
    FakeWord word(s.version);
    word.office.recording = true;
    {
        ComExport exporter;
        ComPtr<IDispatch> app = ComPtr<IDispatch>::adopt(exporter.exportObject(word.application()));
        ComPtr<IDispatch> addInInst =
            ComPtr<IDispatch>::adopt(exporter.exportObject(word.office.make("COMAddIn")));
        ComPtr<IDispatch> addin = createAddIn();
        ASSERT_TRUE(addin);
        EXPECT_EQ(canUnloadNow(), S_FALSE);
        Handlers handlers(s.path, addin.get());

        EXPECT_EQ(handlers.OnConnection(app.get(), ext_cm_Startup, addInInst.get()), S_OK);
        EXPECT_EQ(handlers.OnStartupComplete(), S_OK);
        EXPECT_EQ(isInitialized(addin.get()), s.active);
        EXPECT_EQ(word.application().subscribers(word::kWordApplicationEvents), s.active ? 1 : 0);

        // An e-mail window: both controls, shown, labelled from the registry.
        FakeObject& mail = word.addWindow(true);
        word.activate(mail);
        FakeObject* item = word.controlTagged(word::kMenuItemTag);
        FakeObject* button = word.controlTagged(word::kToolbarButtonTag);
        if (!s.active) {
            EXPECT_EQ(item, nullptr);
            EXPECT_EQ(button, nullptr);
        } else {
            ASSERT_NE(item, nullptr);
            ASSERT_NE(button, nullptr);
            EXPECT_TRUE(word.property(*item, "Visible").toBool());
            EXPECT_TRUE(word.property(*button, "Visible").toBool());
            EXPECT_EQ(word.property(*item, "Caption").toString(), kTooltip);
            EXPECT_EQ(word.property(*button, "TooltipText").toString(), kTooltip);
            EXPECT_EQ(word.property(*button, "FaceId").toInt(), 125);
            EXPECT_TRUE(word.templateSaved());
            // A put of Picture and Mask is only made with a bitmap loaded from the DLL.
            EXPECT_EQ(count(word.office.log, "CommandBarButton.Picture"), s.pictures ? 2 : 0);
            EXPECT_EQ(count(word.office.log, "CommandBarButton.Mask"), s.pictures ? 2 : 0);

            // A document window: hidden again; Word's e-mail button flips them.
            FakeObject& document = word.addWindow(false);
            word.activate(document);
            EXPECT_FALSE(word.property(*item, "Visible").toBool());
            EXPECT_FALSE(word.property(*button, "Visible").toBool());
            word.clickEmailButton();
            EXPECT_TRUE(word.property(*button, "Visible").toBool());
        }

        EXPECT_EQ(handlers.OnAddInsUpdate(), S_OK);
        EXPECT_EQ(handlers.OnBeginShutdown(), S_OK);
        EXPECT_EQ(handlers.OnDisconnection(ext_dm_HostShutdown), S_OK);
        EXPECT_EQ(isInitialized(addin.get()), false);
        EXPECT_EQ(word.application().subscribers(word::kWordApplicationEvents), 0);

        handlers.release();
        addin.reset();
        EXPECT_EQ(canUnloadNow(), S_OK);
    }
    EXPECT_EQ(word.liveReferences(), 0) << word.referenced();
    EXPECT_EQ(ComExport::live(), 0);

    // One log section of this object: version line, "{" ... "}".
    const std::vector<std::string> lines = log.newLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("1.", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "{");
    EXPECT_EQ(lines.back(), "}");
}

INSTANTIATE_TEST_SUITE_P(WordVersions, ConnectedDll,
                         ::testing::Values(Scenario{9, Path::Vtable, true, false},
                                           Scenario{10, Path::ByName, true, true},
                                           Scenario{11, Path::Vtable, true, true},
                                           Scenario{11, Path::ByName, true, true},
                                           Scenario{12, Path::ByName, false, false}));

// Runs connection, two activations, a click on Word's e-mail button and
// disconnection with Word call `failAt` failing (0: none); returns how many
// calls Word received. Every handler answers S_OK and nothing stays referenced.
int runWithFailure(int failAt) {
    FakeWord word(11);
    word.office.failAt = failAt;
    {
        ComExport exporter;
        ComPtr<IDispatch> app = ComPtr<IDispatch>::adopt(exporter.exportObject(word.application()));
        ComPtr<IDispatch> addin = createAddIn();
        if (!addin) return 0;
        Handlers handlers(Path::Vtable, addin.get());
        EXPECT_EQ(handlers.OnConnection(app.get(), ext_cm_AfterStartup, nullptr), S_OK);
        EXPECT_EQ(handlers.OnStartupComplete(), S_OK);
        word.activate(word.addWindow(true));
        word.clickEmailButton();
        word.activate(word.addWindow(false));
        EXPECT_EQ(handlers.OnDisconnection(ext_dm_UserClosed), S_OK);
        handlers.release();
        addin.reset();
        EXPECT_EQ(canUnloadNow(), S_OK);
    }
    EXPECT_EQ(word.liveReferences(), 0) << word.referenced();
    EXPECT_EQ(ComExport::live(), 0);
    return word.office.calls();
}

using FailingWord = RegisteredDll;

TEST_F(FailingWord, EachWordCallFailingInTurnLeavesNothingReferenced) {
    const int calls = runWithFailure(0);
    ASSERT_GT(calls, 20);
    for (int failAt = 1; failAt <= calls; ++failAt) {
        SCOPED_TRACE("failing call " + std::to_string(failAt));
        runWithFailure(failAt);
        if (HasFailure()) break;
    }
}

}  // namespace
}  // namespace cq

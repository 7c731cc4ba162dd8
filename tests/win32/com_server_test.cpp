// The empty add-in DLL as Office meets it: registered per user with regsvr32,
// found by its ProgID, created through COM, called through its vtable and by
// name through IDispatch, unloadable once its objects are gone, and removed
// again with regsvr32 /u without touching anything else.
//
// Wine does not merge HKCU\Software\Classes into HKEY_CLASSES_ROOT, so the
// tests copy the class keys to HKLM\Software\Classes for COM to find them.

#include "OfficeAddIn.h"
#include "tests/hosts/Regsvr32.h"

#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace cq::win32 {
namespace {

constexpr CLSID kClsid = {
    0x4CABDD47, 0x54F7, 0x45A4, {0xB3, 0x88, 0x8C, 0x82, 0x7F, 0x2E, 0xED, 0xF7}};
constexpr const wchar_t* kProgId = L"ChronoquillEmpty.Connect";
constexpr const wchar_t* kClassKey =
    L"Software\\Classes\\CLSID\\{4CABDD47-54F7-45A4-B388-8C827F2EEDF7}";
constexpr const wchar_t* kProgIdKey = L"Software\\Classes\\ChronoquillEmpty.Connect";
constexpr const wchar_t* kAddinKey =
    L"Software\\Microsoft\\Office\\Outlook\\Addins\\ChronoquillEmpty.Connect";
constexpr const wchar_t* kInkwellKey = L"Software\\Quintor\\Inkwell";

std::wstring dllPath() {
    wchar_t program[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring path(program, n);
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"ChronoquillEmpty.dll";
}

// Runs regsvr32 with `options` on the DLL; its exit code.
DWORD regsvr32(const std::wstring& options, const std::wstring& dll = dllPath()) {
    return test::regsvr32(options, dll);
}

bool keyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// A REG_SZ value, or "<missing>" / "<type N>".
std::wstring text(HKEY root, const std::wstring& path, const wchar_t* name) {
    DWORD type = 0;
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    if (type != REG_SZ) return L"<type " + std::to_wstring(type) + L">";
    return data;
}

std::wstring lower(std::wstring s) {
    std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return std::towlower(c); });
    return s;
}

void setText(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name, REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void mirrorClassesToMachine() {
    for (const wchar_t* path : {kClassKey, kProgIdKey}) {
        HKEY from = nullptr;
        HKEY to = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &from), ERROR_SUCCESS);
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &to, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegCopyTreeW(from, nullptr, to), ERROR_SUCCESS);
        RegCloseKey(from);
        RegCloseKey(to);
    }
}

void removeMachineMirror() {
    for (const wchar_t* path : {kClassKey, kProgIdKey}) RegDeleteTreeW(HKEY_LOCAL_MACHINE, path);
}

using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

TEST(ComServer, TheDllImportsOnlySystemLibraries) {
    HMODULE dll = LoadLibraryW(dllPath().c_str());
    ASSERT_NE(dll, nullptr);
    auto* base = reinterpret_cast<const BYTE*>(dll);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const std::vector<std::string> system = {"kernel32.dll", "user32.dll",   "advapi32.dll",
                                             "ole32.dll",    "oleaut32.dll", "gdi32.dll",
                                             "msvcrt.dll",   "version.dll",  "shell32.dll"};
    std::vector<std::string> imported;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         d->Name != 0; ++d) {
        std::string name = reinterpret_cast<const char*>(base + d->Name);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return static_cast<char>(std::tolower(c)); });
        imported.push_back(name);
        EXPECT_NE(std::find(system.begin(), system.end(), name), system.end()) << name;
    }
    EXPECT_FALSE(imported.empty());
    for (const char* name :
         {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"})
        EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
    FreeLibrary(dll);
}

TEST(ComServer, RegistersPerUserAndRemovesExactlyItsKeys) {
    // Keys that are not the add-in's: the user's tooltip and another add-in.
    const std::wstring oldTooltip = text(HKEY_CURRENT_USER, kInkwellKey, L"Tooltip");
    setText(kInkwellKey, L"Tooltip", L"Insert time");
    const std::wstring other = L"Software\\Microsoft\\Office\\Outlook\\Addins\\Other.Connect";
    setText(other, L"FriendlyName", L"Other");

    ASSERT_EQ(regsvr32(L"/s"), 0u);
    EXPECT_EQ(text(HKEY_CURRENT_USER, kClassKey, L""), L"Chronoquill empty add-in");
    const std::wstring inproc = std::wstring(kClassKey) + L"\\InprocServer32";
    EXPECT_EQ(lower(text(HKEY_CURRENT_USER, inproc, L"")), lower(dllPath()));
    EXPECT_EQ(text(HKEY_CURRENT_USER, inproc, L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(text(HKEY_CURRENT_USER, std::wstring(kClassKey) + L"\\ProgID", L""), kProgId);
    EXPECT_EQ(text(HKEY_CURRENT_USER, kProgIdKey, L""), L"Chronoquill empty add-in");
    EXPECT_EQ(text(HKEY_CURRENT_USER, std::wstring(kProgIdKey) + L"\\CLSID", L""),
              L"{4CABDD47-54F7-45A4-B388-8C827F2EEDF7}");
    EXPECT_EQ(text(HKEY_CURRENT_USER, kAddinKey, L"FriendlyName"), L"Chronoquill empty add-in");
    EXPECT_EQ(text(HKEY_CURRENT_USER, kAddinKey, L"Description"), L"Chronoquill empty add-in");
    DWORD type = 0;
    DWORD load = 0;
    DWORD size = sizeof load;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior", RRF_RT_ANY, &type, &load,
                           &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(load, 3u);
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kClassKey)) << "nothing per machine";

    // Again: still one registration, with the same values.
    ASSERT_EQ(regsvr32(L"/s"), 0u);
    EXPECT_EQ(lower(text(HKEY_CURRENT_USER, inproc, L"")), lower(dllPath()));

    ASSERT_EQ(regsvr32(L"/u /s"), 0u);
    for (const wchar_t* path : {kClassKey, kProgIdKey, kAddinKey})
        EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, path)) << path;
    EXPECT_EQ(text(HKEY_CURRENT_USER, kInkwellKey, L"Tooltip"), L"Insert time");
    EXPECT_EQ(text(HKEY_CURRENT_USER, other, L"FriendlyName"), L"Other");
    // Removing what is not there succeeds.
    EXPECT_EQ(regsvr32(L"/u /s"), 0u);

    RegDeleteTreeW(HKEY_CURRENT_USER, other.c_str());
    if (oldTooltip == L"<missing>")
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kInkwellKey, L"Tooltip");
    else
        setText(kInkwellKey, L"Tooltip", oldTooltip);
}

TEST(ComServer, AFolderOutsideTheAnsiCodePageIsRegisteredByAPathThatWorks) {
    // Polish and Russian letters: not all of them fit any one ANSI code page.
    std::wstring dir = dllPath().substr(0, dllPath().find_last_of(L'\\') + 1) +
                       L"\u0141\u00f3d\u017a \u0434\u043e\u043c";
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring copy = dir + L"\\ChronoquillEmpty.dll";
    ASSERT_TRUE(CopyFileW(dllPath().c_str(), copy.c_str(), FALSE));

    ASSERT_EQ(regsvr32(L"/s", copy), 0u);
    const std::wstring inproc = std::wstring(kClassKey) + L"\\InprocServer32";
    const std::wstring registered = text(HKEY_CURRENT_USER, inproc, L"");
    // The registered path names the copy: loading it gives the same module.
    HMODULE byCopy = LoadLibraryW(copy.c_str());
    HMODULE byRegistered = LoadLibraryW(registered.c_str());
    EXPECT_NE(byCopy, nullptr);
    EXPECT_EQ(byRegistered, byCopy)
        << "registered: " << std::string(registered.begin(), registered.end());
    if (byRegistered) FreeLibrary(byRegistered);
    if (byCopy) FreeLibrary(byCopy);

    EXPECT_EQ(regsvr32(L"/u /s", copy), 0u);
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kClassKey));
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(dir.c_str());
}

// The add-in registered and visible to COM for the whole suite.
class RegisteredAddin : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(regsvr32(L"/s"), 0u);
        mirrorClassesToMachine();
    }
    static void TearDownTestSuite() {
        removeMachineMirror();
        EXPECT_EQ(regsvr32(L"/u /s"), 0u);
    }
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { CoUninitialize(); }

    IDTExtensibility2* create() {
        CLSID clsid{};
        EXPECT_EQ(CLSIDFromProgID(kProgId, &clsid), S_OK);
        EXPECT_TRUE(IsEqualCLSID(clsid, kClsid));
        IDTExtensibility2* addin = nullptr;
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(IDTExtensibility2), reinterpret_cast<void**>(&addin)),
                  S_OK);
        return addin;
    }
    CanUnloadNow canUnloadNow() {
        HMODULE dll = GetModuleHandleW(L"ChronoquillEmpty.dll");
        EXPECT_NE(dll, nullptr);
        return dll ? reinterpret_cast<CanUnloadNow>(
                         reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")))
                   : nullptr;
    }
};

TEST_F(RegisteredAddin, ConnectsThroughTheVtable) {
    IDTExtensibility2* addin = create();
    ASSERT_NE(addin, nullptr);
    SAFEARRAY* custom = nullptr;
    EXPECT_EQ(addin->OnConnection(addin, ext_cm_Startup, nullptr, &custom), S_OK);
    EXPECT_EQ(addin->OnAddInsUpdate(&custom), S_OK);
    EXPECT_EQ(addin->OnStartupComplete(&custom), S_OK);
    EXPECT_EQ(addin->OnBeginShutdown(&custom), S_OK);
    EXPECT_EQ(addin->OnDisconnection(ext_dm_HostShutdown, &custom), S_OK);
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(addin->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(dispatch), static_cast<IUnknown*>(addin));
    dispatch->Release();
    void* other = nullptr;
    EXPECT_EQ(addin->QueryInterface(IID_IClassFactory, &other), E_NOINTERFACE);
    addin->Release();
}

TEST_F(RegisteredAddin, ConnectsByNameThroughIDispatch) {
    IDTExtensibility2* addin = create();
    ASSERT_NE(addin, nullptr);
    IDispatch* dispatch = addin;

    const wchar_t* names[] = {L"OnConnection", L"OnDisconnection", L"OnAddInsUpdate",
                              L"OnStartupComplete", L"OnBeginShutdown"};
    for (int i = 0; i < 5; ++i) {
        LPOLESTR name = const_cast<LPOLESTR>(names[i]);
        DISPID id = 0;
        EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
        EXPECT_EQ(id, i + 1) << i;
    }
    LPOLESTR unknownName = const_cast<LPOLESTR>(L"GetStamp");
    DISPID unknownId = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &unknownName, 1, LOCALE_USER_DEFAULT, &unknownId),
              DISP_E_UNKNOWNNAME);
    EXPECT_EQ(unknownId, DISPID_UNKNOWN);

    // Office's order: OnConnection, OnStartupComplete, OnDisconnection.
    SAFEARRAY* custom = nullptr;
    VARIANT args[4];
    for (VARIANT& v : args) VariantInit(&v);
    V_VT(&args[3]) = VT_DISPATCH;  // Application (arguments are last first)
    V_DISPATCH(&args[3]) = dispatch;
    V_VT(&args[2]) = VT_I4;
    V_I4(&args[2]) = ext_cm_Startup;
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = nullptr;
    V_VT(&args[0]) = VT_ARRAY | VT_VARIANT | VT_BYREF;
    V_ARRAYREF(&args[0]) = &custom;
    DISPPARAMS connection{args, nullptr, 4, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(dispatch->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &connection,
                               &result, nullptr, nullptr),
              S_OK);
    DISPPARAMS startup{args, nullptr, 1, 0};
    EXPECT_EQ(dispatch->Invoke(4, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &startup, &result,
                               nullptr, nullptr),
              S_OK);
    VARIANT disconnection[2];
    disconnection[0] = args[0];
    VariantInit(&disconnection[1]);
    V_VT(&disconnection[1]) = VT_I4;
    V_I4(&disconnection[1]) = ext_dm_HostShutdown;
    DISPPARAMS shutdown{disconnection, nullptr, 2, 0};
    EXPECT_EQ(dispatch->Invoke(2, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &shutdown,
                               &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(V_VT(&result), VT_EMPTY);

    UINT argErr = 0;
    EXPECT_TRUE(FAILED(dispatch->Invoke(4, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                        &connection, &result, nullptr, &argErr)))
        << "too many arguments";
    EXPECT_EQ(dispatch->Invoke(9, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &startup, &result,
                               nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(dispatch->Invoke(4, IID_IDispatch, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &startup,
                               &result, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    UINT count = 9;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    addin->Release();
}

TEST_F(RegisteredAddin, CanUnloadOnlyWhenNoObjectLives) {
    IDTExtensibility2* first = create();
    ASSERT_NE(first, nullptr);
    IDTExtensibility2* second = create();
    ASSERT_NE(second, nullptr);
    CanUnloadNow ask = canUnloadNow();
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(ask(), S_FALSE);
    first->Release();
    EXPECT_EQ(ask(), S_FALSE);
    second->Release();
    EXPECT_EQ(ask(), S_OK);

    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(kClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(ask(), S_FALSE) << "a lock keeps the module";
    ASSERT_EQ(CoGetClassObject(kClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(ask(), S_OK);
}

TEST_F(RegisteredAddin, RefusesAggregation) {
    IUnknown* outer = nullptr;
    ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&outer)),
              S_OK);
    IUnknown* inner = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(CoCreateInstance(kClsid, outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&inner)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(inner, nullptr);
    outer->Release();
}

}  // namespace
}  // namespace cq::win32

// The Word add-in's Windows ports for the stamp request: the running-object
// lookup and the message box.

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/HostError.h"
#include "common/win32/Win32MsgBox.h"
#include "word/win32/Win32RunningObjectTable.h"

namespace cq {
namespace {

// {5D2A7E51-3C0B-4F7A-9E61-0C7A1B2D3E4F}
const CLSID kTestClsid = {
    0x5d2a7e51, 0x3c0b, 0x4f7a, {0x9e, 0x61, 0x0c, 0x7a, 0x1b, 0x2d, 0x3e, 0x4f}};
const char* const kTestProgId = "Chronoquill.RunningObjectTest";

// The least IDispatch: one property, Name, reading "running".
class NamedObject final : public IDispatch {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (count == 1 && lstrcmpiW(names[0], L"Name") == 0) {
            ids[0] = 1;
            return S_OK;
        }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        if (id != 1) return DISP_E_MEMBERNOTFOUND;
        if (result) {
            VariantInit(result);
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(L"running");
        }
        return S_OK;
    }
    std::atomic<ULONG> refs{1};
};

class RunningObjects : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        // The class name must be known to CLSIDFromProgID.
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, (std::string(kTestProgId) + "\\CLSID").c_str(),
                                  0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const char* clsid = "{5D2A7E51-3C0B-4F7A-9E61-0C7A1B2D3E4F}";
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid),
                       static_cast<DWORD>(strlen(clsid) + 1));
        RegCloseKey(key);
    }
    void TearDown() override {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kTestProgId) + "\\CLSID").c_str());
        RegDeleteKeyA(HKEY_CLASSES_ROOT, kTestProgId);
        CoUninitialize();
    }

    word::win32::Win32RunningObjectTable rot_;
};

TEST_F(RunningObjects, FindsTheRegisteredObjectAndNothingOtherwise) {
    EXPECT_FALSE(rot_.GetActiveObject(kTestProgId)) << "nothing runs yet";

    NamedObject object;
    DWORD cookie = 0;
    ASSERT_TRUE(SUCCEEDED(RegisterActiveObject(&object, kTestClsid, ACTIVEOBJECT_STRONG, &cookie)));
    {
        Dispatch found = rot_.GetActiveObject(kTestProgId);
        ASSERT_TRUE(found);
        EXPECT_EQ(found.get("Name").toString(), "running");
    }
    ASSERT_TRUE(SUCCEEDED(RevokeActiveObject(cookie, nullptr)));
    EXPECT_FALSE(rot_.GetActiveObject(kTestProgId));
    EXPECT_EQ(object.refs.load(), 1u) << "every reference handed back";
}

TEST_F(RunningObjects, AnUnknownClassNameFails) {
    EXPECT_THROW(rot_.GetActiveObject("Chronoquill.NoSuchClass"), HostError);
}

struct SeenBox {
    std::string title, text;
    std::vector<std::string> buttons;
};

BOOL CALLBACK collectChild(HWND child, LPARAM data) {
    auto& seen = *reinterpret_cast<SeenBox*>(data);
    char cls[64] = {}, text[512] = {};
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(cls, "Button") == 0) seen.buttons.push_back(text);
    if (lstrcmpiA(cls, "Static") == 0 && text[0] != '\0') seen.text = text;
    return TRUE;
}

TEST(MessageBox, ShowsThePromptWithTheTitleAndOnlyAnOkButton) {
    const std::string prompt = "This functionality works only if Microsoft Outlook is running.";
    SeenBox seen;
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        for (int i = 0; i < 400 && !done; ++i) {
            HWND box = FindWindowA("#32770", "Chronoquill");
            if (box) {
                char title[128] = {};
                GetWindowTextA(box, title, sizeof title);
                seen.title = title;
                EnumChildWindows(box, collectChild, reinterpret_cast<LPARAM>(&seen));
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(25);
        }
    });
    win32::Win32MsgBox boxes;
    const std::int32_t answer = boxes.show(prompt, 0, "Chronoquill");
    done = true;
    watcher.join();
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(seen.title, "Chronoquill");
    EXPECT_EQ(seen.text, prompt);
    ASSERT_EQ(seen.buttons.size(), 1u);
    EXPECT_EQ(seen.buttons[0], "OK");
}

}  // namespace
}  // namespace cq

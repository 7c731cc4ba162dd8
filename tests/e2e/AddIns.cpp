#include "tests/e2e/AddIns.h"

#include <chrono>
#include <cstdio>

#include "common/win32/ComVariant.h"
#include "common/win32/Text.h"
#include "tests/e2e/HostOutput.h"

namespace cq::test::e2e {
namespace {

using Clock = std::chrono::steady_clock;

std::string hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

long long microsecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
}

// custom(0) = 1: the application was started by the user.
class Custom {
  public:
    Custom() {
        array_ = SafeArrayCreateVector(VT_VARIANT, 0, 1);
        if (array_) {
            VARIANT v;
            VariantInit(&v);
            v.vt = VT_I4;
            v.lVal = 1;
            LONG index = 0;
            SafeArrayPutElement(array_, &index, &v);
        }
    }
    ~Custom() {
        if (array_) SafeArrayDestroy(array_);
    }
    Custom(const Custom&) = delete;
    Custom& operator=(const Custom&) = delete;
    SAFEARRAY** get() { return &array_; }

  private:
    SAFEARRAY* array_ = nullptr;
};

}  // namespace

std::vector<std::pair<std::string, DWORD>> registeredAddIns(const std::string& application) {
    std::vector<std::pair<std::string, DWORD>> out;
    const std::wstring path =
        win32::toWide("Software\\Microsoft\\Office\\" + application + "\\Addins");
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return out;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        DWORD behaviour = 0, type = 0, size = sizeof(behaviour);
        HKEY sub;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
            if (RegQueryValueExW(sub, L"LoadBehavior", nullptr, &type,
                                 reinterpret_cast<BYTE*>(&behaviour), &size) != ERROR_SUCCESS ||
                type != REG_DWORD)
                behaviour = 0;
            RegCloseKey(sub);
        }
        out.emplace_back(win32::fromWide(name), behaviour);
    }
    RegCloseKey(key);
    return out;
}

AddInSet::~AddInSet() { shutdown(); }

void AddInSet::connect(const std::string& application, const Dispatch& host,
                       const AddInInstFor& addInInst) {
    for (const auto& [progId, behaviour] : registeredAddIns(application)) {
        const std::string name = "add-in " + progId + ": ";
        if (behaviour != 3) {
            say(name + "not loaded (LoadBehavior " + std::to_string(behaviour) + ")");
            continue;
        }
        const auto start = Clock::now();
        CLSID clsid;
        HRESULT hr = CLSIDFromProgID(win32::toWide(progId).c_str(), &clsid);
        if (FAILED(hr)) {
            say(name + "CLSIDFromProgID failed " + hex(hr));
            continue;
        }
        LoadedAddIn addIn;
        addIn.progId = progId;
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDTExtensibility2),
                              addIn.extensibility.putVoid());
        if (FAILED(hr) || !addIn.extensibility) {
            say(name + "CoCreateInstance failed " + hex(hr));
            continue;
        }
        addIn.extensibility->QueryInterface(IID_IDispatch, addIn.object.putVoid());
        addIn.addInInst = addInInst(progId);
        IDispatch* application_ = win32::toIDispatch(host);
        IDispatch* instance = win32::toIDispatch(addIn.addInInst);
        Custom custom;
        hr =
            addIn.extensibility->OnConnection(application_, ext_cm_Startup, instance, custom.get());
        if (instance) instance->Release();
        if (application_) application_->Release();
        const long long spent = microsecondsSince(start);
        if (FAILED(hr)) {
            say(name + "OnConnection failed " + hex(hr));
            addIn.extensibility.reset();
            addIn.object.reset();
            continue;
        }
        addIn.connected = true;
        say(name + "connected in " + std::to_string(spent) + " us");
        addIns_.push_back(std::move(addIn));
    }
}

void AddInSet::startupComplete() {
    for (LoadedAddIn& addIn : addIns_) {
        const auto start = Clock::now();
        Custom custom;
        HRESULT hr = addIn.extensibility->OnStartupComplete(custom.get());
        const long long spent = microsecondsSince(start);
        if (FAILED(hr))
            say("add-in " + addIn.progId + ": OnStartupComplete failed " + hex(hr));
        else
            say("add-in " + addIn.progId + ": startup complete in " + std::to_string(spent) +
                " us");
    }
}

void AddInSet::shutdown() {
    for (LoadedAddIn& addIn : addIns_) {
        Custom custom;
        HRESULT hr = addIn.extensibility->OnBeginShutdown(custom.get());
        if (FAILED(hr)) say("add-in " + addIn.progId + ": OnBeginShutdown failed " + hex(hr));
    }
    for (LoadedAddIn& addIn : addIns_) {
        Custom custom;
        HRESULT hr = addIn.extensibility->OnDisconnection(ext_dm_HostShutdown, custom.get());
        if (FAILED(hr))
            say("add-in " + addIn.progId + ": OnDisconnection failed " + hex(hr));
        else
            say("add-in " + addIn.progId + ": disconnected");
    }
    for (LoadedAddIn& addIn : addIns_) {
        addIn.object.reset();
        addIn.extensibility.reset();
        addIn.addInInst.reset();
    }
    addIns_.clear();
}

}  // namespace cq::test::e2e

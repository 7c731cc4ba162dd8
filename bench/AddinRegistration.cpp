#include "bench/AddinRegistration.h"

#include <stdexcept>

#include "common/win32/Text.h"
#include "tests/hosts/Regsvr32.h"

namespace cq::bench {
namespace {

void copyToMachine(const std::wstring& path) {
    HKEY from = nullptr;
    HKEY to = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &from) != ERROR_SUCCESS)
        throw std::runtime_error("not registered: " + win32::fromWide(path));
    LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                     KEY_ALL_ACCESS, nullptr, &to, nullptr);
    if (status == ERROR_SUCCESS) status = RegCopyTreeW(from, nullptr, to);
    if (to != nullptr) RegCloseKey(to);
    RegCloseKey(from);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot copy to the machine's classes: " + win32::fromWide(path));
}

}  // namespace

AddinRegistration::AddinRegistration(std::wstring dllPath, std::wstring progId)
    : dll_(std::move(dllPath)), progIdKey_(L"Software\\Classes\\" + progId) {
    if (test::regsvr32(L"/s", dll_) != 0)
        throw std::runtime_error("regsvr32 failed for " + win32::fromWide(dll_));
    wchar_t text[64] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, (progIdKey_ + L"\\CLSID").c_str(), nullptr, RRF_RT_REG_SZ,
                     nullptr, text, &size) != ERROR_SUCCESS ||
        FAILED(CLSIDFromString(text, &clsid_))) {
        test::regsvr32(L"/u /s", dll_);
        throw std::runtime_error("no class registered for " + win32::fromWide(progId));
    }
    classKey_ = std::wstring(L"Software\\Classes\\CLSID\\") + text;
    try {
        copyToMachine(classKey_);
        copyToMachine(progIdKey_);
    } catch (...) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, classKey_.c_str());
        test::regsvr32(L"/u /s", dll_);
        throw;
    }
}

AddinRegistration::~AddinRegistration() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, classKey_.c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, progIdKey_.c_str());
    test::regsvr32(L"/u /s", dll_);
}

}  // namespace cq::bench

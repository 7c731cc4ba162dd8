#include "common/win32/Win32Module.h"

#include <windows.h>

#include <vector>

#include "common/HostError.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

HMODULE ownModule() {
    HMODULE module = nullptr;
    auto address = reinterpret_cast<LPCWSTR>(&ownModule);
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            address, &module))
        throw HostError(static_cast<std::int32_t>(GetLastError()), "GetModuleHandleEx failed");
    return module;
}

std::wstring modulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            throw HostError(static_cast<std::int32_t>(GetLastError()), "GetModuleFileName failed");
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: try with more room
    }
}

}  // namespace

std::string Win32Module::folder() {
    if (folder_.empty()) {
        std::wstring path = modulePath(ownModule());
        std::size_t slash = path.find_last_of(L"\\/");
        folder_ = fromWide(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
    }
    return folder_;
}

std::uintptr_t Win32Module::instance() { return reinterpret_cast<std::uintptr_t>(ownModule()); }

ModuleVersion Win32Module::version() {
    std::wstring path = modulePath(ownModule());
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
        info == nullptr || length < sizeof(VS_FIXEDFILEINFO))
        return {};
    return {static_cast<int>(HIWORD(info->dwFileVersionMS)),
            static_cast<int>(LOWORD(info->dwFileVersionMS)),
            static_cast<int>(HIWORD(info->dwFileVersionLS)),
            static_cast<int>(LOWORD(info->dwFileVersionLS))};
}

}  // namespace cq::win32

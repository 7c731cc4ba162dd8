#include "common/win32/Win32Module.h"

#include <atomic>
#include <vector>

#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

std::atomic<HMODULE> g_module{nullptr};

}  // namespace

HostError lastError(const char* what) {
    return HostError(static_cast<std::int32_t>(GetLastError()), what);
}

HMODULE thisModule() {
    if (HMODULE known = g_module.load()) return known;
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&g_module), &module))
        throw lastError("GetModuleHandleEx failed");
    g_module.store(module);
    return module;
}

std::wstring modulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) throw lastError("GetModuleFileName failed");
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // cut off: again with more room
    }
}

std::string moduleFolder(HMODULE module) {
    std::wstring path = modulePath(module);
    const std::size_t slash = path.find_last_of(L"\\/");
    path.resize(slash == std::wstring::npos ? 0 : slash);
    return fromWide(path);
}

std::string Win32Module::folder() {
    if (folder_.empty()) folder_ = moduleFolder(thisModule());
    return folder_;
}

std::uintptr_t Win32Module::instance() { return reinterpret_cast<std::uintptr_t>(thisModule()); }

ModuleVersion Win32Module::version() {
    const std::wstring path = modulePath(thisModule());
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

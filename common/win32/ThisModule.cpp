#include "common/win32/ThisModule.h"

#include <atomic>

#include "common/HostError.h"
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

}  // namespace cq::win32

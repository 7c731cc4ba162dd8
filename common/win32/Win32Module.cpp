#include "common/win32/Win32Module.h"

#include <windows.h>

#include <vector>

#include "common/win32/ThisModule.h"

namespace cq::win32 {

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

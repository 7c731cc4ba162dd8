#include "outlook/win32/LateBoundLibrary.h"

#include <utility>

#include "common/HostError.h"
#include "common/win32/Text.h"

namespace cq::win32 {
namespace {

bool fileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring systemFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    UINT n = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (n >= buffer.size()) {
        buffer.resize(n);
        n = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    buffer.resize(n < buffer.size() ? n : 0);
    return buffer;
}

// Loads `path` with its own dependencies resolved from its folder and the
// system folder only. Windows without the LOAD_LIBRARY_SEARCH_* flags rejects
// them as an invalid parameter; it gets the classic full-path load instead.
HMODULE loadFullPath(const std::wstring& path) {
    HMODULE module = LoadLibraryExW(
        path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return module;
}

std::int32_t lastError() {
    const DWORD code = GetLastError();
    return code != 0 ? static_cast<std::int32_t>(code) : ERROR_MOD_NOT_FOUND;
}

}  // namespace

LateBoundLibrary::LateBoundLibrary(std::string fileName, std::string folder)
    : fileName_(std::move(fileName)), folder_(std::move(folder)) {}

HMODULE LateBoundLibrary::load() {
    if (module_ != nullptr) return module_;
    const std::wstring name = toWide(fileName_);
    std::wstring path;
    if (!folder_.empty()) {
        path = toWide(folder_) + L"\\" + name;
        if (!fileExists(path)) path.clear();
    }
    if (path.empty()) {
        const std::wstring system = systemFolder();
        if (system.empty()) throw HostError(lastError(), fileName_ + " could not be loaded");
        path = system + L"\\" + name;
    }
    HMODULE module = loadFullPath(path);
    if (module == nullptr)
        throw HostError(lastError(), fileName_ + " could not be loaded from " + fromWide(path));
    module_ = module;
    path_ = fromWide(path);
    return module_;
}

FARPROC LateBoundLibrary::procedure(const char* name) {
    FARPROC address = GetProcAddress(load(), name);
    if (address == nullptr)
        throw HostError(lastError(), fileName_ + " has no export " + std::string(name));
    return address;
}

}  // namespace cq::win32

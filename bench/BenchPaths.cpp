#include "bench/BenchPaths.h"

#include <windows.h>

#include "common/win32/Text.h"

namespace cq::bench {

std::wstring windowsPath(const char* path) {
    std::wstring out = win32::toWide(path);
    for (wchar_t& c : out)
        if (c == L'/') c = L'\\';
    return out;
}

std::wstring programFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

}  // namespace cq::bench

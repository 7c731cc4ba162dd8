#include "support/ModuleAbout.h"

#include <cstdio>

#include "common/HostError.h"
#include "common/win32/Text.h"

namespace cq::libquintor {
namespace {

[[noreturn]] void fail(const char* what) {
    throw HostError(static_cast<std::int32_t>(GetLastError()), what);
}

std::wstring modulePath(HMODULE module) {
    if (module == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        fail("no module instance handle");
    }
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) fail("GetModuleFileName failed");
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The module's version resource, or empty.
std::vector<char> versionResource(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, data.data())) data.clear();
    return data;
}

// A value of the version resource's first string table, or empty.
std::wstring versionString(std::vector<char>& data, const wchar_t* name) {
    if (data.empty()) return {};
    struct Translation {
        WORD language;
        WORD codePage;
    }* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation))
        return {};
    wchar_t key[64];
    std::swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translations[0].language,
                  translations[0].codePage, name);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&value), &length) ||
        value == nullptr || length == 0)
        return {};
    return std::wstring(value, wcsnlen(value, length));
}

std::wstring fileVersion(std::vector<char>& data) {
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (data.empty() ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
        info == nullptr || length < sizeof(VS_FIXEDFILEINFO))
        return {};
    wchar_t text[64];
    const unsigned revision = LOWORD(info->dwFileVersionLS);
    if (revision != 0)
        std::swprintf(text, 64, L"%u.%u.%u.%u", HIWORD(info->dwFileVersionMS),
                      LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS), revision);
    else
        std::swprintf(text, 64, L"%u.%u.%u", HIWORD(info->dwFileVersionMS),
                      LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS));
    return text;
}

std::wstring fileTitle(const std::wstring& path) {
    std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    return name.substr(0, name.find_last_of(L'.'));
}

// A string resource of the module (read in place), or empty.
std::wstring stringResource(HMODULE module, UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text != nullptr ? std::wstring(text, static_cast<std::size_t>(length))
                                         : std::wstring();
}

}  // namespace

AboutContent::~AboutContent() {
    if (logo != nullptr) DeleteObject(logo);
}

std::wstring productNameOf(HMODULE module) {
    const std::wstring path = modulePath(module);
    std::vector<char> data = versionResource(path);
    std::wstring name = versionString(data, L"ProductName");
    return name.empty() ? fileTitle(path) : name;
}

void readAboutContent(HMODULE module, const AboutStringIds& ids, AboutContent& content) {
    const std::wstring path = modulePath(module);
    std::vector<char> data = versionResource(path);
    content.product = versionString(data, L"ProductName");
    content.version = fileVersion(data);
    if (content.product.empty() || content.version.empty()) {
        content.missing.push_back("version resource");
        if (content.product.empty()) content.product = fileTitle(path);
    }
    const struct {
        UINT id;
        std::wstring* text;
    } strings[] = {
        {ids.maker, &content.maker}, {ids.shortName, &content.shortName}, {ids.web, &content.web}};
    for (const auto& s : strings) {
        *s.text = stringResource(module, s.id);
        if (s.text->empty()) content.missing.push_back("string " + std::to_string(s.id));
    }
    content.logo = static_cast<HBITMAP>(
        LoadImageW(module, L"LOGO_ABOUT", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (content.logo == nullptr) content.missing.push_back("bitmap LOGO_ABOUT");
}

}  // namespace cq::libquintor

#include "common/win32/ServerRegistration.h"

#include <olectl.h>

#include "common/HostError.h"
#include "common/Port.h"
#include "common/win32/Text.h"
#include "common/win32/Win32Module.h"
#include "common/win32/Win32Registry.h"

namespace cq::win32 {
namespace {

bool survivesAnsi(const std::wstring& path) {
    const std::string utf8 = fromWide(path);
    return fromAnsi(toAnsi(utf8)) == utf8;
}

// The registry view that this DLL registers in: its own on 64-bit Windows; on
// 32-bit Windows the only one, named by no flag (Windows 2000 knows none).
RegistryView thisProcessView() {
    if (sizeof(void*) == 8) return RegistryView::Bits64;
    using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto isWow64 = kernel ? reinterpret_cast<IsWow64Fn>(reinterpret_cast<void (*)()>(
                                GetProcAddress(kernel, "IsWow64Process")))
                          : nullptr;
    BOOL wow64 = FALSE;
    if (isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64) return RegistryView::Bits32;
    return RegistryView::Only;
}

// Runs `change` for this process's registry view, with the real registry in
// force when no registry port is: S_OK when it succeeds, SELFREG_E_CLASS when
// it fails or throws.
template <class Change>
HRESULT changeRegistration(Change&& change) noexcept {
    try {
        const RegistryView view = thisProcessView();
        if (Port<Registry>::installed()) return change(view) ? S_OK : SELFREG_E_CLASS;
        Win32Registry real;
        ScopedPort<Registry> port(real);
        return change(view) ? S_OK : SELFREG_E_CLASS;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

}  // namespace

std::string guidText(REFGUID guid) {
    wchar_t text[39];
    StringFromGUID2(guid, text, 39);
    return fromWide(text);
}

std::string registrablePath(const std::wstring& path) {
    if (survivesAnsi(path)) return fromWide(path);
    DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) throw lastError("GetShortPathName failed");
    std::wstring shortPath(n, L'\0');
    n = GetShortPathNameW(path.c_str(), shortPath.data(), n);
    if (n == 0 || n >= shortPath.size()) throw lastError("GetShortPathName failed");
    shortPath.resize(n);
    if (!survivesAnsi(shortPath))
        throw HostError(static_cast<std::int32_t>(SELFREG_E_CLASS),
                        "the module path cannot be stored in the ANSI code page");
    return fromWide(shortPath);
}

HRESULT registerServer(const Registration& registration) noexcept {
    return changeRegistration([&](RegistryView view) {
        return writeRegistration(registration, registrablePath(modulePath(thisModule())), view);
    });
}

HRESULT unregisterServer(const Registration& registration) noexcept {
    return changeRegistration(
        [&](RegistryView view) { return removeRegistration(registration, view); });
}

}  // namespace cq::win32

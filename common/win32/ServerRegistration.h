#pragma once
// DllRegisterServer and DllUnregisterServer of an add-in DLL: its
// Registration (common/Registration.h) written or removed for the module that
// holds this code, per user. The registry is Port<Registry>, or the real one
// when no port is installed.

#include <windows.h>

#include <string>

#include "common/Registration.h"
#include "common/win32/ClassFactory.h"

namespace cq::win32 {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex digits.
std::string guidText(REFGUID guid);

// `path` as UTF-8 text that survives the ANSI registry functions: the path
// itself when the ANSI code page holds all of its characters, otherwise its
// short (8.3) form. Throws HostError when neither fits.
std::string registrablePath(const std::wstring& path);

// S_OK, or SELFREG_E_CLASS when the registration could not be written
// (nothing of it is left then) or removed.
HRESULT registerServer(const Registration& registration) noexcept;
HRESULT unregisterServer(const Registration& registration) noexcept;

// Defined by each add-in DLL, whose exports ServerExports.cpp makes from
// them: the one class that it serves, and how that class is registered.
extern const ServedClass kAddInClass;
Registration addInRegistration();

}  // namespace cq::win32

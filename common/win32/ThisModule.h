#pragma once
// The module that holds this code (an add-in's DLL, or the program that links
// it in a test) and the paths of modules: found once, in one way.

#include <windows.h>

#include <string>

#include "common/HostError.h"

namespace cq::win32 {

// GetLastError's code as a failure described by `what`.
HostError lastError(const char* what);

// This module's handle, found from an address inside it on first use.
// Throws HostError when Windows cannot tell.
HMODULE thisModule();

// The full path of `module`, however long. Throws HostError when Windows
// cannot tell.
std::wstring modulePath(HMODULE module);

// The folder of `module` (UTF-8, without a trailing separator).
std::string moduleFolder(HMODULE module);

}  // namespace cq::win32

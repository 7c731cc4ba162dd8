#pragma once
// The module that holds this code (an add-in's DLL, or the program that links
// it in a test), found once and in one way, and the paths of modules; and the
// Module port over it: its folder, its instance handle, and its file version
// from the version resource.

#include <windows.h>

#include <string>

#include "common/HostError.h"
#include "common/Module.h"

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

class Win32Module final : public Module {
  public:
    std::string folder() override;
    std::uintptr_t instance() override;
    ModuleVersion version() override;

  private:
    std::string folder_;  // found on first use; the module does not move
};

}  // namespace cq::win32

#pragma once
// The module that holds this code (the add-in's DLL, or the program that
// links it): its folder from GetModuleFileNameW, its instance handle, and
// its file version from the version resource.

#include "common/Module.h"

namespace cq::win32 {

class Win32Module final : public Module {
  public:
    std::string folder() override;
    std::uintptr_t instance() override;
    ModuleVersion version() override;

  private:
    std::string folder_;  // found on first use; the module does not move
};

}  // namespace cq::win32

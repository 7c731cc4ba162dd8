#pragma once
// The add-in's own module as a test sets it up.

#include "common/HostError.h"
#include "common/Module.h"

namespace cq::test {

class FakeModule : public Module {
  public:
    std::string folder() override {
        if (folderMissing) throw HostError(126, "The specified module could not be found");
        return folderPath;
    }
    std::uintptr_t instance() override { return handle; }
    ModuleVersion version() override { return versionNumbers; }

    std::string folderPath = "C:\\Program Files\\Inkwell";
    bool folderMissing = false;
    std::uintptr_t handle = 0x10000000;
    ModuleVersion versionNumbers{1, 0, 0, 1};
};

}  // namespace cq::test

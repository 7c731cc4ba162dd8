#pragma once
// The add-in's own module: the folder it was loaded from, its instance handle
// and its version. Both add-ins reach it through Port<Module>.

#include <cstdint>
#include <string>

namespace cq {

// The four numbers of the module's file version: major.minor.build.revision.
struct ModuleVersion {
    int major = 0;
    int minor = 0;
    int build = 0;
    int revision = 0;

    friend bool operator==(const ModuleVersion&, const ModuleVersion&) = default;
};

class Module {
  public:
    virtual ~Module() = default;
    // The folder of the module file, without a trailing separator (for
    // example "C:\Program Files\Inkwell"). Throws HostError when unknown.
    virtual std::string folder() = 0;
    // The module's instance handle.
    virtual std::uintptr_t instance() = 0;
    // The file version; all zero when the module carries no version resource.
    virtual ModuleVersion version() = 0;
};

}  // namespace cq

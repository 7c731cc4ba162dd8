#pragma once
// Port: picture objects made from the add-in's own resources, as the host's
// command-bar faces (Picture, Mask) and ribbon images take them. Each add-in
// installs its own, bound to its own module. Reached through Port<Pictures>.

#include <string>

#include "common/host/Dispatch.h"

namespace cq {

class Pictures {
  public:
    virtual ~Pictures() = default;
    // A picture object (IPictureDisp on Windows) holding the bitmap resource
    // `name`. Throws HostError when the resource cannot be loaded.
    virtual Dispatch bitmap(const std::string& name) = 0;
    // The same for the icon group resource `name`.
    virtual Dispatch icon(const std::string& name) = 0;
};

}  // namespace cq

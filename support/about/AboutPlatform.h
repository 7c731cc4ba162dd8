#pragma once
// What the About entries need from the system: the product name for the
// entry's caption, the About window itself, and the log. Everything about the
// product comes from the module whose instance handle the library was given.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/host/Dispatch.h"

namespace cq::libquintor {

class AboutPlatform {
  public:
    virtual ~AboutPlatform() = default;

    // The product name of module `instance` ("Chronoquill"). Throws HostError
    // when the module cannot be read.
    virtual std::string productName(std::uintptr_t instance) = 0;
    // Shows the About window of module `instance`, modal and owned by the
    // window of `explorer`, and returns once it is closed. Parts that cannot
    // be shown are left out and logged; throws HostError when there is no
    // window at all.
    virtual void showAbout(std::uintptr_t instance, const Dispatch& explorer) = 0;
    // One error entry in the library's log.
    virtual void logError(std::string_view source, std::int32_t number,
                          const std::string& message) = 0;
};

}  // namespace cq::libquintor

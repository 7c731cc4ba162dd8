#include "common/AddInContract.h"

#include <limits>

namespace cq {

std::int32_t HostMajorVersion(std::string_view version) noexcept {
    std::int64_t n = 0;
    for (char c : version.substr(0, version.find('.'))) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
        if (n > std::numeric_limits<std::int32_t>::max()) return 0;
    }
    return static_cast<std::int32_t>(n);
}

}  // namespace cq

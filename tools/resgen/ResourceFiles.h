#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cq::resgen {

struct ResourceFile {
    std::string path;  // relative to the repository's root, with forward slashes
    std::vector<std::uint8_t> bytes;
};

// Every bitmap and icon file that the add-ins' resource scripts name.
std::vector<ResourceFile> resourceFiles();

}  // namespace cq::resgen

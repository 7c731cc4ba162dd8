#pragma once
// A 64-bit file time as the file system reports it: two 32-bit halves, low
// then high. Only compared for equality.

#include <cstdint>

namespace cq {

struct FileTime {
    std::uint32_t dwLowDateTime = 0;
    std::uint32_t dwHighDateTime = 0;

    friend bool operator==(const FileTime&, const FileTime&) = default;
};

}  // namespace cq

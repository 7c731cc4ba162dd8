#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cq::resgen {

// Reads back the little-endian fields of a Windows file.
inline std::uint32_t u16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return bytes.at(offset) | bytes.at(offset + 1) << 8;
}
inline std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return u16At(bytes, offset) | u16At(bytes, offset + 2) << 16;
}
inline std::int32_t i32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::int32_t>(u32At(bytes, offset));
}

}  // namespace cq::resgen

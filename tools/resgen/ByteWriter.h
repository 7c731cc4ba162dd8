#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace cq::resgen {

// Appends little-endian fields to a byte buffer, as the Windows file formats store them.
class ByteWriter {
  public:
    void u8(std::uint32_t value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }
    void u16(std::uint32_t value) {
        u8(value);
        u8(value >> 8);
    }
    void u32(std::uint32_t value) {
        u16(value);
        u16(value >> 16);
    }
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    // Zero bytes up to the next multiple of four counted from `start`.
    void padFrom(std::size_t start) {
        while ((bytes_.size() - start) % 4 != 0) u8(0);
    }

    std::size_t size() const { return bytes_.size(); }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace cq::resgen

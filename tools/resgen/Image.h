#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace cq::resgen {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// A picture whose pixels are either painted with a colour or left clear
// (clear pixels become the transparent part of an icon or a button face).
class Image {
  public:
    Image(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // The colour at (x, y), counted from the top left; nothing when clear.
    std::optional<Rgb> at(int x, int y) const;
    void paint(int x, int y, Rgb colour);

  private:
    std::size_t index(int x, int y) const;

    int width_;
    int height_;
    std::vector<std::optional<Rgb>> pixels_;
};

// Every clear pixel of the image painted with the background.
Image onBackground(const Image& image, Rgb background);

// The mask of a toolbar face: black where the image is painted, white where it is clear.
Image maskOf(const Image& image);

}  // namespace cq::resgen

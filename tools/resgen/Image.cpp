#include "tools/resgen/Image.h"

#include <stdexcept>

namespace cq::resgen {

Image::Image(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("image without pixels");
}

std::size_t Image::index(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("pixel outside");
    return static_cast<std::size_t>(y) * width_ + x;
}

std::optional<Rgb> Image::at(int x, int y) const { return pixels_[index(x, y)]; }

void Image::paint(int x, int y, Rgb colour) { pixels_[index(x, y)] = colour; }

Image onBackground(const Image& image, Rgb background) {
    Image result(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            result.paint(x, y, image.at(x, y).value_or(background));
    return result;
}

Image maskOf(const Image& image) {
    Image result(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            result.paint(x, y, image.at(x, y) ? kBlack : kWhite);
    return result;
}

}  // namespace cq::resgen

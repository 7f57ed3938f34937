#include "image.h"

#include <algorithm>
#include <cmath>

Rgb lerp(Rgb a, Rgb b, double t) {
    auto mix = [t](int p, int q) {
        return static_cast<std::uint8_t>(std::lround(p + (q - p) * std::clamp(t, 0.0, 1.0)));
    };
    return Rgb{mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

Image::Image(int width, int height, Rgb background)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, background) {}

void Image::fill_rect(int x, int y, int w, int h, Rgb c) {
    int x0 = std::max(x, 0), y0 = std::max(y, 0);
    int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) pixels_[index(xx, yy)] = c;
}

Image Image::scaled(int factor) const {
    Image out(width_ * factor, height_ * factor);
    for (int y = 0; y < out.height_; ++y)
        for (int x = 0; x < out.width_; ++x) out.pixels_[out.index(x, y)] = at(x / factor, y / factor);
    return out;
}

// An RGB canvas with clipped drawing, the common ground of every picture
// the tool renders.
#pragma once

#include <cstdint>
#include <vector>

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// Keys the game treats as "see-through"; never used for visible pixels.
constexpr Rgb kKeyBlue{0, 0, 255};
constexpr Rgb kKeyMagenta{255, 0, 255};

Rgb lerp(Rgb a, Rgb b, double t);

class Image {
public:
    Image() = default;
    Image(int width, int height, Rgb background = Rgb{});

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Rgb at(int x, int y) const { return pixels_[index(x, y)]; }
    // Writes outside the canvas are silently dropped, like a screen clip.
    void plot(int x, int y, Rgb c) {
        if (contains(x, y)) pixels_[index(x, y)] = c;
    }
    void fill_rect(int x, int y, int w, int h, Rgb c);
    // Each pixel becomes a factor x factor block.
    Image scaled(int factor) const;

private:
    int index(int x, int y) const { return y * width_ + x; }
    int width_ = 0, height_ = 0;
    std::vector<Rgb> pixels_;
};

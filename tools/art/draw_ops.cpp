#include "draw_ops.h"

#include <algorithm>
#include <cmath>

void draw_frame(Image& img, Box b, Rgb colour, int t) {
    img.fill_rect(b.x, b.y, b.w, t, colour);
    img.fill_rect(b.x, b.y + b.h - t, b.w, t, colour);
    img.fill_rect(b.x, b.y, t, b.h, colour);
    img.fill_rect(b.x + b.w - t, b.y, t, b.h, colour);
}

void draw_bevel(Image& img, Box b, Rgb light, Rgb dark, int t) {
    img.fill_rect(b.x, b.y + b.h - t, b.w, t, dark);
    img.fill_rect(b.x + b.w - t, b.y, t, b.h, dark);
    img.fill_rect(b.x, b.y, b.w - 1, t, light);
    img.fill_rect(b.x, b.y, t, b.h - 1, light);
}

void draw_gradient(Image& img, Box b, Rgb top, Rgb bottom, int steps, bool dither) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int row = 0; row < b.h; ++row) {
        const double t = b.h > 1 ? static_cast<double>(row) / (b.h - 1) : 0.0;
        for (int col = 0; col < b.w; ++col) {
            const int x = b.x + col, y = b.y + row;
            Rgb c;
            if (steps < 2) {
                c = lerp(top, bottom, t);
            } else {
                double v = t * (steps - 1);
                double threshold = dither ? (bayer[y & 3][x & 3] + 0.5) / 16.0 : 0.5;
                int band = std::min(static_cast<int>(std::floor(v + threshold)), steps - 1);
                c = lerp(top, bottom, static_cast<double>(band) / (steps - 1));
            }
            img.plot(x, y, c);
        }
    }
}

void draw_ellipse(Image& img, Box b, Rgb colour) {
    const double rx = b.w / 2.0, ry = b.h / 2.0;
    for (int row = 0; row < b.h; ++row)
        for (int col = 0; col < b.w; ++col) {
            double dx = (col + 0.5 - rx) / rx, dy = (row + 0.5 - ry) / ry;
            if (dx * dx + dy * dy <= 1.0) img.plot(b.x + col, b.y + row, colour);
        }
}

static bool grid_colour(const Palette& palette, const GridPlacement& how, char c, Rgb& out) {
    if (c == '.') return false;
    auto it = how.recolour.find(c);
    if (it != how.recolour.end()) {
        out = it->second;
        return true;
    }
    if (auto p = palette.by_char(c)) {
        out = *p;
        return true;
    }
    return false; // grids are checked on load, so this is never reached
}

void draw_grid(Image& img, const Palette& palette, const Grid& grid, int x, int y, const GridPlacement& how) {
    const int s = std::max(how.scale, 1);
    for (int gy = 0; gy < grid.height; ++gy)
        for (int gx = 0; gx < grid.width; ++gx) {
            char c = grid.rows[gy][how.flip ? grid.width - 1 - gx : gx];
            Rgb colour;
            if (grid_colour(palette, how, c, colour)) img.fill_rect(x + gx * s, y + gy * s, s, s, colour);
        }
}

void draw_pattern(Image& img, const Palette& palette, const Grid& grid, Box b, const GridPlacement& how) {
    const int s = std::max(how.scale, 1);
    const int tw = grid.width * s, th = grid.height * s;
    for (int row = 0; row < b.h; ++row)
        for (int col = 0; col < b.w; ++col) {
            int gx = (col % tw) / s, gy = (row % th) / s;
            char c = grid.rows[gy][how.flip ? grid.width - 1 - gx : gx];
            Rgb colour;
            if (grid_colour(palette, how, c, colour)) img.plot(b.x + col, b.y + row, colour);
        }
}

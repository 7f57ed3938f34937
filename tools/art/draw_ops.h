// Drawing primitives behind the scene commands.
#pragma once

#include "grid.h"
#include "image.h"

#include <map>

using ColourMap = std::map<char, Rgb>; // grid character -> replacement colour

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
};

void draw_frame(Image& img, Box b, Rgb colour, int thickness);

// Light on the top and left edges, dark on the bottom and right: a raised
// plate, or a sunken slot when the colours are swapped.
void draw_bevel(Image& img, Box b, Rgb light, Rgb dark, int thickness);

// Vertical gradient in 'steps' flat bands (0 = smooth). With 'dither' the
// band edges are blended by an ordered 4x4 pattern, the classic 16-bit way
// to hide banding on few colours.
void draw_gradient(Image& img, Box b, Rgb top, Rgb bottom, int steps, bool dither);

void draw_ellipse(Image& img, Box b, Rgb colour);

struct GridPlacement {
    int scale = 1;
    bool flip = false; // mirror left-right
    ColourMap recolour;
};

// Grid pixels scaled up, '.' left untouched.
void draw_grid(Image& img, const Palette& palette, const Grid& grid, int x, int y, const GridPlacement& how);

// Repeats the grid across the box, aligned to its top-left, clipped to it.
void draw_pattern(Image& img, const Palette& palette, const Grid& grid, Box b, const GridPlacement& how);

// Where things stand on the game screen. The click actions and the drawing
// both read it, so what is drawn is exactly what can be clicked.
#pragma once

#include "gfx/screen.h"

// Map cells, tiles, sprites, icons and cursor frames are 16x16 pixels.
const int kCell = 16;

// The buildable grid, and so the largest map, in cells.
const int kMaxMapColumns = 128;
const int kMaxMapRows = 96;

// The sidebar is this wide when open.
const int kSidebarWidth = 80;

// The left edge of the sidebar with `sidebarwidth` pixels of it on the
// screen. The map area is everything left of it.
inline int sidebar_left(int sidebarwidth) { return kScreenWidth - sidebarwidth; }

// Whether a screen point lies in the map area, where the placement preview
// shows and a click places. The cursor can stand one pixel past the screen's
// right and bottom edges: there it is outside.
inline bool in_map_area(int x, int y, int sidebarwidth) {
    return x >= 0 && y >= 0 && x < sidebar_left(sidebarwidth) && y < kScreenHeight;
}

// A 16x16 square of the screen by its top-left corner.
struct Square {
    int left, top;

    // Edges excluded: how a sidebar icon is hit.
    bool strictly_inside(int x, int y) const { return x > left && x < left + kCell && y > top && y < top + kCell; }
    // Left and top edges included: how the Ready button is hit.
    bool contains(int x, int y) const { return x >= left && x < left + kCell && y >= top && y < top + kCell; }
};

// Turret type i's icon: three columns 21 pixels apart, and rows 21 pixels
// apart from y = 98 down, as many as there are types.
inline Square icon_square(int i, int sidebarwidth) {
    return {sidebar_left(sidebarwidth) + 11 + 21 * (i % 3), static_cast<int>((i / 3 + 0.5) * 21 + 88)};
}

// The Ready button, above the bottom edge.
inline Square ready_square(int sidebarwidth) { return {sidebar_left(sidebarwidth) + 12, 216}; }

// The map cell under the placement preview, and where the preview stands.
struct PlacementCell {
    int column, row;  // map cell a click builds on
    int x, y;         // the preview's top-left corner on the screen
};

// For a cursor in the map area. The cursor's hot spot is its centre, so the
// cell is the one nearest to it on the map's grid, which the scroll shifts
// against the screen: C++'s % and / keep the sign of mapx.
inline PlacementCell placement_cell(int cursorx, int cursory, int mapx, int mapy) {
    const int col = (cursorx + kCell / 2) / kCell;  // both non-negative: a floor
    const int row = (cursory + kCell / 2) / kCell;
    return {col - mapx / kCell, row - mapy / kCell, kCell * col + mapx % kCell, kCell * row + mapy % kCell};
}

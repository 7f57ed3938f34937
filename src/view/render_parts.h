// Pieces of Sim::render shared between its source files.
#pragma once

#include "game/saturate.h"
#include "game/sim.h"
#include "gfx/screen.h"
#include "gfx/sheet_cache.h"

namespace render_detail {

// Blits the 16x16 square at (sx, sy) of a sheet onto the screen with its
// top-left corner at (x, y); returns SDL's blit result.
inline int blit_square(SDL_Surface* sheet, int sx, int sy, int x, int y) {
    SDL_Rect src = {static_cast<Sint16>(sx), static_cast<Sint16>(sy), kCell, kCell};
    SDL_Rect dst = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    return SDL_UpperBlit(sheet, &src, screen, &dst);
}

// Blits the 16x16 cell (column cx, row cy) of sheet with its top-left
// corner at (x, y) of the screen or of another target in its format. A
// negative cell or a missing sheet draws nothing.
inline void blit_cell(SDL_Surface* sheet, int cx, int cy, int x, int y, SDL_Surface* target = screen) {
    if (!sheet || cx < 0 || cy < 0) return;
    // A cell past the sheet shows nothing; testing it here also keeps the
    // 16-bit source rectangle from wrapping for absurd cell numbers.
    if (cx >= sheet->w / kCell + 1 || cy >= sheet->h / kCell + 1) return;
    blit_prepared(sheet, cx * kCell, cy * kCell, kCell, kCell, target, x, y);
}

}  // namespace render_detail

namespace render_detail {

// Draws the open part of the sidebar: counters, current wave, Ready button
// and the turret icons with the hover frame and tooltip. Returns whether an
// icon is hovered (it then has set the cursor frame to 1 or 2).
bool render_sidebar(Sim& sim);

}  // namespace render_detail

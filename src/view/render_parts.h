// Pieces of Sim::render shared between its source files.
#pragma once

#include "app/globals.h"
#include "game/saturate.h"
#include "game/sim.h"

namespace render_detail {

const int kScreenW = 320;
const int kScreenH = 240;
const int kCell = 16;

// Blits the 16x16 cell (column cx, row cy) of sheet with its top-left
// corner at (x, y). A negative cell or a missing sheet draws nothing.
inline void blit_cell(SDL_Surface* sheet, int cx, int cy, int x, int y) {
    if (!sheet || cx < 0 || cy < 0) return;
    // A cell past the sheet shows nothing; testing it here also keeps the
    // 16-bit source rectangle from wrapping for absurd cell numbers.
    if (cx >= sheet->w / kCell + 1 || cy >= sheet->h / kCell + 1) return;
    SDL_Rect src;
    src.x = static_cast<Sint16>(cx * kCell);
    src.y = static_cast<Sint16>(cy * kCell);
    src.w = kCell;
    src.h = kCell;
    SDL_Rect dst;
    dst.x = static_cast<Sint16>(x);
    dst.y = static_cast<Sint16>(y);
    dst.w = 0;
    dst.h = 0;
    SDL_UpperBlit(sheet, &src, screen, &dst);
}

}  // namespace render_detail

namespace render_detail {

// Draws the open part of the sidebar: counters, current wave, Ready button
// and the turret icons with the hover frame and tooltip. Returns whether an
// icon is hovered (it then has set the cursor frame to 1 or 2).
bool render_sidebar(Sim& sim);

}  // namespace render_detail

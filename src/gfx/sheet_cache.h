// Sprite sheets kept ready for the masked blitter: the level's tile set,
// the symbols. Each is learned from SDL the first time it is drawn and kept
// while it is in use, so a frame only pays for the pixels it draws.
#pragma once

#include "gfx/masked_sheet.h"

#include <SDL.h>

// The prepared copy of `sheet` for targets in `format`, or null when the
// masked blitter cannot draw it exactly; then blit with SDL.
const MaskedSheet* prepared_sheet(SDL_Surface* sheet, const SDL_PixelFormat* format);

// Blits the w x h rectangle at (sx, sy) of sheet onto target at (x, y) with
// the pixels SDL_UpperBlit gives, through the prepared copy where there is
// one. Needs sx, sy >= 0 and w <= 64.
void blit_prepared(SDL_Surface* sheet, int sx, int sy, int w, int h, SDL_Surface* target, int x, int y);

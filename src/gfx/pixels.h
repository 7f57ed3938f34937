// Raw pixel reads and integer line drawing on software surfaces.
#pragma once

#include <SDL.h>

// The pixel value at (x, y) for 1 to 4 bytes per pixel; the caller keeps
// (x, y) inside the surface.
Uint32 getpixel(SDL_Surface* surface, int x, int y);

// A line into a 16-bit surface, both ends included; each end is clamped into
// the surface on its own.
void line16(SDL_Surface* surface, int x1, int y1, int x2, int y2, Uint32 colour);


// Copies a w x h block of pixels (row after row) into a 16-bit surface at
// (x, y), cut to its clip rectangle as a blit would be.
void put_block16(SDL_Surface* surface, int x, int y, const Uint16* pixels, int w, int h);

// SDL_FillRect of a 16-bit surface, null meaning its clip rectangle, with
// whole rows at memset speed where both bytes of the colour are the same.
void fill16(SDL_Surface* surface, const SDL_Rect* rect, Uint32 colour);

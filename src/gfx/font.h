// The 6x12 bitmap font: white glyphs with a black shadow one pixel down-right.
#pragma once

#include "gfx/text_lines.h"

#include <SDL.h>

// The glyph strips, loaded by the first text drawn and kept for the life of
// the process: 256 glyphs of 6x12 side by side, in the format of the files.
extern SDL_Surface* letters;        // white glyphs, black transparent
extern SDL_Surface* letters_black;  // their shadow, white transparent

// One line of text onto the screen; (x, y) is the first glyph's top-left
// corner, or the line's centre when centre is non-zero. A non-zero clamp
// keeps the line on the screen.
void draw_text(float x, float y, const char* text, int centre, int clamp);

// draw_text at a whole pixel, as most callers have it. Every screen
// coordinate is exact in a float, so this draws what draw_text would.
inline void draw_text_at(int x, int y, const char* text, int centre, int clamp) {
    draw_text(static_cast<float>(x), static_cast<float>(y), text, centre, clamp);
}

// Where draw_text puts the first glyph of a line of n characters given
// (x, y), centre and clamp.
void place_line(float* x, float* y, int n, int centre, int clamp);

// One line as draw_text draws it with centre and clamp 0, onto any surface
// in the screen's format: the pictures the view keeps ready use it.
void draw_text_on(SDL_Surface* target, float x, float y, const char* text);

// Lines separated by '#', drawn as a block with a 4-pixel margin.
void multiline_draw_text(int x, int y, const char* text, bool centre, bool clamp);

// The lines of a block whose top-left corner is at (x, y), inside its margin.
void draw_text_block(int x, int y, const TextLines& lines);

// Draws SDL's current error text at (x, y). The text is copied first: SDL
// keeps it in a buffer that loading the glyph strips may overwrite.
void draw_sdl_error(int x, int y);

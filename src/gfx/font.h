// The 6x12 bitmap font: white glyphs with a black shadow one pixel down-right.
#pragma once

// One line of text onto the screen; (x, y) is the first glyph's top-left
// corner, or the line's centre when centre is non-zero. A non-zero clamp
// keeps the line on the screen.
void draw_text(float x, float y, const char* text, int centre, int clamp);

// Lines separated by '#', drawn as a block with a 4-pixel margin.
void multiline_draw_text(int x, int y, const char* text, bool centre, bool clamp);

// Draws SDL's current error text at (x, y). The text is copied first: SDL
// keeps it in a buffer that loading the glyph strips may overwrite.
void draw_sdl_error(int x, int y);

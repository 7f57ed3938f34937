// Lines of text that stand on the screen frame after frame (the message
// box, a tooltip), drawn once into a picture of their own and blitted from
// it after: one blit per 64 columns instead of one per glyph.
#pragma once

#include "gfx/masked_sheet.h"

#include <SDL.h>

class TextPictures {
public:
    // Keeps pictures of the last `count` different lines drawn.
    explicit TextPictures(int count);
    ~TextPictures();
    TextPictures(const TextPictures&) = delete;
    TextPictures& operator=(const TextPictures&) = delete;

    // Draws text onto the screen with the pixels draw_text(x, y, text,
    // centre, 0) gives. A line at a place where the glyphs would not stand 6 pixels
    // apart (left of the screen, between whole pixels) is drawn by
    // draw_text itself.
    void draw(float x, float y, const char* text, int centre = 0);

    // The longest line kept as a picture; longer ones are drawn by draw_text.
    static const int kMaxLength = 199;

private:
    struct Picture;
    Picture* pictures_;
    int count_;
    unsigned clock_ = 0;
};

// Splitting a '#'-separated text into the lines of a text block, and the
// block's measures in the 6x12 font with its 4-pixel margin.
#pragma once

#include <SDL.h>

// The font's glyphs are 6x12 pixels; a text block keeps a 4-pixel margin
// around its lines.
const int kGlyphWidth = 6;
const int kGlyphHeight = 12;
const int kTextMargin = 4;

struct TextLines {
    static const int workbytes = 1000;  // texts of up to 999 characters
    static const int maxlines = 10;
    static const int linebytes = 400;   // lines of up to 399 characters

    char line[maxlines][linebytes];
    int count;
    Uint16 width;   // the widest line's glyphs and both margins
    int height;     // the lines and both margins
};

// Splits text at '#' the way strtok does: runs of '#' separate once and
// leading or trailing '#' make no line. A text that yields no line at all
// becomes one line holding the whole text. Past the limits the text is cut:
// characters after the 999th are ignored, lines after the 10th are dropped
// and each line keeps its first 399 characters. The caller's text is not
// changed; the result never overruns its tables.
void split_text_lines(const char* text, TextLines& out);

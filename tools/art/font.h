// The game's 6x12 bitmap font, read from its editable grid form, plus the
// text drawing shared by the letter sheets and the pictures.
#pragma once

#include "image.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class Font {
public:
    static constexpr int kCellW = 6;
    static constexpr int kCellH = 12;

    // 256 blocks "char N" followed by 12 rows of 6 '#'/'.' cells.
    static Font load(const std::string& path);

    bool ink(unsigned char c, int x, int y) const { return (rows_[c][y] >> x) & 1; }

    // The sheet the game reads: every byte's cell side by side, 1536x12.
    Image sheet(Rgb ink, Rgb paper) const;

private:
    std::array<std::array<std::uint8_t, kCellH>, 256> rows_{};
};

// Decodes UTF-8 text to Latin-1 bytes, the font's encoding. Returns false
// if a character lies outside Latin-1 or the text is not valid UTF-8.
bool utf8_to_latin1(const std::string& text, std::string& out);

// A stretch of text in one colour, or a vertical gradient when the two
// colours differ.
struct TextRun {
    std::string latin1;
    Rgb top{255, 255, 255};
    Rgb bottom{255, 255, 255};
};

struct TextStyle {
    int scale = 1;
    bool shadow = false;
    Rgb shadow_colour{};
    bool outline = false;
    Rgb outline_colour{};
    // Thickens strokes rightwards by half the scale: the thin terminal
    // font reads better this way in big titles.
    bool bold = false;
};

// Latin-1 text width in pixels at the given scale (bold adds nothing: the
// font leaves a blank column on the right of each cell).
int text_width(const std::string& latin1, int scale);

// Draws the runs one after another with the first cell's top-left at
// (x, y). The shadow sits 'scale' pixels right and down, like the game's
// own text; the outline rings every ink pixel.
void draw_text(Image& image, const Font& font, int x, int y, const std::vector<TextRun>& runs, const TextStyle& style);

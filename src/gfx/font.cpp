#include "gfx/font.h"

#include "gfx/image.h"
#include "gfx/masked_sheet.h"
#include "gfx/screen.h"

#include <cstdio>
#include <cstring>

SDL_Surface* letters = nullptr;
SDL_Surface* letters_black = nullptr;

namespace {

// Both strips are needed; without them no text can be drawn, so a missing
// strip stops the game the same way a missing picture does.
void load_fonts() {
    letters = load_bmp_or_exit("letters.bmp");
    letters_black = load_bmp_or_exit("letters_black.bmp");
    SDL_SetColorKey(letters, SDL_SRCCOLORKEY, SDL_MapRGB(letters->format, 0, 0, 0));
    SDL_SetColorKey(letters_black, SDL_SRCCOLORKEY, SDL_MapRGB(letters_black->format, 255, 255, 255));
}

// The strips stay as they were loaded, and SDL's converting colour-key blit
// made every glyph cost some 20 instructions a pixel. So the glyphs are
// drawn from a private copy in the target's format: glyph c in the slot at
// x = 8c, its shadow (one pixel down and right) with the glyph over it, as
// the two blits of the strips leave them.
const int kSlot = 8;
const int kCellWidth = kGlyphWidth + 1, kCellHeight = kGlyphHeight + 1;

struct Glyphs {
    SheetSource white, shadow;  // what the copy was made from
    bool usable = false;
    MaskedSheet cells;
};

// Never destroyed: it holds the strips, which live until the process ends.
Glyphs& glyphs() {
    static Glyphs& g = *new Glyphs;
    return g;
}

void put_strip(MaskedSheet& cells, const MaskedSheet& strip, int offset) {
    for (int c = 0; c < 256; c++)
        for (int y = 0; y < kGlyphHeight && y < strip.h(); y++)
            for (int x = kGlyphWidth * c; x < kGlyphWidth * (c + 1) && x < strip.w(); x++)
                if (strip.opaque(x, y)) cells.put(kSlot * c + x - kGlyphWidth * c + offset, y + offset, strip.pixel(x, y));
}

// Whether the copy can draw onto target, made anew when the strips or the
// target's format are not those it was made for.
bool glyphs_for(SDL_Surface* target) {
    Glyphs& g = glyphs();
    const SDL_PixelFormat* format = target->format;
    if (g.white.same(letters, format) && g.shadow.same(letters_black, format)) return g.usable;
    MaskedSheet white, shadow;
    g.usable = white.learn(letters, format) && shadow.learn(letters_black, format);
    g.white.hold(letters, format);
    g.shadow.hold(letters_black, format);
    g.cells.reset(g.usable ? kSlot * 256 : 0, kCellHeight);
    if (g.usable) {
        put_strip(g.cells, shadow, 1);
        put_strip(g.cells, white, 0);
    }
    return g.usable;
}

// One line from the strips themselves, for a target the copy cannot serve.
void blit_strips(SDL_Surface* target, float x, float y, const char* text, int n) {
    for (int i = 0; i < n; i++) {
        float gx = x + static_cast<float>(kGlyphWidth * i);
        if (gx < -30000.0f) continue;
        if (gx > 30000.0f) break;
        unsigned char c = static_cast<unsigned char>(text[i]);
        SDL_Rect src = {static_cast<Sint16>(kGlyphWidth * c), 0, kGlyphWidth, kGlyphHeight};
        SDL_Rect shadow = {static_cast<Sint16>(static_cast<int>(gx) + 1), static_cast<Sint16>(static_cast<int>(y) + 1), 0, 0};
        SDL_UpperBlit(letters_black, &src, target, &shadow);
        SDL_Rect dest = {static_cast<Sint16>(static_cast<int>(gx)), static_cast<Sint16>(static_cast<int>(y)), 0, 0};
        SDL_UpperBlit(letters, &src, target, &dest);
    }
}

void draw_line(SDL_Surface* target, float x, float y, const char* text, int n) {
    if (letters == nullptr) load_fonts();
    // Coordinates beyond the 16-bit range cannot be blitted and are off the
    // screen anyway.
    if (y < -30000.0f || y > 30000.0f) return;
    if (!glyphs_for(target)) return blit_strips(target, x, y, text, n);
    SurfaceLock lock(target);
    if (!lock.ok()) return;  // as a blit that cannot lock: nothing drawn
    const MaskedSheet& cells = glyphs().cells;
    const int top = static_cast<int>(y);
    for (int i = 0; i < n; i++) {
        float gx = x + static_cast<float>(kGlyphWidth * i);
        if (gx < -30000.0f) continue;
        if (gx > 30000.0f) break;
        unsigned char c = static_cast<unsigned char>(text[i]);
        cells.blit(kSlot * c, 0, kCellWidth, kCellHeight, target, static_cast<int>(gx), top);
    }
}

}  // namespace

void place_line(float* x, float* y, int n, int centre, int clamp) {
    if (centre) {
        *x -= 3.0f * static_cast<float>(n);
        *y -= 6.0f;
    }
    if (clamp) {
        if (*x < 0) *x = 0;
        const float linew = static_cast<float>(kGlyphWidth * n);
        const float screenw = static_cast<float>(screen->w), screenh = static_cast<float>(screen->h);
        if (*x + linew > screenw) *x = screenw - linew;
        if (*y < 0) *y = 0;
        if (*y + kGlyphHeight > screenh) *y = screenh - kGlyphHeight;
    }
}

void draw_text(float x, float y, const char* text, int centre, int clamp) {
    if (letters == nullptr) load_fonts();
    int n = static_cast<int>(std::strlen(text));
    place_line(&x, &y, n, centre, clamp);
    draw_line(screen, x, y, text, n);
}

void draw_text_on(SDL_Surface* target, float x, float y, const char* text) {
    draw_line(target, x, y, text, static_cast<int>(std::strlen(text)));
}

void multiline_draw_text(int x, int y, const char* text, bool centre, bool clamp) {
    static TextLines lines;  // 4 KB: kept off the console's small stack
    split_text_lines(text, lines);
    Uint16 blockw = lines.width;
    int blockh = lines.height;
    if (centre) {
        x -= blockw / 2;
        y -= blockh / 2;
    }
    if (clamp) {
        if (x > width - blockw) x = width - blockw;
        if (x < 0) x = 0;
        if (y > height - blockh) y = height - blockh;
        if (y < 0) y = 0;
    }
    draw_text_block(x, y, lines);
}

void draw_text_block(int x, int y, const TextLines& lines) {
    for (int k = 0; k < lines.count; k++)
        draw_text_at(x + kTextMargin, y + kGlyphHeight * k + kTextMargin, lines.line[k], 0, 0);
}

void draw_sdl_error(int x, int y) {
    char message[256];
    std::snprintf(message, sizeof message, "%s", SDL_GetError());
    draw_text_at(x, y, message, 0, 0);
}

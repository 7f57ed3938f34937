#include "gfx/text_picture.h"

#include "gfx/font.h"
#include "gfx/screen.h"
#include "gfx/text_lines.h"

#include <cstring>

struct TextPictures::Picture {
    char text[kMaxLength + 1] = {};
    SheetSource white, shadow;  // the glyph strips it was drawn with
    bool usable = false;
    MaskedSheet sheet;          // the line drawn with its first glyph at (0, 0)
    unsigned used = 0;
};

// The pictures hold the glyph strips, which live until the process ends: a
// pool that goes away first lets its references go with it, which is safe
// since nothing frees the strips.
TextPictures::TextPictures(int count) : pictures_(new Picture[count]), count_(count) {}

TextPictures::~TextPictures() {
    for (int i = 0; i < count_; i++) {
        pictures_[i].white.release();
        pictures_[i].shadow.release();
    }
    delete[] pictures_;
}

namespace {

// Where draw_text puts the first glyph, if every glyph stands 6 pixels
// right of the one before, as in the picture; false where they do not.
bool evenly_spaced(float x, float y, int n, int* left) {
    if (y < -30000.0f || y > 30000.0f) return false;
    const int x0 = static_cast<int>(x);
    for (int i = 0; i < n; i++) {
        const float gx = x + static_cast<float>(kGlyphWidth * i);  // as draw_text has it
        if (gx < -30000.0f || gx > 30000.0f || static_cast<int>(gx) != x0 + kGlyphWidth * i) return false;
    }
    *left = x0;
    return true;
}

}  // namespace

void TextPictures::draw(float x, float y, const char* text, int centre) {
    const size_t n = std::strlen(text);
    place_line(&x, &y, static_cast<int>(n), centre, 0);
    int left = 0;
    if (letters == nullptr) draw_text(0, 0, "", 0, 0);  // loads the strips
    if (n > static_cast<size_t>(kMaxLength) || !evenly_spaced(x, y, static_cast<int>(n), &left))
        return draw_text(x, y, text, 0, 0);

    const SDL_PixelFormat* format = screen->format;
    Picture* p = nullptr;
    Picture* oldest = &pictures_[0];
    for (int i = 0; i < count_ && !p; i++) {
        Picture& c = pictures_[i];
        if (std::strcmp(c.text, text) == 0 && c.white.same(letters, format) && c.shadow.same(letters_black, format)) p = &c;
        else if (c.used < oldest->used) oldest = &c;
    }
    if (!p) {
        p = oldest;
        std::memcpy(p->text, text, n + 1);
        p->white.hold(letters, format);
        p->shadow.hold(letters_black, format);
        const int w = kGlyphWidth * static_cast<int>(n) + 1, h = kGlyphHeight + 1;  // with the shadow
        p->usable = p->sheet.learn_drawing(w, h, format, [text](SDL_Surface* under) {
            draw_text_on(under, 0, 0, text);
            return true;
        });
    }
    p->used = ++clock_;
    if (!p->usable) return draw_text(x, y, text, 0, 0);

    SurfaceLock lock(screen);
    if (!lock.ok()) return;
    const int top = static_cast<int>(y);
    for (int c = 0; c < p->sheet.w() && left + c < screen->clip_rect.x + screen->clip_rect.w; c += 64)
        p->sheet.blit(c, 0, 64, p->sheet.h(), screen, left + c, top);
}

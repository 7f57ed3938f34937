// The loading screen: a grey frame with up to 100 bar segments, "Loading..."
// or an error on a red bar, and the level's name, comment and author as far
// as the loader has read them. Every call shows the whole screen.
//
// The loader repaints it for every line it reads, so a repaint must be
// cheap: the frame and the segments drawn so far are kept as a picture that
// each repaint adds its new segments to, and the texts as kept pictures.
#include "game/sim.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/masked_sheet.h"
#include "gfx/pixels.h"
#include "gfx/screen.h"
#include "gfx/text_picture.h"
#include "platform/clock.h"

#include <algorithm>
#include <cstdio>

namespace {

const int kSegments = 100;

// The frame and the first `from` to `to` segments, drawn onto target with
// the screen's point (x, y) at (x - dx, y - dy).
void draw_bar(const Sim& s, SDL_Surface* target, int dx, int dy, int from, int to) {
    const int cx = width / 2, cy = height / 2;
    if (from == 0) {
        SDL_Rect frame = {static_cast<Sint16>(cx - 101 - dx), static_cast<Sint16>(cy - 9 - dy), 202, 18};
        SDL_FillRect(target, &frame, SDL_MapRGB(target->format, 128, 128, 128));
    }
    // Segments 2 pixels apart; without a bar image there is nothing to repeat.
    if (s.barloaded)
        for (int i = from; i < to; i++) apply_surface(cx - 100 + 2 * i - dx, cy - 8 - dy, s.bar, target);
}

// The frame with the segments drawn so far, over the black of the screen,
// for the part of the screen they can cover.
struct BarPicture {
    SDL_Surface* picture = nullptr;
    SDL_Rect area = {};
    SheetSource bar;  // the bar image it was drawn with, or null
    int segments = 0;
};

// Never destroyed: it holds the bar image it was drawn with.
BarPicture& bar_picture() {
    static BarPicture& b = *new BarPicture;
    return b;
}

// Where the frame and the segments can draw: the frame, and further right
// and down for a bar image larger than the frame's inside, cut to the screen.
SDL_Rect bar_area(const Sim& s) {
    const int cx = width / 2, cy = height / 2;
    int x0 = cx - 101, y0 = cy - 9, x1 = cx + 101, y1 = cy + 9;
    if (s.barloaded) {
        x1 = std::max(x1, cx - 100 + 2 * (kSegments - 1) + s.bar->w);
        y1 = std::max(y1, cy - 8 + s.bar->h);
    }
    x0 = std::max(x0, 0), y0 = std::max(y0, 0), x1 = std::min(x1, screen->w), y1 = std::min(y1, screen->h);
    if (x0 >= x1 || y0 >= y1) return SDL_Rect{};
    return {static_cast<Sint16>(x0), static_cast<Sint16>(y0), static_cast<Uint16>(x1 - x0), static_cast<Uint16>(y1 - y0)};
}

bool same_place(const SDL_Rect& a, const SDL_Rect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

// Shows the frame and `segments` segments from the picture, bringing it up
// to date first; false when there can be no picture.
bool show_bar(const Sim& s, int segments) {
    BarPicture& b = bar_picture();
    const SDL_PixelFormat* format = screen->format;
    SDL_Surface* image = s.barloaded ? s.bar : nullptr;
    const SDL_Rect area = bar_area(s);
    if (area.w == 0) return true;  // off the screen: nothing to show
    const bool fits = b.picture && same_place(b.area, area) && b.picture->format->BitsPerPixel == format->BitsPerPixel &&
                      b.picture->format->Rmask == format->Rmask && b.picture->format->Gmask == format->Gmask &&
                      b.picture->format->Bmask == format->Bmask;
    if (!fits) {
        if (b.picture) SDL_FreeSurface(b.picture);
        b.picture = SDL_CreateRGBSurface(SDL_SWSURFACE, area.w, area.h, format->BitsPerPixel, format->Rmask,
                                         format->Gmask, format->Bmask, 0);
        b.area = area;
        if (!b.picture) return false;
    }
    // Segments only ever come on top of the ones before; fewer, or another
    // bar image, start the picture again.
    if (!fits || !b.bar.same(image, format) || segments < b.segments) {
        fill16(b.picture, nullptr, SDL_MapRGB(format, 0, 0, 0));
        b.segments = 0;
    }
    draw_bar(s, b.picture, area.x, area.y, b.segments, segments);
    b.bar.hold(image, format);
    b.segments = segments;
    apply_surface(area.x, area.y, b.picture, screen);
    return true;
}

}  // namespace

void Sim::updatescreen(int progress, const char* message, bool error) {
    const int cx = width / 2;
    const int cy = height / 2;
    fill16(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
    const int segments = std::clamp(progress, 0, kSegments);
    if (!show_bar(*this, segments)) draw_bar(*this, screen, 0, 0, 0, segments);

    // Texts are centred on their rows: status, name, comment, author.
    static TextPictures& texts = *new TextPictures(5);
    if (error) {
        SDL_Rect red = {static_cast<Sint16>(cx - 100), static_cast<Sint16>(cy - 8), 200, 16};
        SDL_FillRect(screen, &red, SDL_MapRGB(screen->format, 255, 0, 0));
        texts.draw(static_cast<float>(cx), static_cast<float>(cy), message ? message : "", 1);
    } else {
        texts.draw(static_cast<float>(cx), static_cast<float>(cy), "Loading...", 1);
    }
    if (levelinfo[0][0] != '\0') texts.draw(static_cast<float>(cx), static_cast<float>(cy + 16), levelinfo[0], 1);
    if (levelinfo[1][0] != '\0') texts.draw(static_cast<float>(cx), static_cast<float>(cy + 32), levelinfo[1], 1);
    if (levelinfo[2][0] != '\0') {
        char by[100];
        std::snprintf(by, sizeof by, "By: %.95s", levelinfo[2]);  // a longer author is cut
        texts.draw(static_cast<float>(cx), static_cast<float>(cy + 48), by, 1);
    }
    update_screen();
    if (error) clock_delay(2000);
}

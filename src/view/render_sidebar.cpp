// The sidebar of the game screen: the player's counters, the current wave,
// the Ready button and the turret types for sale.
#include "game/sim.h"

#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/masked_sheet.h"
#include "gfx/screen.h"
#include "view/render_parts.h"

#include <cstdio>
#include <cstring>

using namespace render_detail;

namespace {

bool has_wave(const Sim& s) { return s.wave >= 0 && s.wave < static_cast<int>(s.monstertypes.size()); }

// The turret icons that can be seen: rows below the screen can be neither
// seen nor reached by the cursor (it stops at y = 240).
int visible_icons(const Sim& s) {
    const int n = static_cast<int>(s.turrettypes.size());
    int i = 0;
    while (i < n && icon_square(i, s.sidebarwidth).top < kScreenHeight) i++;
    return i;
}

void draw_number(SDL_Surface* target, int x, int y, const char* format, int value) {
    char text[32];
    snprintf(text, sizeof text, format, value);
    draw_text_on(target, static_cast<float>(x), static_cast<float>(y), text);
}

// The sidebar image, the counters in a column of symbols and one of texts,
// the current wave and the icons: everything at its place in the layout
// moved right by dx, so that the same drawing serves the screen and the
// sidebar's own picture.
void draw_face(const Sim& s, SDL_Surface* target, int dx) {
    apply_surface(sidebar_left(s.sidebarwidth) + dx, 0, s.sidebar, target);
    const Square ready = ready_square(s.sidebarwidth);
    const int symbols = ready.left + dx, texts = ready.left + 22 + dx;
    blit_cell(s.symbols, 0, 0, symbols, 8, target);
    draw_number(target, texts, 10, "%i", s.lives);
    blit_cell(s.symbols, 1, 0, symbols, 24, target);
    draw_number(target, texts, 26, "%i", s.money);
    blit_cell(s.symbols, s.ready ? 2 : 4, 0, symbols, ready.top, target);
    draw_text_on(target, static_cast<float>(texts), static_cast<float>(ready.top + 2), "Ready");

    // A level without monster types has no current wave to show.
    if (has_wave(s)) {
        const Sim::Monster& m = s.monstertypes[s.wave];
        blit_cell(s.tileset, m.imgx, m.imgy, symbols, 48, target);
        draw_number(target, symbols, 64, "HP: %i", saturate_int(m.health));
    }
    if (s.waverunning) draw_number(target, texts, 50, "X: %i", s.spawnleft + s.monstersalive);
    for (int i = 0; i < visible_icons(s); i++) {
        const Square icon = icon_square(i, s.sidebarwidth);
        blit_cell(s.tileset, s.turrettypes[i].imgx, s.turrettypes[i].imgy, icon.left + dx, icon.top, target);
    }
}

// What the face shows besides its three pictures.
struct Shown {
    static const int kMaxIcons = 21;  // seven rows of three stand above the bottom edge
    int lives = 0, money = 0, wavecell[2] = {}, wavehp = 0, left = 0, icons = 0;
    bool ready = false, wave = false, waverunning = false;
    int iconcell[kMaxIcons][2] = {};

    Shown() = default;
    explicit Shown(const Sim& s)
        : lives(s.lives), money(s.money), icons(visible_icons(s)), ready(s.ready), wave(has_wave(s)),
          waverunning(s.waverunning) {
        if (wave) {
            const Sim::Monster& m = s.monstertypes[s.wave];
            wavecell[0] = m.imgx;
            wavecell[1] = m.imgy;
            wavehp = saturate_int(m.health);
        }
        if (waverunning) left = s.spawnleft + s.monstersalive;
        for (int i = 0; i < icons && i < kMaxIcons; i++) {
            iconcell[i][0] = s.turrettypes[i].imgx;
            iconcell[i][1] = s.turrettypes[i].imgy;
        }
    }
    bool operator==(const Shown& o) const {
        return lives == o.lives && money == o.money && wavecell[0] == o.wavecell[0] && wavecell[1] == o.wavecell[1] &&
               wavehp == o.wavehp && left == o.left && icons == o.icons && ready == o.ready && wave == o.wave &&
               waverunning == o.waverunning && std::memcmp(iconcell, o.iconcell, sizeof iconcell) == 0;
    }
};

// The counters change a few times a second and the icons not at all, so
// the face is drawn into a picture of its own when what it shows changes,
// and each frame blits that. The picture holds a fully open sidebar; shown
// from its left edge it gives what drawing at the sidebar's edge and letting
// the screen cut off the rest gives.
struct Face {
    SDL_Surface* picture = nullptr;  // kSidebarWidth x kScreenHeight, in the screen's format
    SheetSource sidebar, symbols, tileset;
    Shown shown;
};

// Never destroyed: it holds the pictures it was drawn from.
Face& face() {
    static Face& f = *new Face;
    return f;
}

bool same_format(const SDL_PixelFormat* a, const SDL_PixelFormat* b) {
    return a->BitsPerPixel == b->BitsPerPixel && a->Rmask == b->Rmask && a->Gmask == b->Gmask && a->Bmask == b->Bmask;
}

// Blits the face from its picture, drawing the picture first if it is out
// of date. False when a picture cannot stand for the screen: a sidebar image
// that leaves part of it uncovered or lets the map through.
bool show_face(const Sim& s) {
    const SDL_PixelFormat* format = screen->format;
    if (!s.sidebar || s.sidebar->w < kSidebarWidth || s.sidebar->h < kScreenHeight ||
        (s.sidebar->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)))
        return false;
    Face& f = face();
    if (f.picture && !same_format(f.picture->format, format)) {
        SDL_FreeSurface(f.picture);
        f.picture = nullptr;
    }
    if (!f.picture) {
        f.picture = SDL_CreateRGBSurface(SDL_SWSURFACE, kSidebarWidth, kScreenHeight, format->BitsPerPixel,
                                         format->Rmask, format->Gmask, format->Bmask, 0);
        if (!f.picture) return false;
        f.sidebar.release();  // nothing drawn in it yet
    }
    const Shown shown(s);
    if (!(f.sidebar.same(s.sidebar, format) && f.symbols.same(s.symbols, format) &&
          f.tileset.same(s.tileset, format) && f.shown == shown)) {
        draw_face(s, f.picture, -sidebar_left(s.sidebarwidth));
        f.sidebar.hold(s.sidebar, format);
        f.symbols.hold(s.symbols, format);
        f.tileset.hold(s.tileset, format);
        f.shown = shown;
    }
    apply_surface(sidebar_left(s.sidebarwidth), 0, f.picture, screen);
    return true;
}

// Shots per second at 30 ticks a second. A rate of 0 or less lets the
// turret fire on every tick, so it shows 30 instead of a division by zero.
int shots_per_second(int rate) {
    if (rate <= 0) return 30;
    return static_cast<int>(30.0 / rate);
}

void show_tooltip(Sim& s, const Sim::Turret& t) {
    double damage = 0.0;
    bool slows = false;
    if (t.bullet >= 0 && t.bullet < static_cast<int>(s.bullettypes.size())) {
        damage = s.bullettypes[t.bullet].damage;
        slows = s.bullettypes[t.bullet].effect == EFFECT_SLOW;
    }
    // Names and descriptions are at most 199 characters each: this fits.
    char text[1000];
    snprintf(text, sizeof text, "%s#%s#Cost: %i#Damage: %i#Shooting rate: %i shots/second%s",
             t.name, t.desc, t.cost, saturate_int(damage), shots_per_second(t.rate),
             slows ? "# #Slows enemies down" : "");
    s.tooltip(10, 10, text);
}

}  // namespace

bool render_detail::render_sidebar(Sim& s) {
    if (!show_face(s)) draw_face(s, screen, 0);

    // The hovered icon's frame and tooltip go over the face; that icon and
    // those after it are drawn again over them, as they were drawn after.
    bool hovered = false;
    for (int i = 0; i < visible_icons(s); i++) {
        const Square icon = icon_square(i, s.sidebarwidth);
        const Sim::Turret& t = s.turrettypes[i];
        if (s.buildmode == BUILD_IDLE && icon.strictly_inside(s.cursorx, s.cursory)) {
            hovered = true;
            bool affordable = s.money >= t.cost;
            Uint32 colour = affordable ? SDL_MapRGB(screen->format, 0, 255, 0)
                                       : SDL_MapRGB(screen->format, 255, 0, 0);
            SDL_Rect frame;
            frame.x = static_cast<Sint16>(icon.left - 3);
            frame.y = static_cast<Sint16>(icon.top - 3);
            frame.w = 22;
            frame.h = 22;
            SDL_FillRect(screen, &frame, colour);
            if (s.cursorframe != CURSOR_NONE) s.cursorframe = affordable ? CURSOR_AFFORDABLE : CURSOR_TOO_DEAR;
            show_tooltip(s, t);
        }
        if (hovered) blit_cell(s.tileset, t.imgx, t.imgy, icon.left, icon.top);
    }
    return hovered;
}

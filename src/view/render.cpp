// One frame of a level: map, objects, sidebar, placement preview, cursor.
// Runs every tick on the console, so it allocates nothing and formats its
// texts into stack buffers.
#include "game/sim.h"

#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/pixels.h"
#include "gfx/screen.h"
#include "gfx/sine.h"
#include "view/render_parts.h"

#include <algorithm>
#include <cstring>

using namespace render_detail;

namespace {

void fill(int x, int y, int w, int h, Uint32 colour) {
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
    SDL_FillRect(screen, &r, colour);
}

// A map smaller than the map area is centred in it; any scroll left from a
// wider view (the sidebar just shut, say) runs down 7, 3, 1, 0.
int settle_scroll(int scroll) {
    if (scroll <= 1) scroll = 0;
    return scroll / 2;
}

void draw_map(Sim& s) {
    int w = s.sidebarwidth;
    int mw = s.map->w;
    int mh = s.map->h;
    SDL_Rect d;
    d.x = 0;
    d.y = 0;
    const int areaw = sidebar_left(w);
    if (mw < areaw || mh < kScreenHeight) apply_surface(0, 0, s.back, screen);
    if (mw < areaw) {
        s.scrollx = settle_scroll(s.scrollx);
        d.x = static_cast<Sint16>(kScreenWidth / 2 - w / 2 - mw / 2);
    }
    if (mh < kScreenHeight) {
        s.scrolly = settle_scroll(s.scrolly);
        d.y = static_cast<Sint16>(kScreenHeight / 2 - mh / 2);
    }
    s.mapx = d.x - s.scrollx;
    s.mapy = d.y - s.scrolly;

    SDL_Rect src;
    src.x = static_cast<Sint16>(s.scrollx);
    src.y = static_cast<Sint16>(s.scrolly);
    src.w = static_cast<Uint16>(areaw);
    src.h = kScreenHeight;
    if (SDL_UpperBlit(s.map, &src, screen, &d) == -1) draw_sdl_error(10, 20);
}

struct BarColours {
    Uint32 frame, empty, full;
};

void draw_health_bar(int sx, int sy, double hp, double health, const BarColours& c) {
    // The green part never leaves the bar: a monster above its type's full
    // health (or a type of health 0) shows a full bar, one at or below 0 none.
    double part = hp / health * 14;
    int len = 0;
    if (part >= 14) len = 14;
    else if (part > 0) len = static_cast<int>(part);
    if (screen->format->BytesPerPixel != 2) {
        fill(sx, sy - 8, 16, 4, c.frame);
        fill(sx + 1, sy - 7, 14, 2, c.empty);
        fill(sx + 1, sy - 7, len, 2, c.full);
        return;
    }
    // What the three fills leave, black frame, red inside and the green
    // part over it, put in one go: a frame has dozens of bars.
    Uint16 bar[4][16];
    std::fill_n(bar[0], 16, static_cast<Uint16>(c.frame));
    bar[1][0] = bar[1][15] = static_cast<Uint16>(c.frame);
    std::fill_n(&bar[1][1], len, static_cast<Uint16>(c.full));
    std::fill_n(&bar[1][1 + len], 14 - len, static_cast<Uint16>(c.empty));
    std::memcpy(bar[2], bar[1], sizeof bar[1]);
    std::memcpy(bar[3], bar[0], sizeof bar[0]);
    put_block16(screen, static_cast<Sint16>(sx), static_cast<Sint16>(sy - 8), &bar[0][0], 16, 4);
}

void draw_objects(Sim& s) {
    int w = s.sidebarwidth;
    const BarColours bar = {SDL_MapRGB(screen->format, 0, 0, 0), SDL_MapRGB(screen->format, 255, 0, 0),
                            SDL_MapRGB(screen->format, 0, 255, 0)};
    for (const Sim::Object& o : s.objects) {
        int cx, cy;
        const Sim::Monster* monster = nullptr;
        if (o.kind == KIND_MONSTER) {
            if (o.type < 0 || o.type >= static_cast<int>(s.monstertypes.size())) continue;
            monster = &s.monstertypes[o.type];
            cx = monster->imgx;
            cy = monster->imgy;
        } else if (o.kind == KIND_TURRET) {
            if (o.type < 0 || o.type >= static_cast<int>(s.turrettypes.size())) continue;
            cx = s.turrettypes[o.type].imgx;
            cy = s.turrettypes[o.type].imgy;
        } else if (o.kind == KIND_BULLET) {
            if (o.type < 0 || o.type >= static_cast<int>(s.bullettypes.size())) continue;
            cx = s.bullettypes[o.type].imgx;
            cy = s.bullettypes[o.type].imgy;
        } else {
            continue;
        }
        if (cx < 0 || cy < 0) continue;

        // Skip what cannot touch the map area; a sprite up to 16 pixels off
        // its left or top edge is still partly visible.
        if (!(o.x >= -s.mapx - kCell && o.y >= -s.mapy - kCell &&
              o.x < sidebar_left(w) - s.mapx && o.y < kScreenHeight - s.mapy))
            continue;

        // The map position is truncated on its own before the origin is
        // added: a sprite at x = -0.5 stands on the map's column 0.
        int sx = static_cast<int>(o.x) + s.mapx;
        int sy = static_cast<int>(o.y) + s.mapy;
        blit_cell(s.tileset, cx, cy, sx, sy);
        if (monster) draw_health_bar(sx, sy, o.hp, monster->health, bar);
    }
}

// A corner coordinate of the range circle: truncated, then moved to the
// tile's centre. line16 clamps every end into the screen, so holding an
// absurd range to a million pixels changes nothing drawn and keeps the +8
// from overflowing.
int corner(double v) {
    if (v > 1e6) v = 1e6;
    if (v < -1e6) v = -1e6;
    return saturate_int(v) + 8;
}

void draw_range_circle(int px, int py, int range) {
    Uint32 colour = SDL_MapRGB(screen->format, 128, 0, 0);
    const double pi = 3.14159265;
    double x0 = px + range * Sin(0.0);
    double y0 = py + range * Cos(0.0);
    for (int i = 0; i < 16; i++) {
        double a = 2 * pi * (i + 1) / 16;
        double x1 = px + range * Sin(a);
        double y1 = py + range * Cos(a);
        line16(screen, corner(x0), corner(y0), corner(x1), corner(y1), colour);
        x0 = x1;
        y0 = y1;
    }
}

void draw_preview_and_cursor(Sim& s) {
    // The cursor's hot spot is its centre.
    int px = s.cursorx - kCell / 2;
    int py = s.cursory - kCell / 2;
    if (s.buildmode == BUILD_PLACING && in_map_area(s.cursorx, s.cursory, s.sidebarwidth)) {
        const PlacementCell cell = placement_cell(s.cursorx, s.cursory, s.mapx, s.mapy);
        px = cell.x;
        py = cell.y;
        s.cursorframe = s.free_to_build(cell.column, cell.row) ? CURSOR_BUILDABLE : CURSOR_NOT_BUILDABLE;

        int t = s.selectedturret;
        if (t >= 0 && t < static_cast<int>(s.turrettypes.size())) {
            const Sim::Turret& type = s.turrettypes[t];
            blit_cell(s.tileset, type.imgx, type.imgy, px, py);
            draw_range_circle(px, py, type.range);
        }
    }

    if (blit_square(s.cursor, kCell * s.cursorframe, 0, px, py) == -1) draw_sdl_error(10, 30);
}

}  // namespace

void Sim::render() {
    if (mapcreated) draw_map(*this);
    draw_objects(*this);

    bool hovered = sidebarwidth != 0 && render_sidebar(*this);

    // Without a cursor image it stays so, since the frame number also says
    // whether there is an image to free.
    if (cursorframe == CURSOR_NONE) return;
    if (!hovered && buildmode == BUILD_IDLE) cursorframe = CURSOR_NORMAL;
    draw_preview_and_cursor(*this);
}

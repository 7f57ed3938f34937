// The sidebar is kept as a picture and drawn again only when what it shows
// changes; a missed change leaves the player looking at old counters.
#include "game/layout.h"
#include "gfx/pixels.h"
#include "support/sim_builder.h"
#include "view/render_parts.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A 128x64 tile set of 16x16 cells, each in its own colour (shifted by `tint`).
SDL_Surface* tileset(int tint) {
    const SDL_PixelFormat* f = screen->format;
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 128, 64, 16, f->Rmask, f->Gmask, f->Bmask, 0);
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 8; c++) {
            SDL_Rect cell = {Sint16(16 * c), Sint16(16 * r), 16, 16};
            SDL_FillRect(s, &cell, SDL_MapRGB(s->format, Uint8(16 + 28 * c + tint), Uint8(40 + 50 * r), Uint8(90 + tint)));
        }
    return s;
}

// The right 80 columns of the screen after drawing the sidebar over a
// screen full of another colour.
std::vector<Uint32> drawn_sidebar(Sim& s) {
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 90, 0, 90));
    render_detail::render_sidebar(s);
    std::vector<Uint32> seen;
    for (int y = 0; y < kScreenHeight; y++)
        for (int x = kScreenWidth - kSidebarWidth; x < kScreenWidth; x++) seen.push_back(getpixel(screen, x, y));
    return seen;
}

}  // namespace

// An opaque sidebar image lets the sidebar be kept as a picture; one with a
// transparent colour is drawn straight every frame. After each change, one
// on top of the other, both must show the same.
TEST(SidebarPicture, IsRedrawnWhenWhatItShowsChanges) {
    Sim g;
    g.tileset = tileset(0);
    g.monstertypes = {monster_type("Slug", 70.9, 1, 5, 1), monster_type("Bat", 12, 1, 5, 1)};
    g.monstertypes[1].imgx = 3;
    g.turrettypes = {turret_type("Gun", 10, 0, 32, 10, 2), turret_type("Frost", 50, 0, 32, 45, 2)};
    g.turrettypes[1].imgx = 1;
    const std::function<void()> changes[] = {
        [] {}, [&] { g.money = 1234; }, [&] { g.lives = 7; }, [&] { g.ready = false; },
        [&] { g.waverunning = true; }, [&] { g.spawnleft = 5; }, [&] { g.spawnleft = 4; }, [&] { g.monstersalive = 2; },
        [&] { g.monstertypes[0].health = 9999; }, [&] { g.monstertypes[0].imgx = 2; },
        [&] { g.monstertypes[0].imgy = 1; }, [&] { g.wave = 1; }, [&] { g.turrettypes[1].imgx = 7; },
        [&] { g.turrettypes[1].imgy = 2; }, [&] { g.turrettypes.push_back(turret_type("Zap", 5, 0, 32, 0, 2)); },
        [&] { g.sidebarwidth = 45; },
        // Another tile set, freed first so that it may well be where the last one was.
        [&] { SDL_FreeSurface(g.tileset), g.tileset = tileset(60); },
    };
    const Uint32 key = SDL_MapRGB(g.sidebar->format, 0, 0, 255);
    for (size_t i = 0; i < sizeof changes / sizeof changes[0]; i++) {
        changes[i]();
        SDL_SetColorKey(g.sidebar, 0, key);
        const std::vector<Uint32> picture = drawn_sidebar(g);
        SDL_SetColorKey(g.sidebar, SDL_SRCCOLORKEY, key);
        EXPECT_TRUE(picture == drawn_sidebar(g)) << "change " << i;
    }
}

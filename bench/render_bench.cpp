// Cost of drawing one game frame: a scrolled large map, 60 monsters, 30
// turrets and some bullets, once with a hovered sidebar icon (tooltip) and
// once while placing a turret (preview and range circle).
#include "bench_screen.h"
#include "game/sim.h"
#include "gfx/image.h"
#include "gfx/pixels.h"
#include "gfx/screen.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

// A level as the loader would leave it, built directly from the bundled
// Meadow tile set: a 100x60-cell map scrolled into its middle.
Sim* make_game() {
    Sim* g = new Sim();
    g->set_cursor("img/cursor.bmp");
    g->tileset = load_image("levels/Meadow/tiles.bmp");
    SDL_SetColorKey(g->tileset, SDL_SRCCOLORKEY, getpixel(g->tileset, 0, g->tileset->h - 1));

    SDL_Surface* raw = SDL_CreateRGBSurface(SDL_SWSURFACE, 1600, 960, 16, 0, 0, 0, 0);
    g->map = SDL_DisplayFormat(raw);
    SDL_FreeSurface(raw);
    g->mapcreated = true;
    for (int r = 0; r < 60; r++)
        for (int c = 0; c < 100; c++) {
            SDL_Rect src = {Sint16(16 * ((c + r) % 2)), 0, 16, 16};
            SDL_Rect dst = {Sint16(16 * c), Sint16(16 * r), 0, 0};
            SDL_UpperBlit(g->tileset, &src, g->map, &dst);
            g->buildable[c][r] = (c + r) % 3 != 0;
        }
    g->scrollx = 600;
    g->scrolly = 300;

    Sim::Bullet frost;
    std::strcpy(frost.name, "Frost shard");
    frost.damage = 4;
    frost.effect = 1;
    frost.imgx = 3;
    frost.imgy = 3;
    g->bullettypes.push_back(frost);
    Sim::Monster m;
    std::strcpy(m.name, "Beetle");
    m.health = 120;
    m.imgx = 2;
    m.imgy = 1;
    g->monstertypes.push_back(m);
    for (int i = 0; i < 9; i++) {
        Sim::Turret t;
        std::snprintf(t.name, sizeof t.name, "Frost tower %d", i);
        std::strcpy(t.desc, "Chills whatever walks past it");
        t.cost = 10 + 5 * i;
        t.rate = 20;
        t.range = 48;
        t.imgx = i % 8;
        t.imgy = 2;
        g->turrettypes.push_back(t);
    }

    // Everything around the visible part of the map, most of it on screen;
    // each goes to the front of its kind, so the last comes first.
    for (int i = 59; i >= 0; i--) {
        Sim::Object o;
        o.kind = KIND_MONSTER;
        o.x = 600 + (i * 37) % 260;
        o.y = 300 + (i * 53) % 250;
        o.hp = 10 + i;
        g->insert_monster(o);
    }
    for (int i = 29; i >= 0; i--) {
        Sim::Object o;
        o.kind = KIND_TURRET;
        o.type = i % 9;
        o.x = 600 + 16 * (i % 15);
        o.y = 300 + 48 * (i / 15) + 32;
        g->insert_turret(o);
    }
    for (int i = 19; i >= 0; i--) {
        Sim::Object o;
        o.kind = KIND_BULLET;
        o.x = 610 + 11 * i;
        o.y = 320 + 7 * i;
        g->insert_bullet(o);
    }
    g->waverunning = true;
    g->spawnleft = 5;
    return g;
}

void BM_RenderHoveringIcon(benchmark::State& state) {
    if (!open_bench_screen()) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    Sim* g = make_game();
    g->cursorx = 252;  // inside the first turret icon
    g->cursory = 99;
    for (auto _ : state) {
        g->render();
        benchmark::ClobberMemory();
    }
    delete g;
}
BENCHMARK(BM_RenderHoveringIcon);

void BM_RenderPlacingTurret(benchmark::State& state) {
    if (!open_bench_screen()) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    Sim* g = make_game();
    g->buildmode = BUILD_PLACING;
    g->selectedturret = 4;
    g->cursorx = 121;
    g->cursory = 117;
    for (auto _ : state) {
        g->render();
        benchmark::ClobberMemory();
    }
    delete g;
}
BENCHMARK(BM_RenderPlacingTurret);

}  // namespace

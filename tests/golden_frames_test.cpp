// Every frame the player would see, recorded as a hash: the menu with each
// level highlighted, each level's loading screen repaints, and a scripted
// game of each bundled level (tooltips, buying, the placement preview,
// placing, waves, scrolling, the sidebar sliding shut and open) with the
// message box stepped and drawn every frame as the in-game loop does. A
// change meant to keep the pictures must keep every line; the first line
// that differs names the frame. The game's standard output during play is
// recorded the same way on the last line.
#include "app/globals.h"
#include "app/menu.h"
#include "game/messagebox.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/pixels.h"
#include "gfx/screen.h"
#include "level/scripted_play.h"
#include "support/sim_builder.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// 64-bit FNV-1a.
uint64_t fnv(const void* bytes, size_t n, uint64_t h = 14695981039346656037ull) {
    for (const unsigned char* p = static_cast<const unsigned char*>(bytes); n--; p++) h = (h ^ *p) * 1099511628211ull;
    return h;
}

std::string line(const std::string& label, uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return label + " " + text + "\n";
}

// The visible pixels of the screen, row by row (each pixel low byte first).
std::string frame_line(const std::string& label) {
    uint64_t h = fnv(nullptr, 0);
    for (int y = 0; y < screen->h; y++) h = fnv(static_cast<Uint8*>(screen->pixels) + y * screen->pitch, 2 * screen->w, h);
    return line(label, h);
}

std::string play_level(const std::string& level) {
    std::string log;
    int repaints = 0, ticks = 0;
    ScriptedPlay play("levels/" + level, [&] { log += frame_line("load " + std::to_string(repaints++)); });
    if (!play.loaded) return play.problem;
    testing::internal::CaptureStdout();
    Sim& s = play.sim;
    bool alive = true;
    auto frame = [&](const std::string& label) {  // as the in-game loop draws it; clicks come after
        ticks++;
        alive = alive && s.step();
        s.render();
        box.step();
        box.render();
        log += frame_line(label);
    };
    auto point_at = [&](Square q) { play.point(q.left + kCell / 2, q.top + kCell / 2); };
    // Places the selected type on the free cells nearest to the path that can
    // be clicked without scrolling, a frame after each, while the money lasts.
    auto build = [&](const std::string& label) {
        for (size_t i = 0; i < play.cells.size() && s.buildmode == BUILD_PLACING; i++) {
            const ScriptedPlay::Cell c = play.cells[i];
            int x = kCell * (c.x + s.mapx / kCell), y = kCell * (c.y + s.mapy / kCell);
            if (!s.buildable[c.x][c.y] || x < 16 || y < 12 || x >= 304 - s.sidebarwidth || y > 228) continue;
            play.point(x, y);
            s.cursorclick(CLICK_PRESS);
            frame(label + " " + std::to_string(c.x) + "," + std::to_string(c.y));
        }
        s.cursorclick(CLICK_CANCEL);
    };
    auto wave_frame = [&] { frame("wave " + std::to_string(s.wave + 1) + " tick " + std::to_string(ticks + 1)); };

    play.point(120, 120);
    for (int i = 0; i < 3; i++) frame("start " + std::to_string(i));
    for (int i = 0; i < std::min(6, static_cast<int>(s.turrettypes.size())); i++) {  // tooltips, green or red
        point_at(icon_square(i, s.sidebarwidth));
        for (int k = 0; k < 2; k++) frame("tip " + std::to_string(i) + " " + std::to_string(k));
    }
    point_at(icon_square(0, s.sidebarwidth));
    s.cursorclick(CLICK_PRESS);
    frame("bought");
    for (int k = 0; k < 12; k++) {  // the preview over buildable and other tiles
        play.point(20 + 18 * k, 20 + 16 * k);
        frame("preview " + std::to_string(k));
    }
    build("built");
    s.cursorclick(CLICK_STRONGEST);
    build("strongest");
    // The first wave played out, the sidebar sliding and the view scrolling
    // meanwhile; the second started by the Ready button and watched a while.
    s.cursorclick(CLICK_NEXT_WAVE);
    play.point(120, 120);
    for (int t = 0; t < 900 && s.waverunning && alive; t++) {
        if (t == 100 || t == 140) s.toggle_sidebar(t == 140);
        if (t == 200) play.point(319, 239);
        if (t == 260) play.point(0, 0);
        if (t == 320) play.point(120, 120);
        wave_frame();
    }
    s.cursorclick(CLICK_NEXT_TYPE);
    build("rebuilt");
    s.cursorclick(CLICK_STRONGEST);
    build("strongest");
    point_at(ready_square(s.sidebarwidth));
    s.cursorclick(CLICK_PRESS);
    play.point(120, 120);
    for (int t = 0; t < 150 && s.waverunning && alive; t++) wave_frame();
    const std::string printed = testing::internal::GetCapturedStdout();
    return log + line("stdout " + std::to_string(std::count(printed.begin(), printed.end(), '\n')) + " lines",
                      fnv(printed.data(), printed.size()));
}

class GoldenFramesTest : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST(GoldenFramesTest, MenuWithEachLevelHighlighted) {
    if (mainmenu == nullptr) mainmenu = load_image("img/mainmenu.bmp");
    Menu menu;
    scan_levels(menu.list, "levels");
    // In a fixed order: the directory's own differs between file systems.
    std::vector<std::string> names(menu.list.levelnames, menu.list.levelnames + menu.list.levelcount);
    std::sort(names.begin(), names.end());
    for (size_t i = 0; i < names.size(); i++) std::snprintf(menu.list.levelnames[i], 100, "%s", names[i].c_str());
    std::string log;
    for (menu.selection = 0; menu.selection < menu.list.levelcount; menu.selection++) {
        menu_draw(menu);
        log += frame_line("menu " + names[menu.selection]);
    }
    expect_recorded("frames/menu.txt", log);
}

// States the scripted games never reach, on the game's own pictures: maps
// that fit the map area or not by a pixel, a scroll running down, the preview
// off the screen's grid and outside the map, a range far beyond the screen,
// truncated positions and odd health, a tooltip too wide for the screen and
// a rate of 0, and loading screens that count past 100 or fail.
TEST(GoldenFramesTest, EdgeCases) {
    std::string log;
    auto s = make_sim();
    s->set_cursor("img/cursor.bmp");
    s->set_bar("img/bar.bmp");
    s->tileset = load_image("levels/Meadow/tiles.bmp");
    SDL_SetColorKey(s->tileset, SDL_SRCCOLORKEY, getpixel(s->tileset, 0, s->tileset->h - 1));
    s->monstertypes = {monster_type("Beetle", 70.9, 1, 1, 1)};
    s->monstertypes[0].imgy = 1;
    s->bullettypes = {bullet_type("Pebble", 3, 4, EFFECT_NONE), bullet_type("Frost", 12.7, 4, EFFECT_SLOW)};
    s->turrettypes = {turret_type("Gun", 10, 0, 32, 10, 0), turret_type("Frost", 50, 1, 32, 45, 0),
                      turret_type("Zapper", 5, 0, 32, 0, 0)};
    std::snprintf(s->turrettypes[1].desc, 200, "%s", std::string(60, 'c').c_str());
    for (int i = 0; i < 3; i++) s->turrettypes[i].imgx = 2 * i, s->turrettypes[i].imgy = 2;
    auto frame = [&](const std::string& label, int x, int y, int mode = BUILD_IDLE) {
        s->cursorx = x, s->cursory = y, s->buildmode = mode, s->selectedturret = 0;
        SDL_FillRect(screen, nullptr, 0);
        s->render();
        log += frame_line(label);
    };
    const struct { int w, h, scroll, x, y; } maps[] = {
        {400, 200, 7, 60, 200}, {400, 200, 3, 60, 200}, {199, 199, 0, 60, 200}, {96, 96, 0, 80, 80},
        {240, 240, 0, 235, 100}, {240, 240, 0, 100, 240}, {239, 240, 0, 100, 100}, {400, 240, 20, 100, 100},
        {400, 240, 4, 100, 100}};
    for (const auto& m : maps) {
        SDL_FreeSurface(s->map);
        s->map = SDL_CreateRGBSurface(SDL_SWSURFACE, m.w, m.h, 16, 0xF800, 0x07E0, 0x001F, 0);
        for (int c = 0; c < m.w / 16 + 1; c++)
            for (int r = 0; r < m.h / 16 + 1; r++) {
                SDL_Rect cell = {Sint16(16 * ((c + r) % 4)), 0, 16, 16}, at = {Sint16(16 * c), Sint16(16 * r), 0, 0};
                SDL_BlitSurface(s->tileset, &cell, s->map, &at);
                s->buildable[c][r] = (c * r) % 3 == 0;
            }
        s->scrollx = s->scrolly = m.scroll;
        frame("map " + std::to_string(m.w) + "x" + std::to_string(m.h) + " scroll " + std::to_string(m.scroll) + " at " +
                  std::to_string(m.x) + "," + std::to_string(m.y), m.x, m.y, BUILD_PLACING);
    }
    s->turrettypes[0].range = 0x7FFFFFFF;
    frame("range beyond the screen", 100, 100, BUILD_PLACING);
    s->objects = {{-0.5, 100.9, 0, KIND_MONSTER, 70.9}, {150, -10.9, 0, KIND_TURRET}, {100, 239.0, 0, KIND_MONSTER, 70.9},
                  {150, 240.0, 0, KIND_MONSTER, 70.9}, {150, 100, 99, KIND_TURRET}, {20, 180, 0, KIND_MONSTER, 35.45},
                  {50, 180, 0, KIND_MONSTER, 4.9}, {80, 180, 0, KIND_MONSTER, 700}};
    frame("objects", 60, 100);
    for (int x : {252, 273, 294}) frame("icon at " + std::to_string(x), x, 99);  // the second too dear, the third rate 0
    // Loading screens: up to a hundred segments, a long author cut, the red error bar.
    std::snprintf(s->levelinfo[2], 200, "%s", (std::string(96, 'A') + std::string(60, 'L')).c_str());
    for (bool refused : {false, true}) {
        s->updatescreen(refused ? 7 : 150, refused ? "Unable to open level.txt!" : "", refused);
        log += frame_line(refused ? "loading refused" : "loading 150");
    }
    expect_recorded("frames/edges.txt", log);

    // A blit SDL refuses (from a locked surface) shows SDL's reason where the
    // map, then the cursor, would be: writing both again changes nothing.
    s->sidebarwidth = 0;
    s->objects.clear();
    for (SDL_Surface* locked : {s->map, s->cursor}) SDL_LockSurface(locked);
    s->render();
    for (SDL_Surface* locked : {s->map, s->cursor}) SDL_UnlockSurface(locked);
    const std::string drawn(static_cast<char*>(screen->pixels), screen->pitch * screen->h), error = SDL_GetError();
    ASSERT_FALSE(error.empty());
    for (int y : {20, 30}) draw_text_at(10, y, error.c_str(), 0, 0);
    EXPECT_TRUE(drawn == std::string(static_cast<char*>(screen->pixels), screen->pitch * screen->h)) << error;
}

TEST_P(GoldenFramesTest, ScriptedGame) { expect_recorded("frames/" + std::string(GetParam()) + ".txt", play_level(GetParam())); }

INSTANTIATE_TEST_SUITE_P(Bundled, GoldenFramesTest, ::testing::Values("Meadow", "Canyon", "Frostmarsh", "Emberkeep"));

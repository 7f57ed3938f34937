// One frame of a level, and the tooltip box, drawn from hand-made solid-colour
// surfaces, so every pixel on the screen can be traced back to its image.
#include "game/sim.h"
#include "gfx/font.h"
#include "gfx/pixels.h"
#include "gfx/screen.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Colours as 0xRRGGBB. kStale is what the previous frame left; the map has
// a marker pixel at (30, 40).
const Uint32 kStale = 0x5A005A, kBack = 0x2828C8, kSidebar = 0xC8C828, kMap = 0x28A028, kMark = 0xA028A0;
const Uint32 kBlack = 0, kWhite = 0xFFFFFF, kBlue = 0x0000FF, kRed = 0xFF0000, kGreen = 0x00FF00, kCircle = 0x800000;
// Tile set cells; the symbols and the cursor frames are the first row of the same colours.
Uint32 cell(int c, int r) { return Uint32(16 + 28 * c) << 16 | Uint32(40 + 50 * r) << 8 | 90; }

Uint32 mapped(SDL_Surface* s, Uint32 c) { return SDL_MapRGB(s->format, c >> 16, c >> 8 & 255, c & 255); }

void fill(SDL_Surface* s, int x, int y, int w, int h, Uint32 c) {
    SDL_Rect r = {Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
    SDL_FillRect(s, &r, mapped(s, c));
}

// A surface in `bg`; given a `cell` colour, a sheet of 16x16 cells in their
// colour on transparent blue, each but for a top-left square of `mark` pixels.
SDL_Surface* surface(int w, int h, Uint32 bg, Uint32 (*cell)(int, int) = nullptr, int mark = 16) {
    const SDL_PixelFormat* f = screen->format;
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, f->Rmask, f->Gmask, f->Bmask, 0);
    fill(s, 0, 0, w, h, cell ? kBlue : bg);
    for (int r = 0; cell && r < h / 16; r++)
        for (int c = 0; c < w / 16; c++) fill(s, 16 * c, 16 * r, mark, mark, cell(c, r));
    SDL_SetColorKey(s, SDL_SRCCOLORKEY, mapped(s, kBlue));
    return s;
}

bool shows(Uint32 colour, int x, int y) { return getpixel(screen, x, y) == mapped(screen, colour); }

struct Px { Uint32 colour; int x, y; };

void expect(std::initializer_list<Px> pixels) {
    for (const Px& p : pixels) EXPECT_TRUE(shows(p.colour, p.x, p.y)) << "at " << p.x << "," << p.y;
}

// The screen at (x, y, w, h) is what `draw` puts there.
template <class Draw>
void expect_drawn(int x, int y, int w, int h, Draw draw) {
    std::vector<Uint32> before, after;
    for (std::vector<Uint32>* seen : {&before, &after}) {
        if (seen == &after) draw();
        for (int i = 0; i < w * h; i++) seen->push_back(getpixel(screen, x + i % w, y + i / w));
    }
    EXPECT_EQ(after, before) << "at " << x << "," << y;
}

class RenderTest : public ::testing::Test {
protected:
    Sim g;

    void SetUp() override {
        for (SDL_Surface* s : {g.back, g.sidebar, g.symbols}) SDL_FreeSurface(s);
        g.back = surface(320, 240, kBack), g.sidebar = surface(80, 240, kSidebar);
        g.symbols = surface(96, 16, 0, cell);
        g.tileset = surface(128, 64, 0, cell);
        g.cursor = surface(80, 16, 0, cell, 4), g.cursorframe = 0;  // what lies under it stays visible
        set_map(240, 240);
        g.monstertypes.push_back({0, "", 70.9, 0, 0, 0, 0, 1, {}});
        g.bullettypes = {{0, "", 3.0, 0.0, -1, 0, 3}, {0, "", 12.7, 0.0, 1, 3, 3}};  // the second slows
        g.turrettypes = {{0, "Gun", "Shoots", 10, 0, 32, 10, 0, 0, 2}, {0, "Frost", "Cold", 50, 1, 32, 45, 0, 3, 2},
                         {0, "Zapper", "Fast", 5, 0, 32, 0, 0, 6, 2}};
    }

    void set_map(int w, int h) {
        SDL_FreeSurface(g.map);
        g.map = surface(w, h, kMap);
        fill(g.map, 30, 40, 1, 1, kMark);
        g.mapcreated = true;
    }

    void render(int cursorx, int cursory, int buildmode = 0) {
        g.cursorx = cursorx, g.cursory = cursory, g.buildmode = buildmode, g.selectedturret = 0;
        fill(screen, 0, 0, 320, 240, kStale);
        g.render();
    }
};

}  // namespace

TEST_F(RenderTest, MapIsCentredOrScrolledAndThePreviewFollowsItsTileGrid) {
    g.buildable[6][6] = g.buildable[1][1] = g.buildable[15][6] = true;
    const struct { int w, h, scroll, mapx, mapy, x, y, frame, px, py; } cases[] = {
        // Wider than the map area: the scroll stays; lower: centred, and a scroll
        // left over runs down 7 to 3 (then 1, 0).
        {400, 200, 7, -7, 17, 60, 200, 4, 57, 209},
        {199, 199, 0, 21, 21, 60, 200, 4, 69, 213},     // narrower and lower: centred both ways
        {96, 96, 0, 72, 72, 80, 80, 3, 88, 88},         // the grid offset by 8: tile (1, 1)
        {240, 240, 0, 0, 0, 235, 100, 4, 240, 96},      // right of the map, inside the grid: not buildable
        {240, 240, 0, 0, 0, 100, 240, 2, 92, 232},      // below the last row: not the map area, the frame stays
        {400, 240, 20, -20, -20, 100, 100, 4, 92, 92},  // 4 pixels off the screen's grid: tile (7, 7)
        {400, 240, 4, -4, -4, 100, 100, 3, 92, 92},     // the same place, but tile (6, 6)
    };
    for (const auto& c : cases) {
        set_map(c.w, c.h);
        g.scrollx = g.scrolly = c.scroll, g.cursorframe = 2;
        render(c.x, c.y, 1);
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " scroll " << c.scroll << ", at " << c.x << "," << c.y);
        EXPECT_EQ(std::make_tuple(c.mapx, c.mapy, c.frame), std::make_tuple(g.mapx, g.mapy, g.cursorframe));
        expect({{kMark, c.mapx + 30, c.mapy + 40}, {c.mapx > 0 || c.mapy > 0 ? kBack : kMap, 0, 0},
                {cell(c.frame, 0), c.px, c.py}});
    }
    // The turret on the tile, in the 16-sided circle of range 32 around the tile's centre (100, 100).
    expect({{cell(0, 2), 107, 107}, {kMap, 108, 107}, {kCircle, 100, 132}, {kCircle, 132, 100}, {kMap, 100, 133}});
    g.turrettypes[0].range = 0x7FFFFFFF;  // corners far off: the lines run along the edges
    render(100, 100, 1);
    expect({{kCircle, 200, 239}});
    // Without a cursor image the frame stays unset and no preview is drawn.
    SDL_FreeSurface(g.cursor);
    g.cursor = nullptr, g.cursorframe = -1;
    render(100, 100, 1);
    EXPECT_EQ(-1, g.cursorframe);
    expect({{kMap, 100, 100}});
}

TEST_F(RenderTest, ObjectsAreDrawnAtTruncatedPositionsWithTheirHealthBars) {
    set_map(239, 240);                       // one pixel narrower than 320 - 80: centred, mapx = 1
    g.objects = {{-0.5, 100.9, 0, 1, 70.9},  // a monster, truncated to (0, 100) before mapx is added
                 {150, -10.9, 0, 2},         // a turret mostly above the map area
                 // One touches the last row, one below it gets neither sprite nor bar.
                 {100, 239.0, 0, 1, 70.9}, {150, 240.0, 0, 1, 70.9},
                 {150, 100, 99, 2},          // no such type
                 // Half its health shows 7 of 14 green, under a fourteenth none, above full health 14.
                 {20, 180, 0, 1, 35.45}, {50, 180, 0, 1, 4.9}, {80, 180, 0, 1, 700}};
    render(60, 100);
    expect({{kBack, 0, 0}, {cell(0, 1), 16, 115}, {kMap, 17, 100}, {kMap, 16, 116}, {cell(0, 2), 155, 5}});
    expect({{kMap, 155, 6}, {cell(0, 1), 101, 239}, {kBlack, 101, 231}, {kMap, 151, 232}, {kMap, 158, 108}});
    // Bars: a black frame (x, y - 8, 16, 4) around a red bed and the green part.
    expect({{kBlack, 1, 92}, {kBlack, 16, 95}, {kGreen, 2, 93}, {kGreen, 15, 94}, {kBlack, 16, 93}});
    expect({{kGreen, 28, 173}, {kRed, 29, 173}, {kRed, 52, 173}, {kGreen, 95, 173}, {kBlack, 96, 173}});
}

TEST_F(RenderTest, SidebarShowsTheRunningWaveWhereItHasSlid) {
    g.ready = false, g.waverunning = true, g.spawnleft = 3, g.monstersalive = 4, g.sidebarwidth = 60;
    render(60, 200);
    // The Ready button's busy face, and the current wave's monster.
    expect({{kBack, 259, 0}, {kSidebar, 260, 0}, {cell(4, 0), 272, 216}, {cell(0, 1), 272, 48}});
    // Lives, money and the monsters still to come in a column over the plain sidebar.
    expect_drawn(294, 10, 24, 53, [] {
        fill(screen, 294, 10, 24, 53, kSidebar);
        draw_text(294, 10, "20", 0, 0), draw_text(294, 26, "30", 0, 0), draw_text(294, 50, "X: 7", 0, 0);
    });
}

// An opaque sidebar image lets the sidebar be kept as a picture, drawn
// again when anything it shows changes; one with a transparent colour is
// drawn straight every frame. After each change both show the same.
TEST_F(RenderTest, SidebarPictureIsRedrawnWhenWhatItShowsChanges) {
    const std::function<void()> changes[] = {
        [] {}, [&] { g.money = 1234; }, [&] { g.lives = 7; }, [&] { g.ready = false; },
        [&] { g.waverunning = true, g.spawnleft = 5; }, [&] { g.spawnleft = 4; },
        [&] { g.monstertypes[0].health = 9999; }, [&] { g.monstertypes[0].imgx = 2; },
        [&] { g.turrettypes[2].imgx = 7; }, [&] { g.sidebarwidth = 45; },
        // Another tile set, quite likely where the last one was.
        [&] { SDL_FreeSurface(g.tileset), g.tileset = surface(128, 64, 0, [](int c, int r) { return cell(c, r) ^ 0x404040; }); },
    };
    for (size_t i = 0; i < sizeof changes / sizeof changes[0]; i++) {
        changes[i]();
        std::vector<Uint32> straight, picture;
        for (std::vector<Uint32>* seen : {&straight, &picture}) {
            SDL_SetColorKey(g.sidebar, seen == &straight ? SDL_SRCCOLORKEY : 0, mapped(g.sidebar, kBlue));
            render(60, 200);
            for (int y = 0; y < 240; y++)
                for (int x = 240; x < 320; x++) seen->push_back(getpixel(screen, x, y));
        }
        EXPECT_TRUE(straight == picture) << "change " << i;
    }
}

TEST_F(RenderTest, IconsAreHoveredStrictlyInsideWhileIdleWithFrameAndTooltip) {
    const struct { int x, buildmode, frame; Uint32 colour; const char* tip; int w, h; } cases[] = {
        {252, 0, 1, kGreen, "Gun#Shoots#Cost: 10#Damage: 3#Shooting rate: 3 shots/second", 182, 68},
        {251, 0, 0, kSidebar, nullptr, 0, 0},  // on the icon's left edge: not inside
        {252, 1, 4, kSidebar, nullptr, 0, 0},  // placing: icons do not react, the frame stays
        // Too dear (50 > 30), and its bullet slows.
        {273, 0, 2, kRed, "Frost#Cold#Cost: 50#Damage: 12#Shooting rate: 0 shots/second# #Slows enemies down", 182, 92},
        // A rate of 0 would fire on every tick.
        {294, 0, 1, kGreen, "Zapper#Fast#Cost: 5#Damage: 3#Shooting rate: 30 shots/second", 188, 68},
    };
    for (const auto& c : cases) {
        g.cursorframe = 4;
        render(c.x, 99, c.buildmode);
        EXPECT_EQ(c.frame, g.cursorframe) << "at " << c.x;
        // The icon at (left, 98), its frame 3 pixels around it.
        int left = 251 + 21 * ((c.x - 251) / 21);
        expect({{c.colour, left - 3, 95}, {c.colour, left + 18, 116}, {kSidebar, left + 19, 116}});
        expect({{kSidebar, left + 18, 117}, {cell((left - 251) / 7, 2), left, 98}, {c.tip ? kBlack : kMap, 12, 12}});
        // The tooltip: a black w x h box whose white border's right and bottom lines
        // lie one pixel outside it, line i at (14, 12 i + 14).
        if (c.tip) expect_drawn(10, 10, c.w + 1, c.h + 1, [&] {
            fill(screen, 10, 10, c.w + 1, c.h + 1, kWhite), fill(screen, 11, 11, c.w - 1, c.h - 1, kBlack);
            multiline_draw_text(10, 10, c.tip, false, false);
        });
    }
}

TEST_F(RenderTest, FailedBlitsShowSdlsErrorText) {
    // SDL refuses to blit from a locked surface: the frame carries on and
    // shows why, at (10, 20) for the map and at (10, 30) for the cursor.
    for (SDL_Surface* s : {g.map, g.cursor}) SDL_LockSurface(s);
    render(60, 200);
    for (SDL_Surface* s : {g.map, g.cursor}) SDL_UnlockSurface(s);
    std::string error = SDL_GetError();
    ASSERT_FALSE(error.empty());
    // Checked left of the sidebar, which is drawn over the map's line; the
    // cursor's line, drawn last, covers the map's from row 30 on.
    expect_drawn(10, 20, 228, 10, [&] { draw_text(10, 20, error.c_str(), 0, 0); });
    expect_drawn(10, 30, 228, 12, [&] { draw_text(10, 30, error.c_str(), 0, 0); });
}

// Draws the tooltip on a blue screen and finds its white border's top-left
// corner; the size is measured along the top and left lines, which are one
// pixel longer than the box, where the screen does not cut them.
std::vector<int> measure_tooltip(int x, int y, const std::string& text) {
    fill(screen, 0, 0, 320, 240, kBlue);
    Sim().tooltip(x, y, text.c_str());
    int i = 0, w = 0, h = 0;
    while (i < 320 * 240 && !shows(kWhite, i % 320, i / 320)) i++;
    while (i % 320 + w < 320 && shows(kWhite, i % 320 + w, i / 320)) w++;
    while (i / 320 + h < 240 && shows(kWhite, i % 320, i / 320 + h)) h++;
    return {i % 320, i / 320, w - 1, h - 1};
}

TEST(TooltipTest, BoxFitsItsLinesAndStaysOnTheScreen) {
    const struct { int x, y; std::string text; std::vector<int> box; } cases[] = {
        {10, 10, "abcdef#abcdefghi#abcdefgh", {10, 10, 62, 44}},  // 6 * 9 + 8 by 12 * 3 + 8
        {310, 230, "x", {306, 220, 13, 19}},                      // pushed back inside: 14 by 20
        {-5, -7, "x", {0, 0, 14, 20}},
        // Texts are cut after 999 characters: the 'c' is the 999th, then the 1000th.
        {10, 10, "a#" + std::string(995, 'b') + "#c", {0, 10, 319, 44}},
        {10, 10, "a#" + std::string(996, 'b') + "#c", {0, 10, 319, 32}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.box, measure_tooltip(c.x, c.y, c.text)) << c.text.substr(0, 40);
}

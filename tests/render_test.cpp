// One frame of a level drawn from hand-made solid-colour surfaces, so every
// pixel the frame shows can be traced back to the image it came from.
#include "app/globals.h"
#include "game/sim.h"
#include "gfx/font.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Colour {
    Uint8 r, g, b;
};
const Colour kStale = {90, 0, 90};  // what the previous frame left
const Colour kBack = {40, 40, 200};
const Colour kSidebar = {200, 200, 40};
const Colour kMap = {40, 160, 40};
const Colour kMarker = {160, 40, 160};  // map column 10 and row 20
const Uint32 kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00;
const Uint32 kCircle = 0x840000;  // (128, 0, 0) in 5-6-5

Colour cell(int c, int r) { return {Uint8(16 + 28 * c), Uint8(40 + 50 * r), 90}; }
Colour symbol(int k) { return {Uint8(100 + 30 * k), 10, 60}; }
Colour pointer(int f) { return {250, Uint8(100 + 30 * f), 0}; }

// The colour as the 16-bit screen stores it, as 0xRRGGBB.
Uint32 rgb(Colour c) {
    Uint8 r, g, b;
    SDL_GetRGB(SDL_MapRGB(screen->format, c.r, c.g, c.b), screen->format, &r, &g, &b);
    return Uint32(r) << 16 | Uint32(g) << 8 | b;
}

void fill(SDL_Surface* s, int x, int y, int w, int h, Colour c) {
    SDL_Rect r = {Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
    SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
}

SDL_Surface* solid(int w, int h, Colour c) {
    const SDL_PixelFormat* f = screen->format;
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, f->Rmask, f->Gmask, f->Bmask, 0);
    fill(s, 0, 0, w, h, c);
    return s;
}

// A strip of 16x16 cells, pure blue (transparent) but for a corner square
// of `mark` pixels in the cell's own colour.
SDL_Surface* keyed_strip(int cells, Colour (*colour)(int), int mark) {
    SDL_Surface* s = solid(16 * cells, 16, {0, 0, 255});
    for (int k = 0; k < cells; k++) fill(s, 16 * k, 0, mark, mark, colour(k));
    SDL_SetColorKey(s, SDL_SRCCOLORKEY, SDL_MapRGB(s->format, 0, 0, 255));
    return s;
}

std::vector<Uint32> grab(int x, int y, int w, int h) {
    std::vector<Uint32> px;
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++) px.push_back(screen_rgb(i, j));
    return px;
}

#define EXPECT_PIXEL(colour, x, y) EXPECT_EQ(colour, screen_rgb(x, y)) << "at (" << (x) << "," << (y) << ")"

class RenderTest : public ::testing::Test {
protected:
    Sim* g = nullptr;

    void SetUp() override {
        draw_text(0, 0, "", 0, 0);  // the glyph strips, before any comparison
        g = new Sim();
        SDL_FreeSurface(g->back);
        SDL_FreeSurface(g->sidebar);
        SDL_FreeSurface(g->symbols);
        g->back = solid(320, 240, kBack);
        g->sidebar = solid(80, 240, kSidebar);
        g->symbols = keyed_strip(6, symbol, 16);
        g->tileset = solid(128, 64, kMap);
        for (int r = 0; r < 4; r++)
            for (int c = 0; c < 8; c++) fill(g->tileset, 16 * c, 16 * r, 16, 16, cell(c, r));
        g->cursor = keyed_strip(5, pointer, 4);  // what lies under it stays visible
        g->cursorframe = 0;
        g->cursorx = 60;
        g->cursory = 200;
        set_map(240, 240);

        Sim::Monster m;
        m.health = 70.9;
        m.imgy = 1;
        g->monstertypes.push_back(m);
        g->bullettypes.resize(2);
        g->bullettypes[0] = {0, "", 3.0, 0.0, -1, 0, 3};
        g->bullettypes[1] = {0, "", 12.7, 0.0, 1, 3, 3};  // slows
        add_turret("Gun", "Shoots", 10, 0, 10, 0);
        add_turret("Frost", "Cold", 50, 1, 45, 3);
        add_turret("Zapper", "Fast", 5, 0, 0, 6);
        add_turret("Sniper", "Far", 5, 0, 90, 4);
    }
    void TearDown() override { delete g; }

    void add_turret(const char* name, const char* desc, int cost, int bullet, int rate, int col) {
        Sim::Turret t;
        std::strcpy(t.name, name);
        std::strcpy(t.desc, desc);
        t.cost = cost;
        t.bullet = bullet;
        t.rate = rate;
        t.range = 32;
        t.imgx = col;
        t.imgy = 2;
        g->turrettypes.push_back(t);
    }

    void set_map(int w, int h) {
        if (g->mapcreated) SDL_FreeSurface(g->map);
        g->map = solid(w, h, kMap);
        fill(g->map, 10, 0, 1, h, kMarker);
        fill(g->map, 0, 20, w, 1, kMarker);
        g->mapcreated = true;
    }

    void add_object(int kind, int type, double x, double y, double hp = 0.0) {
        Sim::Object o;
        o.kind = kind;
        o.type = type;
        o.x = x;
        o.y = y;
        o.hp = hp;
        g->objects.push_back(o);
    }

    void render() {
        fill(screen, 0, 0, 320, 240, kStale);
        g->render();
    }

    // The text as draw_text puts it at (x, y) over a plain background (the
    // last shadow column is left out, so a text cut short compares too).
    void expect_text(int x, int y, const std::string& text, Colour bg) {
        int w = 6 * static_cast<int>(text.size());
        std::vector<Uint32> drawn = grab(x, y, w, 13);
        fill(screen, x, y, w, 13, bg);
        draw_text(x, y, text.c_str(), 0, 0);
        EXPECT_EQ(grab(x, y, w, 13), drawn) << "\"" << text << "\" at " << x << "," << y;
    }

    // The rendered tooltip is the box Sim::tooltip(10, 10, text) draws, of w
    // by h pixels plus the border's pixel right and below.
    void expect_tooltip(const char* text, int w, int h) {
        std::vector<Uint32> drawn = grab(10, 10, w + 2, h + 2);
        g->tooltip(10, 10, text);
        EXPECT_EQ(grab(10, 10, w + 2, h + 2), drawn) << text;
        EXPECT_PIXEL(kWhite, 10 + w, 10 + h);
        EXPECT_NE(kWhite, screen_rgb(11 + w, 10));
        EXPECT_NE(kWhite, screen_rgb(10, 11 + h));
    }
};

}  // namespace

TEST_F(RenderTest, MapSmallerThanTheAreaIsCentredOverTheBackground) {
    set_map(239, 240);  // one pixel narrower than 320 - 80
    render();
    EXPECT_EQ(1, g->mapx);
    EXPECT_EQ(0, g->mapy);
    EXPECT_PIXEL(rgb(kBack), 0, 120);
    EXPECT_PIXEL(rgb(kMarker), 11, 120);
    EXPECT_PIXEL(rgb(kMap), 239, 120);

    set_map(240, 239);  // exactly as wide, one pixel lower
    render();
    EXPECT_EQ(0, g->mapx);
    EXPECT_EQ(1, g->mapy);
    EXPECT_PIXEL(rgb(kBack), 120, 0);
    EXPECT_PIXEL(rgb(kMarker), 10, 1);
    EXPECT_PIXEL(rgb(kMap), 120, 239);

    set_map(101, 99);  // halves rounded down one by one
    render();
    EXPECT_EQ(160 - 40 - 50, g->mapx);
    EXPECT_EQ(120 - 49, g->mapy);

    g->sidebarwidth = 0;
    set_map(319, 240);
    render();
    EXPECT_EQ(1, g->mapx);
    EXPECT_PIXEL(rgb(kMap), 319, 120);
}

TEST_F(RenderTest, ScrollRunsDownOnlyWhileTheMapFits) {
    set_map(200, 200);  // centred at (20, 20)
    g->scrollx = 7;
    g->scrolly = 6;
    const int left[] = {3, 1, 0, 0};
    for (int i = 0; i < 4; i++) {
        render();
        EXPECT_EQ(left[i], g->scrollx) << "frame " << i;
        EXPECT_EQ(left[i], g->scrolly) << "frame " << i;
        EXPECT_EQ(20 - left[i], g->mapx) << "frame " << i;
        EXPECT_PIXEL(rgb(kMarker), 20 + 10 - left[i], 150);  // cut at the scroll
        EXPECT_PIXEL(rgb(kMarker), 150, 20 + 20 - left[i]);
    }
    g->scrollx = -3;  // nothing to run down from the left: 0 at once
    render();
    EXPECT_EQ(0, g->scrollx);

    set_map(400, 300);
    g->scrollx = 7;
    g->scrolly = 5;
    render();
    EXPECT_EQ(7, g->scrollx);
    EXPECT_EQ(-7, g->mapx);
    EXPECT_EQ(-5, g->mapy);
    EXPECT_PIXEL(rgb(kMarker), 3, 100);
    EXPECT_PIXEL(rgb(kMarker), 100, 15);
}

TEST_F(RenderTest, FailedBlitsShowSdlsErrorText) {
    SDL_LockSurface(g->map);  // a locked surface cannot be blitted
    render();
    SDL_UnlockSurface(g->map);
    std::string error = SDL_GetError();
    ASSERT_FALSE(error.empty());
    expect_text(10, 20, error.substr(0, 36), kStale);  // the sidebar hides the rest

    fill(g->map, 0, 0, 240, 240, kMap);
    SDL_LockSurface(g->cursor);
    render();
    SDL_UnlockSurface(g->cursor);
    expect_text(10, 30, std::string(SDL_GetError()).substr(0, 36), kMap);
}

TEST_F(RenderTest, ObjectsAreDrawnAtTruncatedPositionsAndClipped) {
    set_map(239, 240);                    // mapx = 1
    add_object(1, 0, -0.5, 100.9, 70.9);  // truncated to 0 before adding mapx
    add_object(2, 0, 50, 50);
    add_object(3, 1, 50, 50);   // later in the list: over the turret
    add_object(4, 0, 150, 50);  // no such kind
    add_object(2, 0, -10, 150);  // mostly left of the map area
    add_object(2, 0, 150, -10.9);
    add_object(1, 0, 100, 239.0, 70.9);  // touches the last row
    add_object(1, 0, 150, 240.0, 70.9);  // below: neither sprite nor bar
    render();
    EXPECT_PIXEL(rgb(cell(0, 1)), 1, 100);
    EXPECT_PIXEL(rgb(cell(0, 1)), 16, 115);
    EXPECT_PIXEL(rgb(kMap), 17, 100);
    EXPECT_PIXEL(rgb(kMap), 16, 116);
    EXPECT_PIXEL(rgb(cell(3, 3)), 51, 50);
    EXPECT_PIXEL(rgb(kMap), 158, 58);
    EXPECT_PIXEL(rgb(cell(0, 2)), 6, 155);  // x = -10 + mapx = -9 .. 6
    EXPECT_PIXEL(rgb(kMap), 7, 155);
    EXPECT_PIXEL(rgb(cell(0, 2)), 155, 5);
    EXPECT_PIXEL(rgb(kMap), 155, 6);
    EXPECT_PIXEL(rgb(cell(0, 1)), 101, 239);
    EXPECT_PIXEL(kBlack, 101, 231);
    EXPECT_PIXEL(rgb(kMap), 151, 232);

    g->objects.clear();
    g->turrettypes[0].imgx = -1;  // no sprite
    add_object(2, 0, 50, 50);
    render();
    EXPECT_PIXEL(rgb(kMap), 51, 50);
}

TEST_F(RenderTest, HealthBarShowsTheShareOfHealthLeft) {
    g->monstertypes[0].health = 70;
    add_object(1, 0, 20, 100, 70);    // full: 14 green
    add_object(1, 0, 50, 100, 35);    // half: 7
    add_object(1, 0, 80, 100, 4.9);   // under a fourteenth: none
    add_object(1, 0, 110, 100, 700);  // above full health: still 14
    render();
    for (int x = 20; x < 36; x++) {
        EXPECT_PIXEL(kBlack, x, 92);
        EXPECT_PIXEL(kBlack, x, 95);
    }
    EXPECT_PIXEL(kBlack, 20, 93);
    for (int x = 21; x < 35; x++) EXPECT_PIXEL(kGreen, x, 94);
    EXPECT_PIXEL(kBlack, 35, 93);
    EXPECT_PIXEL(kGreen, 57, 93);
    EXPECT_PIXEL(kRed, 58, 93);
    EXPECT_PIXEL(kRed, 64, 94);
    EXPECT_PIXEL(kRed, 81, 93);
    EXPECT_PIXEL(kGreen, 124, 93);
    EXPECT_PIXEL(kBlack, 125, 93);
}

TEST_F(RenderTest, SidebarShowsCountersWaveAndReadyButton) {
    render();
    EXPECT_PIXEL(rgb(kSidebar), 240, 0);
    EXPECT_PIXEL(rgb(symbol(0)), 252, 8);
    EXPECT_PIXEL(rgb(symbol(0)), 267, 23);
    EXPECT_PIXEL(rgb(symbol(1)), 252, 24);
    EXPECT_PIXEL(rgb(symbol(2)), 252, 216);
    EXPECT_PIXEL(rgb(cell(0, 1)), 252, 48);
    EXPECT_EQ(grab(274, 50, 46, 13), std::vector<Uint32>(46 * 13, rgb(kSidebar)));  // no "X:"
    expect_text(274, 10, "20", kSidebar);
    expect_text(274, 26, "30", kSidebar);
    expect_text(274, 218, "Ready", kSidebar);
    expect_text(252, 64, "HP: 70", kSidebar);

    g->ready = false;
    g->waverunning = true;
    g->spawnleft = 3;
    g->monstersalive = 4;
    g->sidebarwidth = 60;  // sliding: everything moves with it
    render();
    EXPECT_PIXEL(rgb(kBack), 259, 0);
    EXPECT_PIXEL(rgb(kSidebar), 260, 0);
    EXPECT_PIXEL(rgb(symbol(4)), 272, 216);
    expect_text(294, 50, "X: 7", kSidebar);
}

TEST_F(RenderTest, SidebarShutDrawsNothingThere) {
    g->sidebarwidth = 0;
    set_map(320, 240);
    g->cursorx = 100;
    g->cursory = 100;
    g->cursorframe = 2;
    render();
    EXPECT_EQ(0, g->cursorframe);
    EXPECT_PIXEL(rgb(pointer(0)), 92, 92);
    int others = 0;
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++) {
            bool expected = (x >= 92 && x < 96 && y >= 92 && y < 96) || x == 10 || y == 20;
            if (!expected && screen_rgb(x, y) != rgb(kMap)) others++;
        }
    EXPECT_EQ(0, others);
}

TEST_F(RenderTest, HoveredIconShowsItsFrameAndTooltip) {
    g->cursorx = 252;  // just inside icon 0 at (251, 98)
    g->cursory = 99;
    render();
    EXPECT_EQ(1, g->cursorframe);
    EXPECT_PIXEL(rgb(pointer(1)), 244, 91);
    EXPECT_PIXEL(kGreen, 248, 95);
    EXPECT_PIXEL(kGreen, 269, 116);
    EXPECT_PIXEL(rgb(kSidebar), 270, 117);
    EXPECT_PIXEL(rgb(cell(0, 2)), 251, 98);  // the icon over the frame
    expect_tooltip("Gun#Shoots#Cost: 10#Damage: 3#Shooting rate: 3 shots/second", 182, 68);

    g->cursorx = 273;  // too dear (50 > 30); its bullet slows
    render();
    EXPECT_EQ(2, g->cursorframe);
    EXPECT_PIXEL(kRed, 269, 95);
    EXPECT_PIXEL(kRed, 290, 116);
    expect_tooltip("Frost#Cold#Cost: 50#Damage: 12#Shooting rate: 0 shots/second# #Slows enemies down",
                   182, 92);

    g->cursorx = 294;  // a rate of 0 fires on every tick
    render();
    expect_tooltip("Zapper#Fast#Cost: 5#Damage: 3#Shooting rate: 30 shots/second", 188, 68);
}

TEST_F(RenderTest, IconsAreHoveredOnlyStrictlyInsideAndWhileIdle) {
    g->cursorx = 251;  // on the icon's left edge
    g->cursory = 99;
    g->cursorframe = 1;
    render();
    EXPECT_EQ(0, g->cursorframe);
    EXPECT_PIXEL(rgb(kSidebar), 269, 116);
    EXPECT_PIXEL(rgb(kMap), 12, 12);                // no tooltip
    EXPECT_PIXEL(rgb(cell(4, 2)), 251, 119);        // row 2 at trunc(1.5 * 21 + 88)
    EXPECT_PIXEL(rgb(kSidebar), 251, 118);
    g->cursorx = 266;  // inside the right edge
    g->cursory = 113;
    render();
    EXPECT_EQ(1, g->cursorframe);
    g->cursory = 114;  // on the bottom edge
    render();
    EXPECT_EQ(0, g->cursorframe);

    g->buildmode = 1;  // placing: icons do not react, the frame stays
    g->selectedturret = 0;
    g->cursorframe = 4;
    g->cursory = 99;
    render();
    EXPECT_EQ(4, g->cursorframe);
    EXPECT_PIXEL(rgb(kSidebar), 269, 116);
}

TEST_F(RenderTest, PreviewFollowsTheScrolledTileGrid) {
    set_map(400, 240);
    g->buildmode = 1;
    g->selectedturret = 0;
    g->cursorx = 100;
    g->cursory = 100;
    g->buildable[6][6] = true;
    g->scrollx = 4;  // mapx = -4: 4 pixels left of the screen's grid
    render();
    EXPECT_EQ(3, g->cursorframe);
    EXPECT_PIXEL(rgb(pointer(3)), 92, 96);
    EXPECT_PIXEL(rgb(cell(0, 2)), 107, 111);
    EXPECT_PIXEL(rgb(kMap), 108, 111);
    EXPECT_PIXEL(rgb(kMap), 91, 104);
    // The 16-sided circle of range 32 around the tile's centre (100, 104).
    EXPECT_PIXEL(kCircle, 100, 136);
    EXPECT_PIXEL(kCircle, 132, 104);
    EXPECT_PIXEL(kCircle, 100, 72);
    EXPECT_PIXEL(rgb(kMap), 100, 137);

    g->scrollx = 20;  // mapx = -20: the same place, but tile column 7, not 8
    g->buildable[8][6] = true;
    render();
    EXPECT_EQ(4, g->cursorframe);
    EXPECT_PIXEL(rgb(pointer(4)), 92, 96);
    g->buildable[7][6] = true;
    render();
    EXPECT_EQ(3, g->cursorframe);

    g->scrollx = 0;
    render();
    EXPECT_PIXEL(rgb(pointer(3)), 96, 96);

    g->turrettypes[0].range = 2147483647;  // corners far off: lines run along the edges
    render();
    EXPECT_PIXEL(kCircle, 200, 239);
}

TEST_F(RenderTest, PreviewOffTheMapOrTheMapAreaIsNotBuildable) {
    g->buildmode = 1;
    g->selectedturret = 0;
    set_map(96, 96);  // centred at (72, 72): the grid is offset by 8
    g->buildable[1][1] = true;
    g->cursorx = 80;
    g->cursory = 80;
    render();
    EXPECT_EQ(3, g->cursorframe);
    EXPECT_PIXEL(rgb(pointer(3)), 88, 88);
    g->cursorx = 10;  // left of the map: column 1 - 4
    render();
    EXPECT_EQ(4, g->cursorframe);

    set_map(240, 240);
    g->buildable[15][6] = true;  // right of the map, inside the grid
    g->cursorx = 235;
    g->cursory = 100;
    render();
    EXPECT_EQ(4, g->cursorframe);

    g->cursorframe = 3;  // below the last row: not the map area, frame kept
    g->cursorx = 100;
    g->cursory = 240;
    render();
    EXPECT_EQ(3, g->cursorframe);
    EXPECT_PIXEL(rgb(pointer(3)), 92, 232);
    g->cursory = 239;
    render();
    EXPECT_EQ(4, g->cursorframe);
}

TEST_F(RenderTest, NoCursorImageKeepsTheFrameUnset) {
    SDL_FreeSurface(g->cursor);
    g->cursor = nullptr;
    g->cursorframe = -1;
    g->cursorx = 252;
    g->cursory = 99;
    render();
    EXPECT_EQ(-1, g->cursorframe);
    EXPECT_PIXEL(kGreen, 248, 95);  // the icon still shows hovered
    g->buildmode = 1;
    g->selectedturret = 0;
    g->cursorx = 100;
    g->cursory = 100;
    render();
    EXPECT_EQ(-1, g->cursorframe);
    EXPECT_PIXEL(rgb(kMap), 100, 100);  // and no preview
}

// One frame of a level drawn from hand-made solid-colour surfaces, so every
// pixel the frame shows can be traced back to the image it came from.
#include "app/globals.h"
#include "game/sim.h"
#include "gfx/font.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Colours as 0xRRGGBB. kStale is what the previous frame left; the map has
// a marker line at column 10 and at row 20.
const Uint32 kStale = 0x5A005A, kBack = 0x2828C8, kSidebar = 0xC8C828, kMap = 0x28A028, kMarker = 0xA028A0;
const Uint32 kBlack = 0x000000, kRed = 0xFF0000, kGreen = 0x00FF00, kCircle = 0x800000;
Uint32 cell(int c, int r) { return Uint32(16 + 28 * c) << 16 | Uint32(40 + 50 * r) << 8 | 90; }
Uint32 symbol(int k, int = 0) { return Uint32(100 + 30 * k) << 16 | 10 << 8 | 60; }
Uint32 pointer(int f, int = 0) { return 250u << 16 | Uint32(100 + 30 * f) << 8; }

Uint32 mapped(SDL_Surface* s, Uint32 c) { return SDL_MapRGB(s->format, c >> 16, c >> 8 & 255, c & 255); }

// The colour as the 16-bit screen keeps it.
Uint32 px(Uint32 c) {
    Uint8 r, g, b;
    SDL_GetRGB(mapped(screen, c), screen->format, &r, &g, &b);
    return Uint32(r) << 16 | Uint32(g) << 8 | b;
}

void fill(SDL_Surface* s, int x, int y, int w, int h, Uint32 c) {
    SDL_Rect r = {Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
    SDL_FillRect(s, &r, mapped(s, c));
}

// A surface in `bg`; given a `cell` colour, a sheet of 16x16 cells in their
// colour on transparent blue, each but for a top-left square of `mark` pixels.
SDL_Surface* surface(int w, int h, Uint32 bg, Uint32 (*cell)(int, int) = nullptr, int mark = 16) {
    const SDL_PixelFormat* f = screen->format;
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, f->Rmask, f->Gmask, f->Bmask, 0);
    fill(s, 0, 0, w, h, cell ? 0x0000FF : bg);
    for (int r = 0; cell && r < h / 16; r++)
        for (int c = 0; c < w / 16; c++) fill(s, 16 * c, 16 * r, mark, mark, cell(c, r));
    SDL_SetColorKey(s, SDL_SRCCOLORKEY, mapped(s, 0x0000FF));
    return s;
}

std::vector<Uint32> grab(int x, int y, int w, int h) {
    std::vector<Uint32> out;
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++) out.push_back(screen_rgb(i, j));
    return out;
}

struct Px { Uint32 colour; int x, y; };

void expect(std::initializer_list<Px> pixels) {
    for (const Px& p : pixels) EXPECT_EQ(px(p.colour), screen_rgb(p.x, p.y)) << "at (" << p.x << "," << p.y << ")";
}

class RenderTest : public ::testing::Test {
protected:
    Sim g;

    void SetUp() override {
        for (SDL_Surface* s : {g.back, g.sidebar, g.symbols}) SDL_FreeSurface(s);
        g.back = surface(320, 240, kBack);
        g.sidebar = surface(80, 240, kSidebar);
        g.symbols = surface(96, 16, 0, symbol);
        g.tileset = surface(128, 64, 0, cell);
        g.cursor = surface(80, 16, 0, pointer, 4), g.cursorframe = 0;  // what lies under it stays visible
        set_map(240, 240);
        g.monstertypes.push_back({0, "", 70.9, 0, 0, 0, 0, 1, {}});
        g.bullettypes = {{0, "", 3.0, 0.0, -1, 0, 3}, {0, "", 12.7, 0.0, 1, 3, 3}};  // the second slows
        g.turrettypes = {{0, "Gun", "Shoots", 10, 0, 32, 10, 0, 0, 2}, {0, "Frost", "Cold", 50, 1, 32, 45, 0, 3, 2},
                         {0, "Zapper", "Fast", 5, 0, 32, 0, 0, 6, 2}, {0, "Sniper", "Far", 5, 0, 32, 90, 0, 4, 2}};
    }

    void set_map(int w, int h) {
        SDL_FreeSurface(g.map);
        g.map = surface(w, h, kMap);
        fill(g.map, 10, 0, 1, h, kMarker);
        fill(g.map, 0, 20, w, 1, kMarker);
        g.mapcreated = true;
    }

    void add(int kind, int type, double x, double y, double hp = 0) { g.objects.push_back({x, y, type, kind, hp}); }

    void render(int cursorx, int cursory, int buildmode = 0) {
        g.cursorx = cursorx, g.cursory = cursory, g.buildmode = buildmode, g.selectedturret = 0;
        fill(screen, 0, 0, 320, 240, kStale);
        g.render();
    }

    // The screen at (x, y, w, h) is what `draw` puts there.
    template <class Draw>
    void expect_drawn(int x, int y, int w, int h, Draw draw) {
        std::vector<Uint32> drawn = grab(x, y, w, h);
        draw();
        EXPECT_EQ(grab(x, y, w, h), drawn) << "at " << x << "," << y;
    }

    // The text drawn over a plain background (its last shadow column left out).
    void expect_text(int x, int y, const std::string& text, Uint32 bg) {
        int w = 6 * (int)text.size();
        expect_drawn(x, y, w, 13, [&] { fill(screen, x, y, w, 13, bg), draw_text(x, y, text.c_str(), 0, 0); });
    }
};

}  // namespace

TEST_F(RenderTest, MapSmallerThanTheAreaIsCentredAndItsScrollRunsDown) {
    const struct { int w, h, scroll, mapx, mapy; } cases[] = {
        {239, 240, 0, 1, 0},     // one pixel narrower than 320 - 80: centred
        {240, 239, 0, 0, 1},     // as wide, one pixel lower
        {400, 300, 7, -7, -7},   // larger: the scroll stays
        {200, 200, 7, 17, 17},   // fits: a scroll left over runs down, 7 to 3 (then 1, 0)
    };
    for (const auto& c : cases) {
        set_map(c.w, c.h);
        g.scrollx = g.scrolly = c.scroll;
        render(60, 200);
        EXPECT_EQ(std::make_pair(c.mapx, c.mapy), std::make_pair(g.mapx, g.mapy)) << c.w << "x" << c.h;
        expect({{kMarker, g.mapx + 10, g.mapy + 30}, {kMarker, g.mapx + 30, g.mapy + 20},
                {c.mapx > 0 || c.mapy > 0 ? kBack : kMap, 0, 0}});
    }
}

TEST_F(RenderTest, ObjectsAreDrawnAtTruncatedPositionsWithTheirHealthBars) {
    set_map(239, 240);             // mapx = 1
    add(1, 0, -0.5, 100.9, 70.9);  // truncated to (0, 100) before mapx is added
    add(2, 0, 50, 50);
    add(3, 1, 50, 50);             // later in the list: over the turret
    add(2, 0, 150, -10.9);         // mostly above the map area
    add(1, 0, 100, 239.0, 70.9);   // touches the last row
    add(1, 0, 150, 240.0, 70.9);   // below: neither sprite nor bar
    add(4, 0, 150, 50);            // no such kind
    add(2, 99, 150, 100);          // no such type
    add(1, 0, 20, 180, 35.45);     // half its health: 7 of 14 green
    add(1, 0, 50, 180, 4.9);       // under a fourteenth: none
    add(1, 0, 80, 180, 700);       // above full health: still 14
    render(60, 100);
    expect({{cell(0, 1), 16, 115}, {kMap, 17, 100}, {kMap, 16, 116}, {cell(3, 3), 51, 50}});
    expect({{cell(0, 2), 155, 5}, {kMap, 155, 6}, {cell(0, 1), 101, 239}, {kMap, 151, 232}, {kMap, 158, 58}});
    expect({{kMap, 158, 108}, {kBlack, 96, 173}, {kBlack, 101, 231}});
    // Bars: a black frame (x, y - 8, 16, 4) around a red bed and the green part.
    expect({{kBlack, 1, 92}, {kBlack, 16, 95}, {kBlack, 1, 93}, {kGreen, 2, 93}, {kGreen, 15, 94}, {kBlack, 16, 93}});
    expect({{kGreen, 28, 173}, {kRed, 29, 173}, {kRed, 35, 174}, {kRed, 52, 173}, {kGreen, 95, 173}});
}

TEST_F(RenderTest, SidebarShowsCountersWaveAndReadyButtonAndSlides) {
    render(60, 200);
    expect({{kSidebar, 240, 0}, {symbol(0), 252, 8}, {symbol(0), 267, 23}, {symbol(1), 252, 24}});
    expect({{symbol(2), 252, 216}, {cell(0, 1), 252, 48}});
    EXPECT_EQ(grab(274, 50, 46, 13), std::vector<Uint32>(46 * 13, px(kSidebar)));  // no "X:"
    const struct { int x, y; const char* text; } texts[] = {
        {274, 10, "20"}, {274, 26, "30"}, {274, 218, "Ready"}, {252, 64, "HP: 70"}};
    for (const auto& t : texts) expect_text(t.x, t.y, t.text, kSidebar);
    g.ready = false, g.waverunning = true, g.spawnleft = 3, g.monstersalive = 4, g.sidebarwidth = 60;
    render(60, 200);
    expect({{kBack, 259, 0}, {kSidebar, 260, 0}, {symbol(4), 272, 216}});
    expect_text(294, 50, "X: 7", kSidebar);
}

TEST_F(RenderTest, IconsAreHoveredStrictlyInsideWhileIdleWithFrameAndTooltip) {
    const struct { int x, y, buildmode, frame; Uint32 colour; const char* tip; } cases[] = {
        {252, 99, 0, 1, kGreen, "Gun#Shoots#Cost: 10#Damage: 3#Shooting rate: 3 shots/second"},
        {251, 99, 0, 0, kSidebar, nullptr},  // on the icon's left edge: not inside
        {252, 99, 1, 4, kSidebar, nullptr},  // placing: icons do not react, the frame stays
        // Too dear (50 > 30), and its bullet slows.
        {273, 99, 0, 2, kRed, "Frost#Cold#Cost: 50#Damage: 12#Shooting rate: 0 shots/second# #Slows enemies down"},
        // A rate of 0 would fire on every tick.
        {294, 99, 0, 1, kGreen, "Zapper#Fast#Cost: 5#Damage: 3#Shooting rate: 30 shots/second"},
    };
    for (const auto& c : cases) {
        g.cursorframe = 4;
        render(c.x, c.y, c.buildmode);
        EXPECT_EQ(c.frame, g.cursorframe) << "at " << c.x << "," << c.y;
        int left = 251 + 21 * ((c.x - 251) / 21);  // the icon at (left, 98), its frame 3 pixels around
        expect({{c.colour, left - 3, 95}, {c.colour, left + 18, 116}, {kSidebar, left + 19, 117}});
        expect({{cell((left - 251) / 7, 2), left, 98}, {c.colour == kSidebar ? kMap : kBlack, 12, 12}});
        // The tooltip is the box Sim::tooltip(10, 10, text) draws (a box of other lines would show its border).
        if (c.tip) expect_drawn(10, 10, 200, 100, [&] { g.tooltip(10, 10, c.tip); });
    }
}

TEST_F(RenderTest, PreviewFollowsTheMapsTileGridAndReadsOnlyCellsThatExist) {
    g.buildable[6][6] = g.buildable[8][6] = g.buildable[1][1] = g.buildable[15][6] = true;
    const struct { int w, h, scroll, x, y, frame, px, py; } cases[] = {
        {96, 96, 0, 80, 80, 3, 88, 88},       // centred at (72, 72): the grid offset by 8, tile (1, 1)
        {96, 96, 0, 10, 80, 4, 24, 88},       // a column left of the map
        {240, 240, 0, 235, 100, 4, 240, 96},  // right of the map, inside the grid
        {240, 240, 0, 100, 240, 2, 92, 232},  // below the last row: not the map area, the frame stays
        {400, 240, 20, 100, 100, 4, 92, 96},  // mapx = -20: 4 pixels left of the screen's grid, tile (7, 6)
        {400, 240, 4, 100, 100, 3, 92, 96},   // mapx = -4: the same place, but tile (6, 6)
    };
    for (const auto& c : cases) {
        set_map(c.w, c.h);
        g.scrollx = c.scroll, g.cursorframe = 2;
        render(c.x, c.y, 1);
        EXPECT_EQ(c.frame, g.cursorframe) << c.w << " wide, scrolled " << c.scroll << ", at " << c.x << "," << c.y;
        expect({{pointer(c.frame), c.px, c.py}});
    }
    // The turret on the tile, in the 16-sided circle of range 32 around the tile's centre (100, 104).
    expect({{cell(0, 2), 107, 111}, {kMap, 108, 111}, {kCircle, 100, 136}, {kCircle, 132, 104}});
    expect({{kCircle, 100, 72}, {kMap, 100, 137}});
    g.turrettypes[0].range = 0x7FFFFFFF;  // corners far off: the lines run along the edges
    render(100, 100, 1);
    expect({{kCircle, 200, 239}});
}

TEST_F(RenderTest, NoCursorImageKeepsTheFrameUnsetAndDrawsNoPreview) {
    SDL_FreeSurface(g.cursor);
    g.cursor = nullptr, g.cursorframe = -1;
    render(100, 100, 1);
    EXPECT_EQ(-1, g.cursorframe);
    expect({{kMap, 100, 100}});
}

TEST_F(RenderTest, FailedBlitsShowSdlsErrorText) {
    // SDL refuses to blit from a locked surface: the frame carries on and
    // shows why, at (10, 20) for the map and at (10, 30) for the cursor.
    SDL_LockSurface(g.map);
    SDL_LockSurface(g.cursor);
    render(60, 200);
    SDL_UnlockSurface(g.map);
    SDL_UnlockSurface(g.cursor);
    std::string error = SDL_GetError();
    ASSERT_FALSE(error.empty());
    // Checked left of the sidebar, which is drawn over the map's line; the
    // cursor's line, drawn last, covers the map's from row 30 on.
    expect_drawn(10, 20, 228, 10, [&] { draw_text(10, 20, error.c_str(), 0, 0); });
    expect_drawn(10, 30, 228, 12, [&] { draw_text(10, 30, error.c_str(), 0, 0); });
}

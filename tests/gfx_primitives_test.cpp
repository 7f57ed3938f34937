// Pixels, lines, the sine table and the loader's string scanning.
#include "game/string_scan.h"
#include "gfx/pixels.h"
#include "gfx/screen.h"
#include "gfx/sine.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <utility>

namespace {
using Points = std::set<std::pair<int, int>>;

struct Canvas {
    SDL_Surface* s;
    Canvas(int w, int h, int bits = 16) { s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bits, 0, 0, 0, 0); }
    ~Canvas() { SDL_FreeSurface(s); }
    Points lit() const {
        Points p;
        for (int y = 0; y < s->h; y++)
            for (int x = 0; x < s->w; x++)
                if (getpixel(s, x, y) != 0) p.insert({x, y});
        return p;
    }
};
}  // namespace

TEST(LineTest, DrawsTheExactPixelsOfBothBranches) {
    struct Case {
        int x1, y1, x2, y2;
        Points expected;
    } cases[] = {
        {0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},   // x-major
        {0, 0, 4, 4, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},           // 45 degrees: y-major
        {3, 3, 3, 3, {{3, 3}}},                                            // a point
        {5, 4, 1, 0, {{5, 4}, {4, 3}, {3, 2}, {2, 1}, {1, 0}}},           // walking backwards
        {100, -50, 200, -60, {{15, 0}}},                                   // both ends clamped onto one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "(" << c.x1 << "," << c.y1 << ")-(" << c.x2 << "," << c.y2 << ")");
        Canvas canvas(16, 8);
        line16(canvas.s, c.x1, c.y1, c.x2, c.y2, 0x1234);
        EXPECT_EQ(c.expected, canvas.lit());
        EXPECT_EQ(0x1234u, getpixel(canvas.s, c.expected.begin()->first, c.expected.begin()->second));
    }
}

TEST(LineTest, EachEndIsClampedIntoTheSurfaceOnItsOwn) {
    Canvas c(320, 240);
    line16(c.s, -10, 5, 400, 5, 0xFFFF);
    Points p = c.lit();
    EXPECT_EQ(320u, p.size());
    EXPECT_TRUE(p.count({0, 5}) && p.count({319, 5}));

    // Clamping moves the end points, so the line changes direction rather
    // than being clipped: (-20,-20)-(10,10) becomes (0,0)-(10,10).
    Canvas d(32, 32);
    line16(d.s, -20, -20, 10, 10, 0xFFFF);
    EXPECT_TRUE(d.lit().count({0, 0}));
    EXPECT_EQ(11u, d.lit().size());
}

TEST(PixelTest, ReadsEveryPixelSize) {
    Canvas c8(4, 4, 8);
    static_cast<Uint8*>(c8.s->pixels)[2 * c8.s->pitch + 3] = 0x7F;
    EXPECT_EQ(0x7Fu, getpixel(c8.s, 3, 2));

    Canvas c16(4, 4, 16);
    reinterpret_cast<Uint16*>(static_cast<Uint8*>(c16.s->pixels) + c16.s->pitch)[2] = 0xBEEF;
    EXPECT_EQ(0xBEEFu, getpixel(c16.s, 2, 1));

    Canvas c24(4, 4, 24);
    Uint8* p = static_cast<Uint8*>(c24.s->pixels) + 3 * c24.s->pitch + 1 * 3;
    p[0] = 0x11;
    p[1] = 0x22;
    p[2] = 0x33;
    EXPECT_EQ((0x33u << 16) | (0x22u << 8) | 0x11u, getpixel(c24.s, 1, 3));

    Canvas c32(4, 4, 32);
    reinterpret_cast<Uint32*>(static_cast<Uint8*>(c32.s->pixels) + c32.s->pitch)[3] = 0xCAFEBABE;
    EXPECT_EQ(0xCAFEBABEu, getpixel(c32.s, 3, 1));
}

TEST(SineTest, LooksUpWholeDegreesOfTheGamesTurn) {
    const double turn = 6.2831853;
    auto entry = [&](int i) { return std::sin(static_cast<double>(i) / 360 * turn); };
    EXPECT_EQ(360, sinvalues);
    EXPECT_EQ(0.0, Sin(0));
    EXPECT_EQ(entry(359), Sin(-0.01));
    EXPECT_EQ(entry(57), Sin(1.0));
    EXPECT_EQ(entry(90), Cos(0));
    EXPECT_EQ(entry(0), Sin(turn));
    EXPECT_EQ(entry(180), Sin(turn / 2 + 0.001 + 2 * turn)) << "reduced by whole turns first";
}

TEST(SineTest, AnglesThatCannotBeReducedEndAtOnce) {
    EXPECT_EQ(0.0, Sin(NAN));
    EXPECT_EQ(0.0, Sin(INFINITY));
    EXPECT_EQ(0.0, Sin(-INFINITY));
    // Far angles are folded rather than stepped down one turn at a time.
    double far = Sin(1e300);
    EXPECT_GE(far, -1.0);
    EXPECT_LE(far, 1.0);
    EXPECT_EQ(Sin(1.0), Sin(1.0 + 1e7 * 6.2831853)) << "a whole number of turns away";
}

TEST(StringScanTest, StartsWithComparesBytesUpToThePrefix) {
    EXPECT_TRUE(startswith("TileSet=a.bmp", "Tile"));
    EXPECT_TRUE(startswith("TileSet=a.bmp", "TileSet"));
    EXPECT_FALSE(startswith("Til", "Tile"));
    EXPECT_TRUE(startswith("anything", ""));
    EXPECT_FALSE(startswith("", "#"));
    EXPECT_FALSE(startswith("name=x", "Name"));
}

TEST(StringScanTest, SubfindFindsTheFirstWholeOccurrence) {
    EXPECT_EQ(4, subfind("Name=Forest", "="));
    EXPECT_EQ(1, subfind("a=b=c", "="));
    EXPECT_EQ(-1, subfind("abc", "="));
    EXPECT_EQ(-1, subfind("", "="));
    EXPECT_EQ(0, subfind("abc", ""));
    EXPECT_EQ(-1, subfind("", ""));
    EXPECT_EQ(-1, subfind("xab", "abc")) << "a candidate running past the end does not match";
    EXPECT_EQ(2, subfind("aaab", "ab"));
}

TEST(StringScanTest, SubstringCutsInPlaceAndGuardsItsStart) {
    char buf[32];
    std::strcpy(buf, "Name=Forest");
    substring(buf, buf, 5, -1);
    EXPECT_STREQ("Forest", buf);

    std::strcpy(buf, "Name=Forest");
    substring(buf, buf, 0, -1);
    EXPECT_STREQ("Name=Forest", buf);

    std::strcpy(buf, "Name=");
    substring(buf, buf, 5, -1);
    EXPECT_STREQ("", buf);

    std::strcpy(buf, "abcdef");
    substring(buf, buf, 2, 3);
    EXPECT_STREQ("cde", buf);

    // A start past the end must not read beyond the source.
    std::strcpy(buf, "ab");
    substring(buf, buf, 10, -1);
    EXPECT_STREQ("", buf);
    std::strcpy(buf, "ab");
    substring(buf, buf, 1, 50);
    EXPECT_STREQ("b", buf);
}

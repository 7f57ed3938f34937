// The four levels shipped with the game: each has a road that monsters can
// walk and turrets cannot be built on, and what its place in the set
// promises.
#include "game/sim.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Loaded {
    bool ok = false;
    std::string log;
};

Loaded load(Sim& s, const std::string& name) {
    s.set_bar("img/bar.bmp");
    s.set_cursor("img/cursor.bmp");
    std::string dir = "levels/" + name;
    Loaded r;
    testing::internal::CaptureStdout();
    r.ok = s.load_level(dir.c_str());
    r.log = testing::internal::GetCapturedStdout();
    return r;
}

int columns(const Sim& s) { return s.map->w / 16; }
int rows(const Sim& s) { return s.map->h / 16; }

bool on_edge(const Sim& s, const Sim::Waypoint& w) {
    return w.x == 0 || w.y == 0 || w.x == columns(s) - 1 || w.y == rows(s) - 1;
}

class BundledLevelsTest : public ::testing::TestWithParam<const char*> {};

}  // namespace

// (That they load without a single warning is the loader's own test.)
TEST_P(BundledLevelsTest, HasAWalkableRoadAndWhatAPlayerNeeds) {
    Sim s;
    Loaded r = load(s, GetParam());
    ASSERT_TRUE(r.ok) << r.log;

    EXPECT_STREQ(GetParam(), s.levelinfo[0]);
    EXPECT_STREQ("The Rampartica team", s.levelinfo[2]);
    // The comment is shown centred on the loading screen: 50 glyphs of 6
    // pixels fit across it.
    size_t comment = strlen(s.levelinfo[1]);
    EXPECT_GT(comment, 0u);
    EXPECT_LE(comment, 50u);
    EXPECT_GE(s.turrettypes.size(), 3u);
    EXPECT_GE(s.monstertypes.size(), 6u);
    for (const Sim::Monster& m : s.monstertypes) {
        EXPECT_GT(m.number, 0) << m.name;
        EXPECT_GT(m.money, 0) << m.name;
    }

    // The road: straight runs from cell to cell, never buildable, from one
    // edge of the map to another.
    ASSERT_GE(s.waypoints.size(), 2u);
    EXPECT_TRUE(on_edge(s, s.waypoints.front()));
    EXPECT_TRUE(on_edge(s, s.waypoints.back()));
    int road_cells = 0;
    for (size_t i = 0; i + 1 < s.waypoints.size(); i++) {
        Sim::Waypoint a = s.waypoints[i], b = s.waypoints[i + 1];
        ASSERT_TRUE(a.x == b.x || a.y == b.y) << "diagonal step after waypoint " << i;
        int dx = (b.x > a.x) - (b.x < a.x), dy = (b.y > a.y) - (b.y < a.y);
        for (Sim::Waypoint c = a;; c.x += dx, c.y += dy) {
            ASSERT_TRUE(c.x >= 0 && c.y >= 0 && c.x < columns(s) && c.y < rows(s));
            EXPECT_FALSE(s.buildable[c.x][c.y]) << "buildable road cell " << c.x << "," << c.y;
            road_cells++;
            if (c.x == b.x && c.y == b.y) break;
        }
    }
    EXPECT_GT(road_cells, columns(s));
    // Room to build along it.
    int buildable = 0;
    for (int x = 0; x < columns(s); x++)
        for (int y = 0; y < rows(s); y++) buildable += s.buildable[x][y];
    EXPECT_GT(buildable, road_cells);
}

INSTANTIATE_TEST_SUITE_P(Shipped, BundledLevelsTest,
                         ::testing::Values("Meadow", "Canyon", "Frostmarsh", "Emberkeep"));

// Meadow, the first level, fits the map area and shows centred on the
// background; Canyon is larger than the screen both ways, so its view scrolls.
TEST(BundledLevelsTest, MeadowFitsTheScreenAndCanyonScrolls) {
    Sim meadow;
    ASSERT_TRUE(load(meadow, "Meadow").ok);
    EXPECT_LT(meadow.map->w, 240);
    EXPECT_LT(meadow.map->h, 240);
    Sim canyon;
    ASSERT_TRUE(load(canyon, "Canyon").ok);
    EXPECT_GT(canyon.map->w, 320);
    EXPECT_GT(canyon.map->h, 240);
}

// Frostmarsh is about immunities: one monster type shrugs off a bullet
// type fully, another barely feels the slow, and a turret slows.
TEST(BundledLevelsTest, FrostmarshHasItsImmunities) {
    Sim s;
    ASSERT_TRUE(load(s, "Frostmarsh").ok);
    bool bullet_proof = false, slow_resistant = false, slowing_turret = false;
    for (size_t t = 0; t < s.monstertypes.size(); t++) {
        for (size_t b = 0; b < s.bullettypes.size(); b++)
            bullet_proof |= s.check_bullet_effectivity((int)t, (int)b) == 0.0;
        slow_resistant |= s.check_effect((int)t, 1) <= 0.25;
    }
    for (const Sim::Turret& t : s.turrettypes) slowing_turret |= s.bullettypes[t.bullet].effect == 1;
    EXPECT_TRUE(bullet_proof);
    EXPECT_TRUE(slow_resistant);
    EXPECT_TRUE(slowing_turret);
}

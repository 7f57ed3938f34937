// The four levels shipped with the game: each has a road that monsters can
// walk and turrets cannot be built on, and what its place in the set
// promises. (That they load without a warning is the loader's own test.)
#include "support/scripted_play.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class BundledLevelsTest : public ::testing::TestWithParam<const char*> {};

}  // namespace

// Enough to play, a comment that fits the loading screen (50 glyphs), and a
// road of straight runs from map edge to map edge, never buildable, with
// more room to build than road.
TEST_P(BundledLevelsTest, HasARoadRoomToBuildAndEnoughToPlay) {
    ScriptedPlay level(GetParam());
    ASSERT_TRUE(level.loaded) << level.problem;
    const Sim& s = level.sim;
    EXPECT_GE(s.turrettypes.size(), 3u);
    EXPECT_GE(s.monstertypes.size(), 6u);
    EXPECT_LE(strlen(s.levelinfo[1]), 50u);
    int cols = s.map->w / 16, rows = s.map->h / 16, road = 0, room = 0;
    for (const Sim::Waypoint& w : {s.waypoints.front(), s.waypoints.back()})
        EXPECT_TRUE(w.x == 0 || w.y == 0 || w.x == cols - 1 || w.y == rows - 1) << w.x << "," << w.y;
    for (size_t i = 0; i + 1 < s.waypoints.size(); i++) {
        Sim::Waypoint a = s.waypoints[i], b = s.waypoints[i + 1];
        ASSERT_TRUE(a.x == b.x || a.y == b.y) << "diagonal step after waypoint " << i;
        for (Sim::Waypoint c = a;; c.x += (b.x > a.x) - (b.x < a.x), c.y += (b.y > a.y) - (b.y < a.y)) {
            EXPECT_FALSE(s.buildable[c.x][c.y]) << "buildable road cell " << c.x << "," << c.y;
            road++;
            if (c.x == b.x && c.y == b.y) break;
        }
    }
    for (int x = 0; x < cols; x++)
        for (int y = 0; y < rows; y++) room += s.buildable[x][y];
    EXPECT_GT(room, road);
}

INSTANTIATE_TEST_SUITE_P(Shipped, BundledLevelsTest,
                         ::testing::Values("Meadow", "Canyon", "Frostmarsh", "Emberkeep"));

// Meadow shows centred in the map area, Canyon scrolls both ways, and
// Frostmarsh has a monster type immune to a bullet type, one that barely
// feels the slow, and a slowing turret.
TEST(BundledLevelsTest, MeadowFitsCanyonScrollsFrostmarshHasImmunities) {
    ScriptedPlay meadow("Meadow"), canyon("Canyon"), frost("Frostmarsh");
    ASSERT_TRUE(meadow.loaded && canyon.loaded && frost.loaded)
        << meadow.problem << canyon.problem << frost.problem;
    EXPECT_TRUE(meadow.sim.map->w < 240 && meadow.sim.map->h < 240);
    EXPECT_TRUE(canyon.sim.map->w > 320 && canyon.sim.map->h > 240);
    bool immune = false, slow_resistant = false, slowing = false;
    for (size_t t = 0; t < frost.sim.monstertypes.size(); t++) {
        for (size_t b = 0; b < frost.sim.bullettypes.size(); b++)
            immune |= frost.sim.check_bullet_effectivity(t, b) == 0.0;
        slow_resistant |= frost.sim.check_effect(t, 1) <= 0.25;
    }
    for (const Sim::Turret& t : frost.sim.turrettypes) slowing |= frost.sim.bullettypes[t.bullet].effect == 1;
    EXPECT_TRUE(immune && slow_resistant && slowing) << immune << slow_resistant << slowing;
}

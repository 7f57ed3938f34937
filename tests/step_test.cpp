// The tick: sidebar slide, view scroll, waves, the end of a wave, monster
// movement and escapes.
#include "support/sim_builder.h"

#include <climits>
#include <tuple>

namespace {

class StepTest : public EmptyBoxTest {};

// Puts a game at the moment its running wave is noticed to be over: no
// monster alive, none left to send, and 30 ticks since the last spawn.
void finish_wave(Sim& s) {
    s.waverunning = true;
    s.spawnleft = 0;
    s.spawntimer = 29;
    ASSERT_TRUE(s.step());
}

TEST_F(StepTest, SidebarSlidesFivePixelsATickForSixteenTicksEachWay) {
    auto s = make_sim();
    for (bool open : {false, true}) {
        s->toggle_sidebar(open);
        s->step();
        EXPECT_EQ(open ? 5 : 75, s->sidebarwidth);
        for (int t = 1; t < 16; t++) s->step();
        EXPECT_EQ(open ? 80 : 0, s->sidebarwidth);
    }
}

TEST_F(StepTest, ScrollsAgainstTheWholeScreenWithinTheMapBounds) {
    struct Case { int mapw, maph, sidebar, cx, cy, ticks, from, x, y; };
    // In pairs: 0.95 of the screen is not past it, so the view scrolls right only
    // from inside the open sidebar; 0.05 is not below it; the bounds 400 + 80 - 321
    // and 300 - 240, then 0; a map 240 high, or 240 wide beside the sidebar, stays.
    const Case cases[] = {
        {400, 300, 80, 304, 228, 1, 0, 0, 0},     {400, 300, 80, 305, 229, 1, 0, 5, 5},
        {400, 300, 0, 16, 12, 1, 60, 60, 60},     {400, 300, 0, 15, 11, 1, 60, 55, 55},
        {400, 300, 80, 320, 240, 50, 0, 159, 60}, {400, 300, 0, 0, 0, 50, 60, 0, 0},
        {400, 240, 80, 320, 240, 5, 0, 25, 0},    {240, 300, 80, 320, 240, 5, 0, 0, 25},
    };
    for (const Case& c : cases) {
        auto s = make_sim(c.mapw, c.maph);
        s->sidebarwidth = c.sidebar;
        s->scrollx = s->scrolly = c.from;
        s->addcursor(c.cx, c.cy);
        for (int t = 0; t < c.ticks; t++) s->step();
        EXPECT_EQ(std::make_pair(c.x, c.y), std::make_pair(s->scrollx, s->scrolly))
            << "case " << &c - cases;
    }
}

TEST_F(StepTest, WaveSpawnsOnTicksOneThirtyOneSixtyOneAndEndsThirtyTicksAfterItsLast) {
    auto s = make_sim();
    s->monstertypes = {monster_type("Goblin", 40, 1.0, 3, 2), monster_type("Orc", 80, 1.0, 1, 3)};
    s->waypoints = {{2, 3}, {5, 7}};
    s->cursorclick(3);
    std::vector<int> spawned;
    int ended = 0;
    for (int tick = 1; tick <= 200 && ended == 0; tick++) {
        ASSERT_TRUE(s->step());
        if (s->spawntimer == 0) spawned.push_back(tick);
        if (tick == 1) {  // on waypoint 0, then one pixel along (48, 64) in the same tick
            EXPECT_EQ(std::make_tuple(32.6, 48.8, 40.0),
                      std::make_tuple(s->objects[0].x, s->objects[0].y, s->objects[0].hp));
        }
        if (tick == 61) {
            EXPECT_LT(s->objects[0].y, s->objects[1].y);  // newest first: it walked the least
            s->objects.clear();  // all killed by hand
            s->turretstart = s->bulletstart = s->monstersalive = 0;
        }
        if (!s->waverunning) ended = tick;
    }
    EXPECT_EQ(std::make_pair(std::vector<int>({1, 31, 61}), 91), std::make_pair(spawned, ended));
    // Ready for the next wave; it was not past the last one, so nothing hardened.
    EXPECT_EQ(std::make_tuple(true, 1, 80.0),
              std::make_tuple(s->ready, s->wave, s->monstertypes[1].health));
}

TEST_F(StepTest, WaveBonusIsTheTruncatedRootOverTenAndStaysInRange) {
    struct Case { int money; double health; int number, bonus; const char* message; };
    const Case cases[] = {
        {5, 100, 10, 7, "Level completed! Bonus: 7"},      // sqrt(5000) / 10 = 7.07
        {1, 10, 5, 0, "Level completed! No bonus..."},     // sqrt(50) / 10 = 0.7
        {100000, 1e6, 1000, 4634, "Level completed! Bonus: 4634"},  // held to INT_MAX
        {-5, 100, 10, 0, "Level completed! No bonus..."},  // no root of a negative product
    };
    for (const Case& c : cases) {
        auto s = make_sim();
        s->monstertypes = {monster_type("A", c.health, 1, c.number, c.money)};
        finish_wave(*s);
        EXPECT_EQ(std::make_pair(Lines({c.message}), 30 + c.bonus),
                  std::make_pair(drain_messages(), s->money));
    }
}

TEST_F(StepTest, LastWaveRepeatsHardenedInPlaceAndSaturates) {
    auto s = make_sim();
    s->monstertypes = {monster_type("A", 10, 1, 1, 1), monster_type("Boss", 50, 1, 4, 7)};
    s->wave = 1;
    const Sim::Monster& boss = s->monstertypes[1];
    finish_wave(*s);
    // Still wave 1; health doubled, reward times 1.5 truncated, number kept.
    EXPECT_EQ(std::make_tuple(1, 100.0, 10, 4),
              std::make_tuple(s->wave, boss.health, boss.money, boss.number));

    s->monstertypes[1] = monster_type("Boss", 3e299, 1, 1, INT_MAX / 2);
    s->money = INT_MAX - 100;
    finish_wave(*s);
    // 1073741823 * 1.5 truncated; the bonus of 4634 saturates the money.
    EXPECT_EQ(std::make_tuple(6e299, 1610612734, INT_MAX),
              std::make_tuple(boss.health, boss.money, s->money));
    for (int round = 0; round < 3000; round++) finish_wave(*s);
    EXPECT_EQ(std::make_pair(1e300, INT_MAX), std::make_pair(boss.health, boss.money));
}

TEST_F(StepTest, SlowHalvesTheSpeedForNinetyTicksScaledByTheFirstSlowImmunity) {
    auto s = make_sim();
    s->monstertypes = {monster_type("Plain", 10, 2, 1, 1), monster_type("Resists", 10, 2, 1, 1)};
    s->monstertypes[1].immunities = {{0, 0.9}, {-1, 0.5}, {-1, 1.0}};
    s->waypoints = {{0, 0}, {120, 0}};
    // Both just hit by a Slow bullet: factor 0.5 for 90 ticks.
    for (int type : {0, 1}) s->objects.push_back(Sim::Object{0, 0, type, 1, 10, 2, 1, 1, 0.5, 90});
    for (int t = 0; t < 91; t++) s->step();
    // 90 ticks at 1 (or 1.5, half immune), then one at the full 2.
    EXPECT_EQ(std::make_pair(92.0, 137.0), std::make_pair(s->objects[0].x, s->objects[1].x));
}

TEST_F(StepTest, EscapeCostsALifeRestartsThePathAndTheTwentyFirstEndsTheGame) {
    auto s = make_sim();
    s->waypoints = {{1, 1}, {2, 1}, {2, 3}};
    add_monster(*s, 16, 16, 0, 10, 100.0, 1);
    add_bullet(*s, 100, 200, 0, 1, 1, 0, 1000);  // flies one pixel a tick
    std::vector<std::tuple<double, double, int>> seen;  // x, y and lives after each tick
    while (s->step() && seen.size() < 100)
        seen.emplace_back(s->objects[0].x, s->objects[0].y, s->lives);
    // Lands on waypoint 1, losing the rest of its step; at the end of the path
    // it is back on waypoint 0, one life less; escapes on ticks 2, 5, ..., 62.
    EXPECT_EQ(std::make_tuple(32.0, 16.0, 20), seen.at(0));
    EXPECT_EQ(std::make_tuple(16.0, 16.0, 19), seen.at(1));
    // The 21st escape ends the game: the bullet has not moved in that tick, and
    // the monster was never removed.
    EXPECT_EQ(std::make_tuple(61u, -1, 161.0, 1),
              std::make_tuple(seen.size(), s->lives, s->objects[1].x, s->turretstart));
}

TEST_F(StepTest, WaveWithAMonsterThatCannotMoveNeitherDividesByZeroNorOverflows) {
    auto s = make_sim();
    s->waypoints = {{2, 2}, {4, 2}};
    add_monster(*s, 64, 32, 0, 10, 0.0, 1);  // exactly on waypoint 1
    s->waverunning = true;
    s->spawntimer = INT_MAX;  // the wave has run for years
    s->step();
    const Sim::Object& m = s->objects[0];
    EXPECT_EQ(std::make_tuple(64.0, 32.0, 1.0, INT_MAX),
              std::make_tuple(m.x, m.y, m.vy, s->spawntimer));
}

TEST_F(StepTest, StrayObjectKindIsReportedEachTickAndSkipped) {
    auto s = make_sim();
    add_bullet(*s, 50, 50, 0, 1, 1, 0, 100);
    s->objects.insert(s->objects.begin(), Sim::Object{33, 0, 0, 7, 0, 0, 0, 0, 0, 0});
    testing::internal::CaptureStdout();
    for (int t = 0; t < 2; t++) s->step();
    EXPECT_EQ("wtflol object without type!\nwtflol object without type!\n",
              testing::internal::GetCapturedStdout());
    // Left alone, and the pass went on past it.
    EXPECT_EQ(std::make_pair(33.0, 52.0), std::make_pair(s->objects[0].x, s->objects[1].x));
}

}  // namespace

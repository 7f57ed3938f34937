// The tick: sidebar slide, view scroll, waves, the end of a wave, monster
// movement and escapes. How Slow and its immunity scale a monster's speed is
// pinned by the scripted golden runs of the levels with Slow bullets.
#include "support/sim_builder.h"

#include <climits>
#include <tuple>

namespace {

class StepTest : public EmptyBoxTest {};

// One tick of a running wave with nothing left to send, 30 ticks after its
// last spawn: with no monster alive, it ends now.
void finish_wave(Sim& s) {
    s.waverunning = true, s.spawnleft = 0, s.spawntimer = 29;
    ASSERT_TRUE(s.step());
}

TEST_F(StepTest, SidebarSlidesFivePixelsATickForSixteenTicksEachWay) {
    auto s = make_sim();
    for (bool open : {false, true}) {
        s->toggle_sidebar(open);
        s->step();
        EXPECT_EQ(open ? 5 : 75, s->sidebarwidth);
        for (int t = 1; t < 16; t++) s->step();
        EXPECT_EQ(std::make_pair(open ? 80 : 0, 0), std::make_pair(s->sidebarwidth, s->sidebarmove));
    }
}

TEST_F(StepTest, ScrollsAgainstTheWholeScreenWithinTheMapBounds) {
    // With the sidebar open, from (30, 30) for 50 ticks. 0.95 of the screen is not
    // past it, so the view scrolls right only from inside the sidebar, up to
    // 400 + 80 - 321 and 300 - 240; 0.05 is not below it; a map no larger than the
    // area stays.
    struct Case { int mapw, maph, cx, cy, x, y; };
    const Case cases[] = {
        {400, 300, 304, 228, 30, 30}, {400, 300, 305, 229, 159, 60}, {400, 300, 16, 12, 30, 30},
        {400, 300, 15, 11, 0, 0},     {240, 240, 320, 240, 30, 30},
    };
    for (const Case& c : cases) {
        auto s = make_sim(c.mapw, c.maph);
        s->scrollx = s->scrolly = 30;
        s->addcursor(c.cx, c.cy);
        for (int t = 0; t < 50; t++) s->step();
        EXPECT_EQ(std::make_pair(c.x, c.y), std::make_pair(s->scrollx, s->scrolly)) << "case " << &c - cases;
    }
}

TEST_F(StepTest, WaveSpawnsOnTicksOneThirtyOneSixtyOneAndEndsThirtyTicksAfterItsLast) {
    auto s = make_sim();
    s->monstertypes = {monster_type("Goblin", 40, 1.0, 3, 2)};
    s->waypoints = {{2, 3}, {5, 7}};
    s->cursorclick(3);
    std::vector<int> spawned;
    int tick = 0;
    while (s->waverunning && ++tick < 200) {
        ASSERT_TRUE(s->step());
        if (s->spawntimer == 0) spawned.push_back(tick);
        if (tick == 61) {  // all killed by hand
            s->objects.clear();
            s->turretstart = s->bulletstart = s->monstersalive = 0;
        }
    }
    EXPECT_EQ(std::make_pair(std::vector<int>({1, 31, 61}), 91), std::make_pair(spawned, tick));
}

TEST_F(StepTest, WaveEndPaysTheTruncatedRootOverTenHardensTheLastTypeOnlyPastItAndSaturates) {
    auto s = make_sim();
    s->monstertypes = {monster_type("A", 100, 1, 10, 5), monster_type("Boss", 50, 1, 4, 7)};
    const Sim::Monster& boss = s->monstertypes[1];
    finish_wave(*s);  // sqrt(5000) / 10 = 7.07; the first of two, so nothing hardened
    EXPECT_EQ(std::make_tuple(Lines({"Level completed! Bonus: 7"}), 37, true, 1, 50.0),
              std::make_tuple(drain_messages(), s->money, s->ready, s->wave, boss.health));
    finish_wave(*s);  // still wave 1: health doubled, reward times 1.5 truncated, number kept
    EXPECT_EQ(std::make_tuple(Lines({"Level completed! Bonus: 3"}), 1, 100.0, 10, 4),
              std::make_tuple(drain_messages(), s->wave, boss.health, boss.money, boss.number));
    for (int money : {1, -5}) {  // sqrt(50) / 10 = 0.7; no root of a negative product
        s->monstertypes[1] = monster_type("Boss", 10, 1, 5, money);
        finish_wave(*s);
        EXPECT_EQ(Lines({"Level completed! No bonus..."}), drain_messages());
    }
    // The product is held to INT_MAX before its root; the money saturates, the
    // health stops at 1e300 and the reward at INT_MAX.
    s->monstertypes[1] = monster_type("Boss", 6e299, 1, 1, 1610612734);
    s->money = INT_MAX - 100;
    finish_wave(*s);
    EXPECT_EQ(std::make_tuple(Lines({"Level completed! Bonus: 4634"}), INT_MAX, 1e300, INT_MAX),
              std::make_tuple(drain_messages(), s->money, boss.health, boss.money));
}

TEST_F(StepTest, EscapeCostsALifeRestartsThePathAndTheTwentyFirstEndsTheGame) {
    auto s = make_sim();
    s->waypoints = {{1, 1}, {2, 1}, {2, 3}};
    add_monster(*s, 16, 16, 0, 10, 100.0, 1);
    add_bullet(*s, 100, 200, 0, 1, 1, 0, 1000);  // flies one pixel a tick
    std::vector<std::tuple<double, double, int>> seen;  // x, y and lives after each tick
    while (s->step() && seen.size() < 100) seen.emplace_back(s->objects[0].x, s->objects[0].y, s->lives);
    // Lands on waypoint 1, losing the rest of its step; at the end of the path
    // it is back on waypoint 0, one life less; escapes on ticks 2, 5, ..., 62.
    EXPECT_EQ(std::make_tuple(32.0, 16.0, 20), seen.at(0));
    EXPECT_EQ(std::make_tuple(16.0, 16.0, 19), seen.at(1));
    // The 21st escape ends the game at once: the bullet has not moved in that tick.
    EXPECT_EQ(std::make_tuple(61u, -1, 161.0), std::make_tuple(seen.size(), s->lives, s->objects[1].x));
}

TEST_F(StepTest, StrayKindIsReportedAndSkippedAStillMonsterOnItsTargetAndTheTimerStayPut) {
    auto s = make_sim();
    s->waypoints = {{2, 2}, {4, 2}};
    add_monster(*s, 64, 32, 0, 10, 0.0, 1);  // speed 0, exactly on waypoint 1
    add_bullet(*s, 50, 50, 0, 1, 1, 0, 100);
    s->objects.insert(s->objects.begin() + 1, Sim::Object{33, 0, 0, 7, 0, 0, 0, 0, 0, 0});
    s->waverunning = true;
    s->spawntimer = INT_MAX;  // the wave has run for years
    testing::internal::CaptureStdout();
    for (int t = 0; t < 2; t++) s->step();
    EXPECT_EQ("wtflol object without type!\nwtflol object without type!\n", testing::internal::GetCapturedStdout());
    // The pass went on past the stray object; nothing divided by zero or overflowed.
    EXPECT_EQ(std::make_tuple(64.0, 32.0, 1.0, INT_MAX, 52.0),
              std::make_tuple(s->objects[0].x, s->objects[0].y, s->objects[0].vy, s->spawntimer, s->objects[2].x));
}

}  // namespace

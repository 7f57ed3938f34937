// The tick: sidebar slide, view scroll, waves, the end of a wave, monster
// movement, escapes and the immunity lookups.
#include "support/sim_builder.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <utility>

namespace {

class StepTest : public ::testing::Test {
protected:
    void SetUp() override { box.clear(); }
    void TearDown() override { box.clear(); }
};

// Puts a game at the moment its running wave is noticed to be over: no
// monster alive, none left to send, and 30 ticks since the last spawn.
void finish_wave(Sim& s) {
    s.waverunning = true;
    s.ready = false;
    s.spawnleft = 0;
    s.spawntimer = 29;
    ASSERT_TRUE(s.step());
    ASSERT_FALSE(s.waverunning);
}

TEST_F(StepTest, SidebarSlidesFivePixelsATickAndTurnsBackWhereItStands) {
    auto s = make_sim();
    s->toggle_sidebar(false);
    std::vector<int> widths;
    for (int t = 0; t < 16; t++) {
        s->step();
        widths.push_back(s->sidebarwidth);
    }
    EXPECT_EQ(std::vector<int>({75, 70, 65, 60, 55, 50, 45, 40, 35, 30, 25, 20, 15, 10, 5, 0}),
              widths);
    EXPECT_EQ(0, s->sidebarmove);

    s->toggle_sidebar(true);
    for (int t = 0; t < 15; t++) s->step();
    EXPECT_EQ(75, s->sidebarwidth);
    EXPECT_EQ(1, s->sidebarmove);
    s->step();
    EXPECT_EQ(80, s->sidebarwidth);
    EXPECT_EQ(0, s->sidebarmove);

    // Shut, then open again three ticks in: it turns back from 65.
    s->toggle_sidebar(false);
    for (int t = 0; t < 3; t++) s->step();
    EXPECT_EQ(65, s->sidebarwidth);
    s->toggle_sidebar(true);
    s->step();
    EXPECT_EQ(70, s->sidebarwidth);
}

// (scrollx, scrolly) after `ticks` ticks with the cursor held at (cx, cy).
std::pair<int, int> scrolled(int mapw, int maph, int sidebar, int cx, int cy, int ticks,
                             int from = 0) {
    auto s = make_sim(mapw, maph);
    s->sidebarwidth = sidebar;
    s->scrollx = s->scrolly = from;
    s->cursorx = cx;
    s->cursory = cy;
    for (int t = 0; t < ticks; t++) s->step();
    return {s->scrollx, s->scrolly};
}

TEST_F(StepTest, ScrollsAgainstTheWholeScreenWithinTheMapBounds) {
    EXPECT_EQ(0, scrolled(400, 300, 80, 304, 120, 1).first);  // 0.95 of 320 is not past it
    EXPECT_EQ(5, scrolled(400, 300, 80, 305, 120, 1).first);  // inside the open sidebar
    EXPECT_EQ(400 + 80 - 321, scrolled(400, 300, 80, 320, 120, 50).first);
    EXPECT_EQ(400 - 321, scrolled(400, 300, 0, 320, 120, 50).first);
    EXPECT_EQ(79, scrolled(400, 300, 0, 16, 120, 1, 79).first);
    EXPECT_EQ(74, scrolled(400, 300, 0, 15, 120, 1, 79).first);
    EXPECT_EQ(0, scrolled(400, 300, 0, 0, 120, 50, 79).first);
    EXPECT_EQ(0, scrolled(400, 300, 80, 160, 228, 1).second);
    EXPECT_EQ(60, scrolled(400, 300, 80, 160, 229, 50).second);
    EXPECT_EQ(60, scrolled(400, 300, 80, 160, 12, 1, 60).second);
    EXPECT_EQ(55, scrolled(400, 300, 80, 160, 11, 1, 60).second);
    // Maps that fit the view never scroll: 240 high, or 240 wide beside the sidebar.
    EXPECT_EQ(0, scrolled(400, 240, 80, 160, 240, 5).second);
    EXPECT_EQ(0, scrolled(240, 240, 80, 320, 120, 5).first);
}

TEST_F(StepTest, WaveSendsItsMonstersOnTicksOneThirtyOneAndSixtyOne) {
    auto s = make_sim();
    s->monstertypes = {monster_type("Goblin", 40, 1.0, 3, 2)};
    s->waypoints = {{2, 3}, {2, 14}};
    s->cursorclick(3);
    drain_messages();

    std::vector<int> spawned;
    for (int tick = 1; tick <= 100; tick++) {
        int before = s->turretstart;
        ASSERT_TRUE(s->step());
        if (s->turretstart > before) spawned.push_back(tick);
        if (tick == 1) {
            const Sim::Object& m = s->objects[0];
            EXPECT_EQ(32.0, m.x);
            EXPECT_EQ(48.0 + 1.0, m.y);  // placed on waypoint 0, then walked 1 toward waypoint 1
            EXPECT_EQ(1, m.kind);
            EXPECT_EQ(40.0, m.hp);
            EXPECT_EQ(1.0, m.vx);
            EXPECT_EQ(1.0, m.vy);
            EXPECT_EQ(0.0, m.effect);
            EXPECT_EQ(2, s->spawnleft);
            EXPECT_EQ(0, s->spawntimer);
        }
    }
    EXPECT_EQ(std::vector<int>({1, 31, 61}), spawned);
    EXPECT_EQ(3, s->monstersalive);
    EXPECT_EQ(3, s->bulletstart);
    // Newest first: the last one sent has walked the least.
    EXPECT_LT(s->objects[0].y, s->objects[1].y);
    EXPECT_LT(s->objects[1].y, s->objects[2].y);
    EXPECT_TRUE(s->waverunning);
}

TEST_F(StepTest, EndOfWaveIsNoticedThirtyTicksAfterTheLastSpawn) {
    auto s = make_sim();
    s->monstertypes = {monster_type("Goblin", 40, 0.0, 1, 2), monster_type("Orc", 80, 0.0, 1, 3)};
    s->waypoints = {{2, 3}, {2, 14}};
    s->cursorclick(3);
    drain_messages();
    ASSERT_TRUE(s->step());
    ASSERT_EQ(1, s->turretstart);
    // Killed at once by hand.
    s->objects.erase(s->objects.begin());
    s->turretstart = s->bulletstart = 0;
    for (int tick = 2; tick <= 30; tick++) {
        s->step();
        ASSERT_TRUE(s->waverunning) << "tick " << tick;
    }
    s->step();
    EXPECT_FALSE(s->waverunning);
    EXPECT_TRUE(s->ready);
    EXPECT_EQ(1, s->wave);
    EXPECT_EQ(80.0, s->monstertypes[1].health);  // not the last wave: nothing hardened
}

TEST_F(StepTest, WaveBonusFollowsItsTruncationsAndStaysInRange) {
    auto bonus_of = [](int money, double health, int number, int start_money,
                       std::string* message) {
        auto s = make_sim();
        s->monstertypes = {monster_type("A", health, 1, number, money), monster_type("B", 1, 1, 1, 1)};
        s->money = start_money;
        finish_wave(*s);
        auto lines = drain_messages();
        EXPECT_EQ(1u, lines.size());
        *message = lines.empty() ? "" : lines[0];
        return s->money - start_money;
    };
    std::string message;
    EXPECT_EQ(7, bonus_of(5, 100, 10, 30, &message));  // sqrt(5000) / 10 = 7.07
    EXPECT_EQ("Level completed! Bonus: 7", message);
    EXPECT_EQ(0, bonus_of(1, 10, 5, 30, &message));  // sqrt(50) / 10 = 0.7
    EXPECT_EQ("Level completed! No bonus...", message);
    EXPECT_EQ(1, bonus_of(1, 100.0, 1, 30, &message));
    EXPECT_EQ(0, bonus_of(1, 99.9, 1, 30, &message));
    // Beyond int: held to INT_MAX, whose root over ten is 4634.
    EXPECT_EQ(4634, bonus_of(100000, 1e6, 1000, 30, &message));
    EXPECT_EQ("Level completed! Bonus: 4634", message);
    // A negative reward pays nothing rather than a root of a negative number.
    EXPECT_EQ(0, bonus_of(-5, 100, 10, 30, &message));
    EXPECT_EQ("Level completed! No bonus...", message);
    // Money saturates instead of overflowing.
    EXPECT_EQ(3, bonus_of(5, 100, 10, INT_MAX - 3, &message));
}

TEST_F(StepTest, LastWaveRepeatsHardenedInPlace) {
    auto s = make_sim();
    s->monstertypes = {monster_type("A", 10, 1, 1, 1), monster_type("Boss", 50, 1, 4, 7)};
    s->wave = 1;
    finish_wave(*s);
    EXPECT_EQ(1, s->wave);
    EXPECT_EQ(100.0, s->monstertypes[1].health);
    EXPECT_EQ(10, s->monstertypes[1].money);
    EXPECT_EQ(4, s->monstertypes[1].number);
    finish_wave(*s);
    EXPECT_EQ(200.0, s->monstertypes[1].health);
    EXPECT_EQ(15, s->monstertypes[1].money);
    EXPECT_EQ(10.0, s->monstertypes[0].health);
    EXPECT_EQ(1, s->monstertypes[0].money);
}

TEST_F(StepTest, EndlessHardeningStaysFiniteAndInRange) {
    auto s = make_sim();
    s->monstertypes = {monster_type("Boss", 3e299, 1, 1, INT_MAX / 2)};
    s->money = INT_MAX - 100;
    finish_wave(*s);
    EXPECT_EQ(6e299, s->monstertypes[0].health);
    EXPECT_EQ(1610612734, s->monstertypes[0].money);  // 1073741823 * 1.5, truncated
    EXPECT_EQ(INT_MAX, s->money);  // the bonus (4634 here) saturates
    for (int round = 0; round < 3000; round++) finish_wave(*s);
    EXPECT_EQ(1e300, s->monstertypes[0].health);
    EXPECT_EQ(INT_MAX, s->monstertypes[0].money);
    EXPECT_EQ(INT_MAX, s->money);
}

TEST_F(StepTest, MonsterWalksLandsOnWaypointsAndLosesTheRestOfItsStep) {
    auto s = make_sim();
    s->monstertypes = {monster_type("M", 10, 5, 1, 1)};
    s->waypoints = {{0, 0}, {3, 4}, {9, 4}};
    add_monster(*s, 0, 0, 0, 10, 5.0, 1);
    s->step();  // 80 pixels away: 5 along (48, 64)
    EXPECT_DOUBLE_EQ(3.0, s->objects[0].x);
    EXPECT_DOUBLE_EQ(4.0, s->objects[0].y);

    s->objects[0] = {};
    s->objects[0].kind = 1;
    s->objects[0].x = 48 - 1.5;
    s->objects[0].y = 64;
    s->objects[0].vx = 2.0;
    s->objects[0].vy = 1;
    s->step();
    EXPECT_EQ(48.0, s->objects[0].x);
    EXPECT_EQ(64.0, s->objects[0].y);
    EXPECT_EQ(2.0, s->objects[0].vy);
    s->step();
    EXPECT_EQ(50.0, s->objects[0].x);
}

TEST_F(StepTest, SlowLastsNinetyTicksScaledByTheSlowImmunity) {
    auto slowed_steps = [](double immunity) {
        auto s = make_sim(2000, 240);
        s->monstertypes = {monster_type("M", 10, 2, 1, 1)};
        if (immunity >= 0) s->monstertypes[0].immunities = {{0, 0.25}, {-1, immunity}};
        s->waypoints = {{0, 0}, {120, 0}};
        add_monster(*s, 0, 0, 0, 10, 2.0, 1);
        s->objects[0].effect = 1.0;
        s->objects[0].effectfactor = 0.5;
        s->objects[0].effecttime = 90.0;
        std::vector<double> moves;
        for (int t = 0; t < 92; t++) {
            double x = s->objects[0].x;
            s->step();
            moves.push_back(s->objects[0].x - x);
        }
        return moves;
    };
    auto plain = slowed_steps(-1);
    for (int t = 0; t < 90; t++) ASSERT_DOUBLE_EQ(1.0, plain[t]) << "tick " << t + 1;
    EXPECT_DOUBLE_EQ(2.0, plain[90]);
    EXPECT_DOUBLE_EQ(2.0, plain[91]);
    EXPECT_DOUBLE_EQ(2.0, slowed_steps(0.0)[0]);
    EXPECT_DOUBLE_EQ(1.5, slowed_steps(0.5)[0]);
}

TEST_F(StepTest, EscapeCostsALifeAndRestartsThePath) {
    auto s = make_sim();
    s->monstertypes = {monster_type("M", 10, 10, 1, 1)};
    s->waypoints = {{1, 1}, {5, 1}, {6, 1}};
    add_monster(*s, 90, 16, 0, 10, 10.0, 2);
    s->lives = 1;
    EXPECT_TRUE(s->step());
    EXPECT_EQ(0, s->lives);
    EXPECT_EQ(16.0, s->objects[0].x);
    EXPECT_EQ(16.0, s->objects[0].y);
    EXPECT_EQ(0.0, s->objects[0].vy);
    EXPECT_TRUE(s->step());  // arrives on waypoint 0 and heads for 1
    EXPECT_EQ(1.0, s->objects[0].vy);
    EXPECT_EQ(1, s->turretstart);  // never removed
}

TEST_F(StepTest, EscapeWithNoLivesLeftEndsTheTickAtOnce) {
    auto s = make_sim();
    s->monstertypes = {monster_type("M", 10, 10, 1, 1)};
    s->bullettypes = {bullet_type("B", 1, 1, -1)};
    s->waypoints = {{1, 1}, {6, 1}};
    add_monster(*s, 90, 16, 0, 10, 10.0, 1);
    add_bullet(*s, 200, 200, 0, 1, 3, 0, 50);
    s->lives = 0;
    EXPECT_FALSE(s->step());
    EXPECT_EQ(-1, s->lives);
    EXPECT_EQ(200.0, s->objects[1].x);  // the rest of the pass was skipped
}

TEST_F(StepTest, TwentyFirstEscapeEndsTheGame) {
    auto s = make_sim();
    s->monstertypes = {monster_type("M", 10, 100, 1, 1)};
    s->waypoints = {{0, 0}, {1, 0}};
    add_monster(*s, 0, 0, 0, 10, 100.0, 1);
    int escapes = 0;
    bool alive = true;
    for (int t = 0; t < 200 && alive; t++) {
        int lives = s->lives;
        alive = s->step();
        if (s->lives < lives) escapes++;
        if (alive) {
            ASSERT_GE(s->lives, 0);
        }
    }
    EXPECT_FALSE(alive);
    EXPECT_EQ(21, escapes);
    EXPECT_EQ(-1, s->lives);
}

TEST_F(StepTest, MonsterThatCannotMoveStaysPutEvenOnItsTarget) {
    auto s = make_sim();
    s->monstertypes = {monster_type("M", 10, 0, 1, 1)};
    s->waypoints = {{2, 2}, {4, 2}};
    add_monster(*s, 64, 32, 0, 10, 0.0, 1);  // exactly on waypoint 1
    add_monster(*s, 40, 32, 0, 10, 0.0, 1);
    for (int t = 0; t < 3; t++) s->step();
    EXPECT_EQ(40.0, s->objects[0].x);
    EXPECT_EQ(64.0, s->objects[1].x);
    EXPECT_EQ(32.0, s->objects[1].y);
    EXPECT_EQ(1.0, s->objects[1].vy);
}

TEST_F(StepTest, StrayObjectKindIsReportedEachTickAndLeftAlone) {
    auto s = make_sim();
    s->monstertypes = {monster_type("M", 10, 1, 1, 1)};
    s->waypoints = {{0, 0}, {10, 0}};
    add_monster(*s, 0, 0, 0, 10, 1.0, 1);
    Sim::Object stray;
    stray.kind = 7;
    stray.x = 33;
    s->objects.push_back(stray);
    testing::internal::CaptureStdout();
    s->step();
    s->step();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ("wtflol object without type!\nwtflol object without type!\n", out);
    EXPECT_EQ(33.0, s->objects[1].x);
    EXPECT_EQ(2.0, s->objects[0].x);
}

TEST_F(StepTest, ImmunityLookupsTakeTheFirstMatchingEntry) {
    auto s = make_sim();
    s->monstertypes = {monster_type("Plain", 1, 1, 1, 1), monster_type("Armoured", 1, 1, 1, 1)};
    s->monstertypes[1].immunities = {{0, 0.5}, {-1, 0.0}, {0, 0.9}, {-1, 0.7}, {1, 0.25}};
    EXPECT_EQ(0.0, s->check_effect(1, 1));
    EXPECT_EQ(0.5, s->check_bullet_effectivity(1, 0));
    EXPECT_EQ(0.25, s->check_bullet_effectivity(1, 1));
    EXPECT_EQ(1.0, s->check_bullet_effectivity(1, 2));
    EXPECT_EQ(1.0, s->check_effect(0, 1));
    EXPECT_EQ(1.0, s->check_bullet_effectivity(0, 0));
}

}  // namespace

// Turrets choosing targets and firing; bullets flying, hitting and killing.
#include "support/sim_builder.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// A 400 x 400 map, one turret type firing bullet type 0 (speed 4) and one
// monster type that stands still and pays 3.
std::unique_ptr<Sim> range_sim(int range, int rate, int accuracy, double damage = 0.0) {
    auto s = make_sim(400, 400);
    s->monstertypes = {monster_type("Dummy", 1000, 0, 1, 3)};
    s->bullettypes = {bullet_type("Pellet", damage, 4.0, -1)};
    s->turrettypes = {turret_type("Gun", 10, 0, range, rate, accuracy)};
    s->waypoints = {{0, 0}, {1, 0}};
    return s;
}

// One tick; the aim lines it printed.
std::string step_output(Sim& s) {
    testing::internal::CaptureStdout();
    s.step();
    return testing::internal::GetCapturedStdout();
}

const Sim::Object& newest_bullet(const Sim& s) { return s.objects.at(s.bulletstart); }

TEST(FireTest, FiresOnTheFirstTickInRangeThenEveryRatePlusOneTicksPrintingTheDistance) {
    auto s = range_sim(100, 10, 0, 7.0);
    add_turret(*s, 100, 100, 0);
    add_bullet(*s, 300, 300, 0, 1, 0, 0, 1000);  // an older bullet, standing still
    for (int tick = 0; tick < 25; tick++) ASSERT_EQ("", step_output(*s));
    add_monster(*s, 137, 138, 0, 1000);
    EXPECT_EQ("53.0387\n", step_output(*s));  // six significant digits
    const Sim::Object& b = newest_bullet(*s);
    // The type's damage; it flew in the tick it was fired, using up its range.
    EXPECT_EQ(std::make_tuple(7.0, 100 + b.vx, 100 - std::sqrt(b.vx * b.vx + b.vy * b.vy)),
              std::make_tuple(b.hp, b.x, b.effect));
    std::vector<int> shots;
    for (int tick = 2; tick <= 33; tick++)
        if (!step_output(*s).empty()) shots.push_back(tick);
    EXPECT_EQ(std::vector<int>({12, 23}), shots);
    EXPECT_EQ(300.0, s->objects.back().x);  // new bullets go in front of the older ones
}

TEST(FireTest, TargetIsTheNearestStrictlyInRangeAndUnderAThousandTiesToTheLaterSpawned) {
    // The way the first shot of a turret at (200, 200) goes: -1 left, 1 right, 0 none.
    auto aim = [](int range, std::vector<std::pair<double, double>> spawned) {
        auto s = range_sim(range, 0, 0);
        for (auto m : spawned) add_monster(*s, 200 + m.first, 200 + m.second, 0, 1000);
        add_turret(*s, 200, 200, 0);
        step_output(*s);
        return s->objects.size() == spawned.size() + 1 ? 0 : newest_bullet(*s).vx < 0 ? -1 : 1;
    };
    EXPECT_EQ(0, aim(50, {{30, 40}}));
    EXPECT_EQ(1, aim(2000, {{999, 0}}));
    EXPECT_EQ(0, aim(2000, {{1000, 0}}));
    EXPECT_EQ(-1, aim(100, {{50, 0}, {-50, 0}}));
}

TEST(FireTest, ScatterTakesTwoDrawsInOrderNormalisesAndNeverOverflows) {
    // Accuracy 2 at 64 pixels: spread 9, offsets -4 to +4 on each axis.
    auto s = range_sim(100, 0, 2);
    add_monster(*s, 164, 100, 0, 1000);
    add_turret(*s, 100, 100, 0);
    for (unsigned seed = 1; seed <= 50; seed++, s->objects.resize(s->bulletstart)) {
        srand(seed);
        int rx = rand() % 9 - 4;
        int ry = rand() % 9 - 4;
        srand(seed);
        step_output(*s);
        double n = std::hypot(64.0 + rx, ry) + 0.001;
        ASSERT_DOUBLE_EQ((64.0 + rx) / n * 4, newest_bullet(*s).vx) << "seed " << seed;
        ASSERT_DOUBLE_EQ(ry / n * 4, newest_bullet(*s).vy) << "seed " << seed;
    }

    // A huge accuracy is held to the int range: it still scatters both ways.
    s->turrettypes[0].accuracy = INT_MAX;
    int leftward = 0;
    for (int shot = 0; shot < 20; shot++, s->objects.resize(s->bulletstart)) {
        step_output(*s);
        leftward += newest_bullet(*s).vx < 0;
    }
    EXPECT_TRUE(leftward > 0 && leftward < 20) << leftward;
}

TEST(FireTest, BulletHitsBelowTwelveAndLeavesBeyondTheMarginsOrOneMoveAfterItsRange) {
    // A bullet at (bx, by) moving vx a tick with `range` left, and a monster at
    // (mx, my): after `ticks`, is the bullet still there, and was the monster hit?
    struct Case { double bx, by, vx, range, mx, my; int ticks; bool stays, hit; };
    const Case cases[] = {
        {-16, 50, 0, 1, -500, 0, 1, true, false},  {-16.01, 50, 0, 1, -500, 0, 1, false, false},
        {50, -16, 0, 1, -500, 0, 1, true, false},  {400, 50, 0, 1, -500, 0, 1, true, false},
        {50, 400, 0, 1, -500, 0, 1, true, false},
        {50, 50, 0, 1, 61.99, 50, 1, false, true}, {50, 50, 0, 1, 62, 50, 1, true, false},
        {50, 50, 0, 0, -500, 0, 1, false, false},  // no distance left
        // Range 10 at 4 a tick: 6, 2 and -2 left after three moves, each hit-tested;
        // the fourth move is the last, without a hit test.
        {100, 100, 4, 10, 112, 111.5, 3, false, true}, {100, 100, 4, 10, -500, 0, 3, true, false},
        {100, 100, 4, 10, 116, 111.5, 4, false, false},
    };
    for (const Case& c : cases) {
        auto s = range_sim(10, 0, 0);  // map 400 x 400
        add_monster(*s, c.mx, c.my, 0, 50);
        add_bullet(*s, c.bx, c.by, 0, 1, c.vx, 0, c.range);
        for (int t = 0; t < c.ticks; t++) s->step();
        EXPECT_EQ(std::make_pair(c.stays, c.hit),
                  std::make_pair(s->objects.size() == 2, s->objects[0].hp < 50))
            << "case " << &c - cases;
    }
}

TEST(FireTest, HitsTheFirstMonsterInListOrderScaledByImmunitySlowingRegardlessAndKills) {
    auto s = range_sim(10, 0, 0);
    s->bullettypes = {bullet_type("Pellet", 10, 4, -1), bullet_type("Frost", 5, 4, 1)};
    s->monstertypes = {monster_type("Armoured", 100, 0, 1, 3), monster_type("Weak", 5, 0, 1, 13)};
    s->monstertypes[0].immunities = {{0, 0.5}, {-1, 0.0}, {1, 0.2}, {0, 0.9}};
    add_monster(*s, 100, 100, 0, 100);
    add_monster(*s, 104, 100, 1, 5);  // first in the list, though not the nearest
    add_bullet(*s, 50, 300, 0, 0, 1, 0, 100);  // hits nothing
    add_bullet(*s, 100, 100, 0, 10, 0, 0, 10);
    add_bullet(*s, 100, 100, 1, 5, 0, 0, 10);  // the newest flies first: 0 health left is death
    s->step();
    EXPECT_EQ(std::make_tuple(43, 1, 1, 1),
              std::make_tuple(s->money, s->turretstart, s->bulletstart, s->monstersalive));
    EXPECT_EQ(51.0, s->objects.at(1).x);  // moved exactly once
    EXPECT_EQ(std::make_pair(95.0, 0.0), std::make_pair(s->objects[0].hp, s->objects[0].effect));
    for (int hit = 0; hit < 2; hit++) {  // a fifth of the damage; Slow, restarted by the second
        add_bullet(*s, 100, 100, 1, 5, 0, 0, 10);
        s->step();
    }
    const Sim::Object& m = s->objects[0];
    EXPECT_EQ(std::make_tuple(93.0, 1.0, 0.5, 90.0),
              std::make_tuple(m.hp, m.effect, m.effectfactor, m.effecttime));
}

}  // namespace

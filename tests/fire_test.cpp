// Turrets firing; bullets flying, hitting and killing. The scatter's two
// draws and where a new bullet goes are pinned by the scripted golden runs,
// which replay the same unseeded rand() sequence.
#include "support/sim_builder.h"

#include <climits>

namespace {

// A 400 x 400 map, one turret type firing bullet type 0 (speed 4) and one
// monster type that stands still and pays 3.
std::unique_ptr<Sim> range_sim(int range, int rate, int accuracy) {
    auto s = make_sim(400, 400);
    s->monstertypes = {monster_type("Dummy", 1000, 0, 1, 3)};
    s->bullettypes = {bullet_type("Pellet", 0, 4.0, -1)};
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

TEST(FireTest, FiresOnTheFirstTickInRangeThenEveryRatePlusOneTicksPrintingTheDistance) {
    auto s = range_sim(100, 10, 0);
    add_turret(*s, 100, 100, 0);
    for (int tick = 0; tick < 25; tick++) ASSERT_EQ("", step_output(*s));
    add_monster(*s, 137, 138, 0, 1000);
    EXPECT_EQ("53.0387\n", step_output(*s));  // six significant digits
    std::vector<int> shots;
    for (int tick = 2; tick <= 33; tick++)
        if (!step_output(*s).empty()) shots.push_back(tick);
    EXPECT_EQ(std::vector<int>({12, 23}), shots);
}

TEST(FireTest, AimsAtTheNearestStrictlyInsideTheRangeAndUnder1000WithTiesToTheNewer) {
    // Monsters on the turret's row at x = older and x = newer (the newer one
    // comes first in the list); does the turret at x = 100 fire, and rightwards?
    struct Case { int range; double older, newer; bool fires, right; };
    const Case cases[] = {
        {50, 70, 130, true, true},      // equal distances: the newer one
        {50, 80, 140, true, false},     // the nearer one
        {30, 70, 130, false, false},    // exactly at the range: out of it
        {2000, -2000, 1100, false, false},  // 1000 away is too far whatever the range
        {2000, -2000, 1099, true, true},
    };
    for (const Case& c : cases) {
        auto s = range_sim(c.range, 0, 0);
        add_monster(*s, c.older, 100, 0, 1000);
        add_monster(*s, c.newer, 100, 0, 1000);
        add_turret(*s, 100, 100, 0);
        bool fired = !step_output(*s).empty();
        EXPECT_EQ(c.fires, fired) << "case " << &c - cases;
        if (fired) {
            EXPECT_EQ(c.right, s->objects.at(s->bulletstart).vx > 0) << "case " << &c - cases;
        }
    }
}

TEST(FireTest, HugeAccuracyIsHeldToTheIntRangeAndStillScattersBothWays) {
    auto s = range_sim(100, 0, INT_MAX);
    add_monster(*s, 164, 100, 0, 1000);
    add_turret(*s, 100, 100, 0);
    int leftward = 0;
    for (int shot = 0; shot < 20; shot++, s->objects.resize(s->bulletstart)) {
        step_output(*s);
        leftward += s->objects.at(s->bulletstart).vx < 0;
    }
    EXPECT_TRUE(leftward > 0 && leftward < 20) << leftward;
}

TEST(FireTest, BulletHitsBelowTwelveAndLeavesBeyondTheMarginsOrOneMoveAfterItsRange) {
    // A bullet at (bx, 50) moving vx a tick with `range` left, and a monster at
    // (mx, my): after `ticks`, is the bullet still there, and was the monster hit?
    // With range 10 at 4 a tick, 6, 2 and -2 are left after three moves, each
    // hit-tested; the fourth move is the last, without a hit test.
    struct Case { double bx, vx, range, mx, my; int ticks; bool stays, hit; };
    const Case cases[] = {
        {-16, 0, 1, -500, 0, 1, true, false},    {-16.01, 0, 1, -500, 0, 1, false, false},
        {400, 0, 1, -500, 0, 1, true, false},    {50, 0, 0, -500, 0, 1, false, false},
        {50, 0, 1, 61.99, 50, 1, false, true},   {50, 0, 1, 62, 50, 1, true, false},
        {100, 4, 10, 112, 61.5, 3, false, true}, {100, 4, 10, -500, 0, 3, true, false},
        {100, 4, 10, 116, 61.5, 4, false, false},
    };
    for (const Case& c : cases) {
        auto s = range_sim(10, 0, 0);  // map 400 x 400
        add_monster(*s, c.mx, c.my, 0, 50);
        add_bullet(*s, c.bx, 50, 0, 1, c.vx, 0, c.range);
        for (int t = 0; t < c.ticks; t++) s->step();
        EXPECT_EQ(std::make_pair(c.stays, c.hit), std::make_pair(s->objects.size() == 2, s->objects[0].hp < 50))
            << "case " << &c - cases;
    }
}

TEST(FireTest, HitScalesDamageByImmunitySlowsEvenTheImmuneAndKillsAtZeroPayingTheReward) {
    auto s = range_sim(10, 0, 0);  // the monster type pays 3
    s->bullettypes = {bullet_type("Frost", 5, 4, 1)};
    s->monstertypes[0].immunities = {{-1, 0.0}, {0, 0.5}};  // immune to Slow, half the damage
    add_monster(*s, 100, 100, 0, 100);
    add_monster(*s, 200, 100, 0, 2.5);
    add_bullet(*s, 100, 100, 0, 5, 0, 0, 10);
    add_bullet(*s, 200, 100, 0, 5, 0, 0, 10);  // flies first and kills, so both removals shift the other bullet
    s->step();
    EXPECT_EQ(std::make_tuple(33, 1, 1, 1, 1u),
              std::make_tuple(s->money, s->turretstart, s->bulletstart, s->monstersalive, s->objects.size()));
    const Sim::Object& m = s->objects.at(0);
    EXPECT_EQ(std::make_tuple(97.5, 1.0, 0.5, 90.0), std::make_tuple(m.hp, m.effect, m.effectfactor, m.effecttime));
}

}  // namespace

// Turrets choosing targets and firing; bullets flying, hitting and killing.
#include "support/sim_builder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

class FireTest : public ::testing::Test {
protected:
    void SetUp() override { box.clear(); }
    void TearDown() override { box.clear(); }
};

// One turret type (bullet 0) and one monster type that stands still.
std::unique_ptr<Sim> range_sim(int range, int rate, int accuracy, double speed = 4.0,
                               double damage = 0.0) {
    auto s = make_sim(400, 400);
    s->monstertypes = {monster_type("Dummy", 1000, 0, 1, 3)};
    s->bullettypes = {bullet_type("Pellet", damage, speed, -1)};
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

// Keeps the aim lines of a test that does not look at them off the log.
struct QuietStdout {
    QuietStdout() { testing::internal::CaptureStdout(); }
    ~QuietStdout() { testing::internal::GetCapturedStdout(); }
};

const Sim::Object& newest_bullet(const Sim& s) { return s.objects[s.bulletstart]; }

TEST_F(FireTest, TurretFiresEveryRatePlusOneTicks) {
    auto s = range_sim(100, 10, 0);
    add_monster(*s, 100, 100, 0, 1000);
    add_turret(*s, 100, 150, 0);
    std::vector<int> shots;
    for (int tick = 1; tick <= 40; tick++)
        if (!step_output(*s).empty()) shots.push_back(tick);
    EXPECT_EQ(std::vector<int>({11, 22, 33}), shots);
}

TEST_F(FireTest, ReloadKeepsCountingWithoutATarget) {
    auto s = range_sim(100, 10, 0);
    add_turret(*s, 100, 150, 0);
    for (int tick = 0; tick < 25; tick++) EXPECT_EQ("", step_output(*s));
    EXPECT_EQ(25.0, s->objects[0].vy);
    add_monster(*s, 100, 100, 0, 1000);
    EXPECT_EQ("50.001\n", step_output(*s));
    EXPECT_EQ(0.0, s->objects[1].vy);
}

TEST_F(FireTest, TargetMustBeStrictlyInsideRangeAndCloserThanAThousand) {
    auto fires = [](int range, double dx, double dy) {
        auto s = range_sim(range, 0, 0);
        add_monster(*s, 100 + dx, 100 + dy, 0, 1000);
        add_turret(*s, 100, 100, 0);
        return !step_output(*s).empty();
    };
    EXPECT_FALSE(fires(50, 30, 40));
    EXPECT_TRUE(fires(50, 30, 39.99));
    EXPECT_TRUE(fires(2000, 999, 0));
    EXPECT_FALSE(fires(2000, 1000, 0));
}

TEST_F(FireTest, NearestMonsterWinsAndTiesGoToTheLaterSpawned) {
    QuietStdout quiet;
    auto s = range_sim(100, 0, 0);
    add_monster(*s, 150, 200, 0, 1000);  // spawned first: index 1
    add_monster(*s, 250, 200, 0, 1000);  // spawned later: index 0
    add_turret(*s, 200, 200, 0);
    s->step();
    EXPECT_GT(newest_bullet(*s).vx, 0.0);

    s->objects[1].x = 160;
    s->step();
    EXPECT_LT(newest_bullet(*s).vx, 0.0);
}

TEST_F(FireTest, ShotPrintsItsDistanceAndInsertsTheBulletAtTheFront) {
    auto s = range_sim(100, 0, 0, 4.0, 7.0);
    add_monster(*s, 137, 138, 0, 1000);
    add_turret(*s, 100, 100, 0);
    add_bullet(*s, 300, 300, 0, 1, 0, 0, 50);  // an older bullet
    EXPECT_EQ("53.0387\n", step_output(*s));
    ASSERT_EQ(4u, s->objects.size());
    EXPECT_EQ(1, s->turretstart);
    EXPECT_EQ(2, s->bulletstart);
    const Sim::Object& b = newest_bullet(*s);
    double n = std::sqrt(37.0 * 37 + 38 * 38) + 0.001;
    EXPECT_EQ(3, b.kind);
    EXPECT_EQ(0, b.type);
    EXPECT_EQ(7.0, b.hp);
    EXPECT_DOUBLE_EQ(37 / n * 4, b.vx);
    EXPECT_DOUBLE_EQ(38 / n * 4, b.vy);
    EXPECT_DOUBLE_EQ(100 + b.vx, b.x);  // it flew in the tick it was fired
    EXPECT_DOUBLE_EQ(100 - std::sqrt(b.vx * b.vx + b.vy * b.vy), b.effect);
    EXPECT_EQ(300.0, s->objects[3].x);
    EXPECT_EQ(0.0, s->objects[1].vy);
}

TEST_F(FireTest, AimIsNormalisedWithTheExtraThousandth) {
    QuietStdout quiet;
    auto s = range_sim(100, 0, 0);
    add_monster(*s, 164, 100, 0, 1000);
    add_turret(*s, 100, 100, 0);
    srand(5);
    rand();
    rand();
    int third = rand();
    srand(5);
    s->step();
    EXPECT_DOUBLE_EQ(64 / 64.001 * 4, newest_bullet(*s).vx);
    EXPECT_EQ(0.0, newest_bullet(*s).vy);
    EXPECT_EQ(third, rand());  // two draws per shot, even when they cannot scatter
}

TEST_F(FireTest, ScatterForAccuracyTwoAtSixtyFourPixelsSpansNinePixels) {
    QuietStdout quiet;
    auto s = range_sim(100, 0, 2);
    add_monster(*s, 164, 100, 0, 1000);
    add_turret(*s, 100, 100, 0);
    int lowest = INT_MAX, highest = INT_MIN;
    for (unsigned seed = 1; seed <= 300; seed++) {
        srand(seed);
        int rx = rand() % 9 - 4;
        int ry = rand() % 9 - 4;
        lowest = std::min(lowest, std::min(rx, ry));
        highest = std::max(highest, std::max(rx, ry));
        srand(seed);
        s->step();
        double ax = 64 + rx, ay = 0 + ry;
        double n = std::sqrt(ax * ax + ay * ay) + 0.001;
        ASSERT_DOUBLE_EQ(ax / n * 4, newest_bullet(*s).vx) << "seed " << seed;
        ASSERT_DOUBLE_EQ(ay / n * 4, newest_bullet(*s).vy) << "seed " << seed;
        s->objects.resize(s->bulletstart);
    }
    EXPECT_EQ(-4, lowest);
    EXPECT_EQ(4, highest);
}

TEST_F(FireTest, BulletRunsOutAfterItsRangeWithOneLastMove) {
    double v = 4 * 100 / 100.001;
    for (int at = 3; at <= 4; at++) {
        auto s = range_sim(10, 0, 0);
        // 11.5 below the bullet's position after move `at`: within 12 of that
        // position only, since the neighbouring ones are 4 pixels aside.
        add_monster(*s, 100 + at * v, 111.5, 0, 50);
        add_bullet(*s, 100, 100, 0, 1, v, 0, 10);
        std::vector<double> left;
        for (int tick = 0; tick < 3; tick++) {
            s->step();
            if (s->objects.size() == 2) left.push_back(s->objects[1].effect);
        }
        if (at == 3) {
            EXPECT_EQ(49.0, s->objects[0].hp) << "hit-tested at its third position";
            EXPECT_EQ(1u, s->objects.size());
            continue;
        }
        ASSERT_EQ(3u, left.size());
        EXPECT_NEAR(6.00004, left[0], 1e-8);
        EXPECT_NEAR(2.00008, left[1], 1e-8);
        EXPECT_NEAR(-1.99988, left[2], 1e-8);
        s->step();
        EXPECT_EQ(1u, s->objects.size()) << "removed after its fourth move";
        EXPECT_EQ(50.0, s->objects[0].hp) << "without a hit test";
    }

    // Distance used up exactly: zero left counts as none.
    auto s = range_sim(10, 0, 0);
    add_bullet(*s, 100, 100, 0, 1, 4, 0, 4);
    s->step();
    ASSERT_EQ(1u, s->objects.size());
    EXPECT_EQ(0.0, s->objects[0].effect);
    s->step();
    EXPECT_TRUE(s->objects.empty());
}

TEST_F(FireTest, HitRadiusIsStrictlyBelowTwelve) {
    auto hits = [](double gap) {
        auto s = range_sim(10, 0, 0, 4.0, 1.0);
        add_monster(*s, 100 + gap, 100, 0, 50);
        add_bullet(*s, 100, 100, 0, 1, 0, 0, 10);
        s->step();
        return s->objects[0].hp < 50;
    };
    EXPECT_TRUE(hits(11.99));
    EXPECT_FALSE(hits(12.0));
}

TEST_F(FireTest, BulletsLeaveOnlyBeyondTheMapMargins) {
    auto stays = [](double x, double y) {
        auto s = range_sim(10, 0, 0);  // map 400 x 400
        add_bullet(*s, x, y, 0, 1, 0, 0, 10);
        s->step();
        return s->objects.size() == 1;
    };
    EXPECT_TRUE(stays(-16, 50));
    EXPECT_FALSE(stays(-16.01, 50));
    EXPECT_TRUE(stays(50, -16));
    EXPECT_FALSE(stays(50, -16.01));
    EXPECT_TRUE(stays(400, 50));
    EXPECT_FALSE(stays(400.01, 50));
    EXPECT_TRUE(stays(50, 400));
    EXPECT_FALSE(stays(50, 400.01));
}

TEST_F(FireTest, DamageIsScaledByImmunityAndSlowTakesHoldRegardless) {
    auto s = range_sim(10, 0, 0);
    s->bullettypes = {bullet_type("Pellet", 10, 4, -1), bullet_type("Frost", 10, 4, 1)};
    s->monstertypes[0].immunities = {{0, 0.5}, {1, 0.0}, {-1, 0.0}};
    add_monster(*s, 100, 100, 0, 100);
    add_bullet(*s, 100, 100, 0, 10, 0, 0, 10);
    s->step();
    EXPECT_EQ(95.0, s->objects[0].hp);
    EXPECT_EQ(0.0, s->objects[0].effect);

    s->objects[0].effect = 1.0;
    s->objects[0].effectfactor = 0.5;
    s->objects[0].effecttime = 30.0;
    add_bullet(*s, 100, 100, 1, 10, 0, 0, 10);
    s->step();
    EXPECT_EQ(95.0, s->objects[0].hp);
    EXPECT_EQ(1.0, s->objects[0].effect);
    EXPECT_EQ(0.5, s->objects[0].effectfactor);
    EXPECT_EQ(90.0, s->objects[0].effecttime);  // restarted, not stacked
    EXPECT_EQ(1u, s->objects.size());
}

TEST_F(FireTest, KillPaysTheTypesRewardAtThatMoment) {
    auto s = range_sim(10, 0, 0);
    add_monster(*s, 200, 100, 0, 5.0001);
    add_monster(*s, 100, 100, 0, 5);
    add_turret(*s, 300, 300, 0, -1000);
    add_bullet(*s, 200, 100, 0, 5, 0, 0, 10);
    add_bullet(*s, 100, 100, 0, 5, 0, 0, 10);
    s->monstertypes[0].money = 13;
    s->step();
    EXPECT_EQ(43, s->money);
    EXPECT_EQ(1, s->turretstart);
    EXPECT_EQ(2, s->bulletstart);
    EXPECT_EQ(1, s->monstersalive);
    ASSERT_EQ(2u, s->objects.size());
    EXPECT_NEAR(0.0001, s->objects[0].hp, 1e-9);

    s->money = INT_MAX - 5;
    add_bullet(*s, 200, 100, 0, 5, 0, 0, 10);
    s->step();
    EXPECT_EQ(INT_MAX, s->money);
}

TEST_F(FireTest, RemovalsInOneTickSkipNothingAndRepeatNothing) {
    auto s = range_sim(10, 0, 0);
    add_monster(*s, 200, 100, 0, 5);
    add_monster(*s, 100, 100, 0, 5);
    add_turret(*s, 300, 300, 0, -1000);
    add_bullet(*s, 50, 300, 0, 0, 1, 0, 100);    // hits nothing
    add_bullet(*s, 200, 100, 0, 5, 0, 0, 10);    // kills the monster at index 1
    add_bullet(*s, 100, 100, 0, 5, 0, 0, 10);    // kills the monster at index 0
    s->step();
    EXPECT_EQ(36, s->money);
    EXPECT_EQ(0, s->turretstart);
    EXPECT_EQ(1, s->bulletstart);
    EXPECT_EQ(0, s->monstersalive);
    ASSERT_EQ(2u, s->objects.size());
    EXPECT_EQ(2, s->objects[0].kind);
    EXPECT_EQ(51.0, s->objects[1].x);  // moved exactly once
}

TEST_F(FireTest, NewerBulletsHitFirstAndTheFirstMonsterInListOrderIsHit) {
    auto s = range_sim(10, 0, 0);
    add_monster(*s, 105, 100, 0, 10);
    add_monster(*s, 95, 100, 0, 10);
    add_bullet(*s, 100, 100, 0, 4, 0, 0, 10);   // older
    add_bullet(*s, 100, 100, 0, 10, 0, 0, 10);  // newer: kills index 0
    s->step();
    ASSERT_EQ(1, s->turretstart);
    EXPECT_EQ(105.0, s->objects[0].x);
    EXPECT_EQ(6.0, s->objects[0].hp);  // the older bullet found the survivor
    EXPECT_EQ(1u, s->objects.size());
}

}  // namespace

// The tick at its edges. Turrets aim at the nearest monster strictly in
// range and under 1000 pixels, the newer on ties; bullets hit below 12 pixels
// and leave past the margins or one move after their range; a wave's end pays
// and hardens with every number held in range. The ordinary tick (the slide,
// the scroll, waves, Slow and immunities, the scatter, rewards and each
// shot's aim line) is pinned by the golden frames and summaries, which replay
// the same unseeded rand() sequence.
#include "support/sim_builder.h"

#include <climits>
#include <tuple>

namespace {

class TickTest : public EmptyBoxTest {};

// A 400 x 400 map, one turret type firing bullet type 0 (speed 4) and one
// monster type that stands still and pays 3.
std::unique_ptr<Sim> range_sim(int range, int rate, int accuracy) {
    auto s = make_sim(400, 400);
    s->monstertypes = {monster_type("Dummy", 1000, 0, 1, 3)};
    s->bullettypes = {bullet_type("Pellet", 0, 4.0, EFFECT_NONE)};
    s->turrettypes = {turret_type("Gun", 10, 0, range, rate, accuracy)};
    s->waypoints = {{0, 0}, {1, 0}};
    return s;
}

TEST_F(TickTest, AimsAtTheNearestStrictlyInsideTheRangeAndUnder1000WithTiesToTheNewer) {
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
        quiet_step(*s);
        const bool shot = s->objectnum(KIND_BULLET) == 1;
        EXPECT_EQ(c.fires, shot) << "case " << &c - cases;
        if (shot) {
            EXPECT_EQ(c.right, s->objects.at(s->bulletstart).vx > 0) << "case " << &c - cases;
        }
    }
}

TEST_F(TickTest, BulletHitsBelowTwelveAndLeavesBeyondTheMarginsOrOneMoveAfterItsRange) {
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
        for (int t = 0; t < c.ticks; t++) quiet_step(*s);
        EXPECT_EQ(std::make_pair(c.stays, c.hit), std::make_pair(s->objects.size() == 2, s->objects[0].hp < 50))
            << "case " << &c - cases;
    }
}

// One tick of a running wave with nothing left to send, 30 ticks after its
// last spawn: with no monster alive, it ends now.
void finish_wave(Sim& s) {
    s.waverunning = true, s.spawnleft = 0, s.spawntimer = 29;
    ASSERT_TRUE(s.step());
}

TEST_F(TickTest, WaveEndPaysTheTruncatedRootOverTenHardensTheLastTypeOnlyPastItAndSaturates) {
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

}  // namespace

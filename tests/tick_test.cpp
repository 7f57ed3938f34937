// The tick at its edges. Turrets aim at the nearest monster strictly in
// range and under 1000 pixels, the newer on ties; bullets hit below 12 pixels
// and leave past the margins or one move after their range; a wave's end pays
// and hardens with every number held in range. The ordinary tick (the slide,
// the scroll, waves, Slow and immunities, the scatter, rewards and each
// shot's aim line) is pinned by the golden frames and summaries, which replay
// the same unseeded rand() sequence.
#include "support/sim_builder.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
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


// One tick; the aim lines it printed.
std::string step_output(Sim& s) {
    testing::internal::CaptureStdout();
    s.step();
    return testing::internal::GetCapturedStdout();
}

// The scan and the hit test find their monsters through squares of the map
// and compare squared distances; what they find must be what comparing the
// square roots of every monster in list order finds, wherever monsters
// stand: on and off the map, on squares' edges, at equal distances, at
// distances whose squares differ but whose roots do not, or nowhere (NaN).
TEST_F(TickTest, TargetsAndHitsAreThoseOfTheFullScanWhereverMonstersStand) {
    const double nan = std::nan("");
    // Two places whose squared distances from (x, y) differ while their
    // square roots do not: the second is a sliver of y off the first. Found
    // just below 128, where squares lie closer than their roots.
    auto same_root = [](double x, double y) {
        for (double a = 127.9;; a += 0.001) {
            const double dx = (x + a) - x, q = dx * dx, sliver = std::sqrt(std::nextafter(q, HUGE_VAL) - q);
            const double dy = (y + sliver) - y, q2 = dx * dx + dy * dy;
            if (q2 > q && std::sqrt(q2) == std::sqrt(q)) return std::make_pair(a, sliver);
        }
    };
    std::srand(11);
    auto coord = [&](int k) -> double {
        switch (std::rand() % 8) {
        case 0: return 64.0 * (std::rand() % 9) + (std::rand() % 3 - 1) * 1e-9;  // on a square's edge
        case 1: return -std::rand() % 3000 - 0.5;                                  // off the map
        case 2: return k % 40 == 0 ? nan : 1e7;
        default: return std::rand() % 600 - 100 + std::rand() % 1000 / 1000.0;
        }
    };
    for (int trial = 0; trial < 300; trial++) {
        const int ranges[] = {12, 56, 128, 1500};
        const int range = ranges[trial % 4];
        auto s = range_sim(range, 0, 0);
        const double tx = 200 + trial % 7, ty = 150;
        std::vector<std::pair<double, double>> at;
        for (int k = 0; k < 40; k++) at.push_back({coord(k), coord(k)});
        if (trial % 4 == 3 && trial % 8 < 4) {  // range 1500, the pair nearest, in either order
            const auto [a, sliver] = same_root(tx, ty);
            for (auto& p : at) p = {tx - 300 - (&p - &at[0]), ty};
            at[trial % 40] = {tx + a, ty}, at[(trial + 7) % 40] = {tx + a, ty + sliver};
        }
        if (trial % 5 == 1) at[3] = {tx - 30, ty + 40}, at[9] = {tx + 40, ty - 30};  // the same square
        // None so near the turret that the shot, 4 pixels out, hits it.
        for (auto& p : at)
            if (std::fabs(p.first - tx) < 20 && std::fabs(p.second - ty) < 20) p.first = tx - 20;
        for (auto it = at.rbegin(); it != at.rend(); ++it) add_monster(*s, it->first, it->second, 0, 1000);
        add_turret(*s, tx, ty, 0);
        add_bullet(*s, coord(0), coord(1), 0, 1, 0, 0, 5);
        const Sim::Object b = s->objects.back();

        // The full scans, as the game first had them; a bullet off the map is
        // gone before it is tested.
        const bool flies = !(b.x < -16 || b.y < -16 || b.x > 400 || b.y > 400);
        int want = -1, hit = -1;
        double best = 1000.0;
        for (int k = 0; k < s->turretstart; k++) {
            const Sim::Object& m = s->objects[k];
            const double d = std::sqrt((m.x - tx) * (m.x - tx) + (m.y - ty) * (m.y - ty));
            if (range > d && d < best) best = d, want = k;
            if (flies && hit < 0 && std::sqrt((b.x - m.x) * (b.x - m.x) + (b.y - m.y) * (b.y - m.y)) < 12.0) hit = k;
        }
        const std::vector<Sim::Object> before = s->objects;
        const bool shot = !step_output(*s).empty();
        SCOPED_TRACE(testing::Message() << "trial " << trial);
        ASSERT_EQ(want >= 0, shot);
        if (shot) {  // accuracy 0: the new bullet flies straight at its target
            const Sim::Object& m = before[want];
            const double dx = m.x - tx, dy = m.y - ty, n = std::sqrt(dx * dx + dy * dy) + 0.001;
            const Sim::Object& fired = s->objects.at(s->bulletstart);
            EXPECT_TRUE(fired.vx == dx / n * 4.0 && fired.vy == dy / n * 4.0) << "aimed at the wrong monster";
        }
        for (int k = 0; k < static_cast<int>(at.size()); k++)
            EXPECT_EQ(k == hit, s->objects[k].hp < 1000) << "monster " << k << (k == hit ? " not hit" : " hit");
    }
}

// The aim line is "%g" of the distance, six significant digits.
TEST_F(TickTest, AimLinesAreTheDistanceInGeneralFormat) {
    for (double dx : {0.0, 52.1, 99.999, 999.9, 999.99949, 1.0 / 3, 12.3456789}) {
        auto s = range_sim(1000, 0, 0);
        add_monster(*s, 100 + dx, 100, 0, 1000);
        add_turret(*s, 100, 100, 0);
        char want[32];
        std::snprintf(want, sizeof want, "%g\n", dx + 0.001);
        EXPECT_EQ(want, step_output(*s)) << dx;
    }
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

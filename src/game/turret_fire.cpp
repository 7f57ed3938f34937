// Turrets aiming and firing, bullets flying and hitting.
#include "game/sim.h"

#include "game/monster_grid.h"
#include "game/saturate.h"
#include "game/tick.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>

namespace {

// The least square whose square root is not below limit, so that
// sqrt(q) < limit exactly when q < below_root(limit): squared distances
// compared with it choose what the square roots would. A few limits (the
// turret types' ranges, the hit radius) are asked for again and again.
double below_root(double limit) {
    struct Known {
        double limit, below;
    };
    static Known known[8];
    static int count = 0;
    for (int i = 0; i < count; i++)
        if (known[i].limit == limit) return known[i].below;
    double q = limit * limit;
    if (std::sqrt(q) >= limit) {
        while (std::sqrt(std::nextafter(q, 0.0)) >= limit) q = std::nextafter(q, 0.0);
    } else {
        while (std::sqrt(q) < limit) q = std::nextafter(q, HUGE_VAL);
    }
    known[count < 8 ? count++ : 7] = {limit, q};
    return q;
}

// The nearest monster strictly inside the range and closer than 1000 pixels;
// on equal distances the lower index (the later spawned) stays. -1 if none.
// Distances are compared squared, as the square roots would compare them.
int nearest_target(const Sim& s, const Sim::Object& t, int range, MonsterGrid& grid) {
    const double limit = std::min(static_cast<double>(range), 1000.0);
    if (!(limit > 0)) return -1;
    auto squared = [&](int k) {
        const Sim::Object& m = s.objects[k];
        double dx = m.x - t.x;
        double dy = m.y - t.y;
        return dx * dx + dy * dy;
    };
    // The least square in range with the first monster at it, and the next
    // larger square seen.
    const double below = below_root(limit);
    double least = below, next = below;
    int target = -1;
    grid.visit(s, t.x, t.y, limit, [&](int k) {
        const double q = squared(k);
        if (q < least) {
            next = least, least = q, target = k;
        } else if (q == least) {
            target = std::min(target, k);
        } else if (q < next) {
            next = q;
        }
    });
    if (target < 0) return -1;
    // Neighbouring squares can have the same square root, and then the first
    // of all that are as near as the nearest is the one. Squares more than a
    // millionth of a millionth apart never have.
    if (next > least * (1 + 1e-12)) return target;
    const double d = std::sqrt(least);
    double above = std::nextafter(least, HUGE_VAL);
    while (std::sqrt(above) == d) above = std::nextafter(above, HUGE_VAL);
    if (next >= above) return target;
    grid.visit(s, t.x, t.y, limit, [&](int k) {
        if (k < target && squared(k) < above) target = k;
    });
    return target;
}

// The aim distance on standard output as "%g" writes it (six significant
// digits), ended and flushed, in one write to the stream's buffer. Tests
// that take the buffer away hear nothing.
void print_aim_line(double d) {
    char line[32];
    char* end = std::to_chars(line, line + sizeof line - 1, d, std::chars_format::general, 6).ptr;
    *end++ = '\n';
    if (std::streambuf* out = std::cout.rdbuf()) {
        out->sputn(line, end - line);
        out->pubsync();
    }
}

// Removes object i; the grid goes stale when that moves monsters' indices.
void remove(Sim& s, int i, MonsterGrid& grid) {
    if (i < s.turretstart) grid.stale();
    s.remove_object(i);
}

}  // namespace

void turret_update(Sim& s, int i, MonsterGrid& grid) {
    Sim::Object& t = s.objects[i];
    const Sim::Turret& type = s.turrettypes[t.type];

    // It fires rate + 1 ticks after its last shot at the earliest, and keeps
    // counting without a target so it fires the moment one comes in range.
    t.reload() += 1.0;
    if (t.reload() <= type.rate) return;

    int target = nearest_target(s, t, type.range, grid);
    if (target < 0) return;

    const Sim::Object& m = s.objects[target];
    double dx = m.x - t.x;
    double dy = m.y - t.y;
    double d = std::sqrt(dx * dx + dy * dy) + 0.001;
    print_aim_line(d);

    // The scatter grows with the distance in cells. A huge accuracy is held
    // to the int range rather than overflowing the conversion.
    int spread = saturate_int(type.accuracy * (d / 16.0) + 1.0);
    int half = spread / 2;
    double ax = dx - half + (std::rand() % spread);
    double ay = dy - half + (std::rand() % spread);

    const Sim::Bullet& btype = s.bullettypes[type.bullet];
    double n = std::sqrt(ax * ax + ay * ay) + 0.001;
    Sim::Object b;
    b.x = t.x;
    b.y = t.y;
    b.type = type.bullet;
    b.kind = KIND_BULLET;
    b.damage() = btype.damage;
    b.vx = ax / n * btype.speed;
    b.vy = ay / n * btype.speed;
    b.rangeleft() = type.range;
    t.reload() = 0.0;
    // At the front of the bullets, after every turret: the pass reaches it
    // later in this tick, so it makes its first move the tick it is fired.
    s.insert_bullet(b);
}

void bullet_update(Sim& s, int& i, MonsterGrid& grid) {
    Sim::Object& b = s.objects[i];
    b.x += b.vx;
    b.y += b.vy;

    // Tested before this move's distance is taken off, so a bullet makes one
    // last move after its range is used up and goes without a hit test.
    if (b.x < -kCell || b.y < -kCell || b.x > s.map->w || b.y > s.map->h || b.rangeleft() <= 0) {
        remove(s, i, grid);
        i -= 1;
        return;
    }
    b.rangeleft() -= std::sqrt(b.vx * b.vx + b.vy * b.vy);

    // The first monster in list order closer than 12 pixels.
    static const double below = below_root(12.0);
    int j = -1;
    grid.visit(s, b.x, b.y, 12.0, [&](int k) {
        const Sim::Object& m = s.objects[k];
        double dx = b.x - m.x;
        double dy = b.y - m.y;
        if ((j < 0 || k < j) && dx * dx + dy * dy < below) j = k;
    });
    if (j < 0) return;

    Sim::Object& m = s.objects[j];
    m.hp -= b.damage() * s.check_bullet_effectivity(m.type, b.type);
    // Slow takes hold whatever the immunity; the immunity only scales it
    // when the monster moves.
    if (s.bullettypes[b.type].effect == EFFECT_SLOW) {
        m.activeeffect() = EFFECT_SLOW;
        m.effectfactor = 0.5;
        m.effecttime = 90.0;
    }
    if (m.hp <= 0) {
        // Paid at the type's current value, which grows in endless waves.
        s.money = add_saturating(s.money, s.monstertypes[m.type].money);
        remove(s, j, grid);
        if (j < i) i -= 1;
    }
    remove(s, i, grid);
    i -= 1;
}

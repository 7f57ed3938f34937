// Turrets aiming and firing, bullets flying and hitting.
#include "game/sim.h"

#include "game/saturate.h"
#include "game/tick.h"

#include <cmath>
#include <cstdlib>
#include <iostream>

namespace {

// The nearest monster strictly inside the range and closer than 1000 pixels;
// on equal distances the lower index (the later spawned) stays. -1 if none.
int nearest_target(const Sim& s, const Sim::Object& t, int range) {
    double best = 1000.0;
    int target = -1;
    int size = static_cast<int>(s.objects.size());
    for (int k = 0; k < size && k < s.turretstart; k++) {
        const Sim::Object& m = s.objects[k];
        if (m.kind != KIND_MONSTER) continue;
        double dx = m.x - t.x;
        double dy = m.y - t.y;
        double d = std::sqrt(dx * dx + dy * dy);
        if (range > d && d < best) {
            best = d;
            target = k;
        }
    }
    return target;
}

}  // namespace

void turret_update(Sim& s, int i) {
    Sim::Object& t = s.objects[i];
    const Sim::Turret& type = s.turrettypes[t.type];

    // It fires rate + 1 ticks after its last shot at the earliest, and keeps
    // counting without a target so it fires the moment one comes in range.
    t.reload() += 1.0;
    if (t.reload() <= type.rate) return;

    int target = nearest_target(s, t, type.range);
    if (target < 0) return;

    const Sim::Object& m = s.objects[target];
    double dx = m.x - t.x;
    double dy = m.y - t.y;
    double d = std::sqrt(dx * dx + dy * dy) + 0.001;
    std::cout << d << std::endl;

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

void bullet_update(Sim& s, int& i) {
    Sim::Object& b = s.objects[i];
    b.x += b.vx;
    b.y += b.vy;

    // Tested before this move's distance is taken off, so a bullet makes one
    // last move after its range is used up and goes without a hit test.
    if (b.x < -kCell || b.y < -kCell || b.x > s.map->w || b.y > s.map->h || b.rangeleft() <= 0) {
        s.remove_object(i);
        i -= 1;
        return;
    }
    b.rangeleft() -= std::sqrt(b.vx * b.vx + b.vy * b.vy);

    int size = static_cast<int>(s.objects.size());
    for (int j = 0; j < size && j < s.turretstart; j++) {
        Sim::Object& m = s.objects[j];
        if (m.kind != KIND_MONSTER) continue;
        double dx = b.x - m.x;
        double dy = b.y - m.y;
        if (std::sqrt(dx * dx + dy * dy) >= 12.0) continue;

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
            s.remove_object(j);
            if (j < i) i -= 1;
        }
        s.remove_object(i);
        i -= 1;
        return;
    }
}

// A monster's move along the path for one tick.
#include "game/sim.h"
#include "game/tick.h"

#include <cmath>

bool monster_update(Sim& s, int i) {
    Sim::Object& m = s.objects[i];

    if (m.effecttime > 0) {
        m.effecttime -= 1;
    } else {
        m.activeeffect() = 0;
        m.effectfactor = 0;
    }

    const Sim::Waypoint& w = s.waypoints[static_cast<int>(m.waypoint())];
    double tx = kCell * w.x;
    double ty = kCell * w.y;
    double dx = tx - m.x;
    double dy = ty - m.y;
    double d = std::sqrt(dx * dx + dy * dy);

    double speed = m.walkspeed();
    if (m.activeeffect() == EFFECT_SLOW) {
        // The immunity scales how much of the slow takes hold.
        double e = s.check_effect(m.type, EFFECT_SLOW);
        speed = speed * (1 - (1 - m.effectfactor) * e);
    }

    if (d < speed) {
        // Arriving costs the rest of the step.
        m.x = tx;
        m.y = ty;
        m.waypoint() += 1;
        if (m.waypoint() >= static_cast<double>(s.waypoints.size())) {
            s.lives -= 1;
            if (s.lives < 0) return false;
            // It escaped: it costs a life and walks the path again.
            m.x = kCell * s.waypoints[0].x;
            m.y = kCell * s.waypoints[0].y;
            m.waypoint() = 0;
        }
    } else if (d > 0) {
        // A monster that cannot move (speed 0) standing on its target has no
        // direction to go; it simply stays.
        m.x += dx / d * speed;
        m.y += dy / d * speed;
    }
    return true;
}

// What a level must have before it can be played. The tick trusts these:
// at least one monster type (a wave needs its type), a path of two or more
// waypoints inside the map, a bullet type for every turret to fire, and
// numbers that keep its arithmetic defined (no division by a zero speed or
// rate, no scatter of zero width).
#include "game/level_load.h"

#include <cmath>

namespace {

bool positive_number(double v) { return v > 0.0 && std::isfinite(v); }

bool check_path(LevelLoad& l) {
    const std::vector<Sim::Waypoint>& path = l.sim.waypoints;
    if (path.size() < 2) return refuse(l, 0, "Fewer than two Waypoint lines");
    for (size_t i = 0; i < path.size(); i++) {
        const Sim::Waypoint& w = path[i];
        if (w.x < 0 || w.y < 0 || w.x >= l.mapcolumns || w.y >= l.maprows)
            return refuse(l, l.waypointlines[i], "Waypoint %d/%d is outside the map", w.x, w.y);
    }
    return true;
}

bool check_types(LevelLoad& l) {
    const Sim& sim = l.sim;
    for (size_t i = 0; i < sim.bullettypes.size(); i++) {
        if (!positive_number(sim.bullettypes[i].speed))
            return refuse(l, l.bulletlines[i], "NewBullet #%zu: BulletSpeed must be above 0", i + 1);
    }
    for (size_t i = 0; i < sim.monstertypes.size(); i++) {
        const Sim::Monster& m = sim.monstertypes[i];
        if (!positive_number(m.speed))
            return refuse(l, l.monsterlines[i], "NewMonster #%zu: MonsterSpeed must be above 0", i + 1);
        if (!(m.health > 0.0))
            return refuse(l, l.monsterlines[i], "NewMonster #%zu: MonsterHealth must be above 0", i + 1);
    }
    for (size_t i = 0; i < sim.turrettypes.size(); i++) {
        const Sim::Turret& t = sim.turrettypes[i];
        if (t.rate < 1) return refuse(l, l.turretlines[i], "NewTurret #%zu: TurretRate must be 1 or more", i + 1);
        if (t.accuracy < 0) return refuse(l, l.turretlines[i], "NewTurret #%zu: TurretAccuracy must be 0 or more", i + 1);
    }
    return true;
}

}  // namespace

bool check_level(LevelLoad& l) {
    const Sim& sim = l.sim;
    if (l.rows == 0) return refuse(l, 0, "No Row lines: the level has no map");
    if (sim.monstertypes.empty()) return refuse(l, 0, "No monster type: add a NewMonster block");
    if (!sim.turrettypes.empty() && sim.bullettypes.empty())
        return refuse(l, 0, "Turrets but no bullet type: add a NewBullet block");
    return check_path(l) && check_types(l);
}

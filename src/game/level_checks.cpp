// What a level must have before it can be played. The tick trusts these:
// at least one monster type (a wave needs its type), a path of two or more
// waypoints not absurdly far off the map, a bullet type for every turret to
// fire, a tile set to draw it all from, and numbers that keep its arithmetic
// defined (no division by a zero speed, no scatter of zero width). Anything
// else that is odd but playable loads; the level checker warns about it.
// Every reason is checked, so the checker hears them all; the game shows
// the first.
#include "game/level_load.h"

#include <cmath>

namespace {

bool positive_number(double v) { return v > 0.0 && std::isfinite(v); }

// A waypoint may lie off the map (monsters then walk in from outside), but
// within reach: pixel positions stay far inside the int range and the path
// markers inside 16-bit drawing coordinates, and no monster walks for hours.
const int kWaypointReach = 1000;

void check_path(LevelLoad& l) {
    const std::vector<Sim::Waypoint>& path = l.sim.waypoints;
    if (path.size() < 2) refuse(l, 0, "Fewer than two Waypoint lines");
    for (size_t i = 0; i < path.size(); i++) {
        const Sim::Waypoint& w = path[i];
        if (w.x < -kWaypointReach || w.y < -kWaypointReach || w.x >= l.mapcolumns + kWaypointReach ||
            w.y >= l.maprows + kWaypointReach)
            refuse(l, l.waypointlines[i], "Waypoint %d/%d is over %d cells off the map", w.x, w.y, kWaypointReach);
    }
}

void check_types(LevelLoad& l) {
    const Sim& sim = l.sim;
    for (size_t i = 0; i < sim.bullettypes.size(); i++)
        if (!positive_number(sim.bullettypes[i].speed))
            refuse(l, l.bulletlines[i], "NewBullet #%zu: BulletSpeed must be above 0", i + 1);
    for (size_t i = 0; i < sim.monstertypes.size(); i++)
        if (!positive_number(sim.monstertypes[i].speed))
            refuse(l, l.monsterlines[i], "NewMonster #%zu: MonsterSpeed must be above 0", i + 1);
    for (size_t i = 0; i < sim.turrettypes.size(); i++)
        if (sim.turrettypes[i].accuracy < 0)
            refuse(l, l.turretlines[i], "NewTurret #%zu: TurretAccuracy must be 0 or more", i + 1);
}

}  // namespace

bool check_level(LevelLoad& l) {
    const Sim& sim = l.sim;
    if (l.rows == 0 && !l.mapfailed) refuse(l, 0, "No Row lines: the level has no map");
    if (l.tilesetline == 0) refuse(l, 0, "No TileSet line: nothing can be drawn");
    if (sim.monstertypes.empty()) refuse(l, 0, "No monster type: add a NewMonster block");
    if (!sim.turrettypes.empty() && sim.bullettypes.empty())
        refuse(l, 0, "Turrets but no bullet type: add a NewBullet block");
    check_path(l);
    check_types(l);
    return !l.refused;
}

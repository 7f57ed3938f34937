#include "busy_canyon.h"

#include "platform/clock.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

Uint32 no_ticks() { return 0; }
void no_delay(Uint32) {}

struct Point {
    double x, y;
};

// Squared distance in pixels from p to the segment a-b.
double distance2(Point p, Point a, Point b) {
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    double cx = a.x + t * dx - p.x, cy = a.y + t * dy - p.y;
    return cx * cx + cy * cy;
}

std::vector<Point> path_pixels(const Sim& s) {
    std::vector<Point> path;
    for (const Sim::Waypoint& w : s.waypoints) path.push_back({16.0 * w.x, 16.0 * w.y});
    return path;
}

void place_turrets(Sim& s, const std::vector<Point>& path, int count) {
    struct Cell {
        double d2;
        int x, y;
    };
    std::vector<Cell> cells;
    for (int y = 0; y < s.map->h / 16; y++)
        for (int x = 0; x < s.map->w / 16; x++) {
            if (!s.buildable[x][y]) continue;
            double d2 = DBL_MAX;
            for (size_t i = 0; i + 1 < path.size(); i++)
                d2 = std::min(d2, distance2({16.0 * x, 16.0 * y}, path[i], path[i + 1]));
            cells.push_back({d2, x, y});
        }
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.d2 < b.d2; });
    int types = static_cast<int>(s.turrettypes.size());
    for (int i = 0; i < count && i < static_cast<int>(cells.size()); i++) {
        Sim::Object t;
        t.kind = KIND_TURRET;
        t.type = i % types;
        t.x = 16.0 * cells[i].x;
        t.y = 16.0 * cells[i].y;
        t.reload() = i % 11;  // staggered reloads
        s.buildable[cells[i].x][cells[i].y] = false;
        s.insert_turret(t);
    }
}

// Evenly along the whole trail, each heading for the end of its leg.
void place_monsters(Sim& s, const std::vector<Point>& path, int count) {
    double length = 0;
    for (size_t i = 0; i + 1 < path.size(); i++)
        length += std::hypot(path[i + 1].x - path[i].x, path[i + 1].y - path[i].y);
    int types = static_cast<int>(s.monstertypes.size());
    for (int k = 0; k < count; k++) {
        double at = length * (k + 0.5) / count;
        size_t leg = 0;
        double legs = 0;
        for (; leg + 2 < path.size(); leg++) {
            double l = std::hypot(path[leg + 1].x - path[leg].x, path[leg + 1].y - path[leg].y);
            if (legs + l > at) break;
            legs += l;
        }
        Point a = path[leg], b = path[leg + 1];
        double l = std::hypot(b.x - a.x, b.y - a.y);
        double f = l > 0 ? std::min(1.0, (at - legs) / l) : 0.0;
        Sim::Object m;
        m.kind = KIND_MONSTER;
        m.type = k % types;
        m.x = a.x + f * (b.x - a.x);
        m.y = a.y + f * (b.y - a.y);
        m.hp = s.monstertypes[m.type].health;
        m.walkspeed() = s.monstertypes[m.type].speed;
        m.waypoint() = static_cast<double>(leg + 1);
        s.insert_monster(m);
    }
}

}  // namespace

std::unique_ptr<Sim> busy_canyon(int turrets, int monsters) {
    GameClock old = clock_install(GameClock{no_ticks, no_delay});
    std::unique_ptr<Sim> s(new Sim());
    s->set_bar("img/bar.bmp");
    s->set_cursor("img/cursor.bmp");
    bool loaded = s->load_level("levels/Canyon");
    clock_install(old);
    if (!loaded) return nullptr;

    for (Sim::Monster& m : s->monstertypes) m.health = 1e12;
    s->lives = INT_MAX;
    std::vector<Point> path = path_pixels(*s);
    place_turrets(*s, path, turrets);
    place_monsters(*s, path, monsters);
    // A wave running with nobody left to spawn: "X: n" in the sidebar.
    s->waverunning = true;
    s->ready = false;
    s->spawnleft = 0;
    // The view in the middle of the map, the cursor where it scrolls nothing.
    s->scrollx = 120;
    s->scrolly = 56;
    s->cursorx = 120;
    s->cursory = 120;
    for (int t = 0; t < 300; t++) s->step();  // let the bullets fill the air
    return s;
}

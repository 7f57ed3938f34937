// One tick of the game: sidebar slide, view scroll, wave release, the end of
// a wave, and the pass over every live object.
#include "game/sim.h"

#include "game/messagebox.h"
#include "game/monster_grid.h"
#include "game/saturate.h"
#include "game/tick.h"
#include "gfx/screen.h"
#include "platform/log.h"

#include <cmath>
#include <cstdio>

namespace {

// Past this the doubling of the endless wave's health stops: it stays a
// finite number, so health bars and "HP: %i" keep working on it.
const double kHealthCap = 1e300;

void slide_sidebar(Sim& s) {
    s.sidebarwidth += 5 * s.sidebarmove;
    if (s.sidebarwidth > 79) {
        s.sidebarwidth = 80;
        s.sidebarmove = 0;
    }
    if (s.sidebarwidth <= 0) {
        s.sidebarwidth = 0;
        s.sidebarmove = 0;
    }
}

// The cursor thresholds are fractions of the whole screen, sidebar included,
// so with the sidebar open the view only scrolls right from inside it.
void scroll_view(Sim& s) {
    if (s.map->w > width - s.sidebarwidth) {
        if (s.cursorx > 0.95 * width) s.scrollx += 5;
        if (s.cursorx < 0.05 * width) s.scrollx -= 5;
        if (s.scrollx < 0) s.scrollx = 0;
        int most = s.map->w + s.sidebarwidth - (width + 1);
        if (s.scrollx > most) s.scrollx = most;
    }
    if (s.map->h > height) {
        if (s.cursory > 0.95 * height) s.scrolly += 5;
        if (s.cursory < 0.05 * height) s.scrolly -= 5;
        if (s.scrolly < 0) s.scrolly = 0;
        int most = s.map->h - height;
        if (s.scrolly > most) s.scrolly = most;
    }
}

void spawn_monster(Sim& s) {
    const Sim::Monster& type = s.monstertypes[s.wave];
    Sim::Object m;
    m.x = kCell * s.waypoints[0].x;
    m.y = kCell * s.waypoints[0].y;
    m.type = s.wave;
    m.kind = KIND_MONSTER;
    m.hp = type.health;
    m.walkspeed() = type.speed;
    m.waypoint() = 1.0;  // heading for the second waypoint
    s.insert_monster(m);
    s.spawnleft -= 1;
    s.spawntimer = 0;
}

// The bonus grows with the square root of what the wave was worth. The
// product is held to the int range before its truncation (a huge level
// would otherwise overflow), and a negative one pays nothing.
int wave_bonus(const Sim::Monster& type) {
    double product = type.money * type.health * type.number;
    int whole = saturate_int(product);
    if (whole <= 0) return 0;
    return static_cast<int>(std::sqrt(static_cast<double>(whole)) / 10.0);
}

void end_wave(Sim& s) {
    int bonus = wave_bonus(s.monstertypes[s.wave]);
    char message[200];
    if (bonus == 0)
        std::snprintf(message, sizeof message, "Level completed! No bonus...");
    else
        std::snprintf(message, sizeof message, "Level completed! Bonus: %i", bonus);
    box.add(message);
    s.money = add_saturating(s.money, bonus);

    s.wave += 1;
    int last = static_cast<int>(s.monstertypes.size()) - 1;
    if (s.wave > last) {
        // Past the last defined wave the last one repeats, harder each time.
        s.wave = last;
        Sim::Monster& type = s.monstertypes[last];
        type.health = type.health > kHealthCap / 2 ? kHealthCap : type.health * 2;
        type.money = saturate_int(type.money * 1.5);
    }
    s.waverunning = false;
    s.ready = true;
}

void release_wave(Sim& s) {
    // Held below INT_MAX: a wave whose last monster walks in circles forever
    // keeps this counting.
    if (s.waverunning && s.spawntimer < INT_MAX) s.spawntimer += 1;
    if (!s.waverunning || s.spawntimer <= 29) return;
    if (s.spawnleft > 0)
        spawn_monster(s);
    else if (s.objectnum(1) == 0)
        end_wave(s);
}

}  // namespace

bool Sim::step() {
    slide_sidebar(*this);
    scroll_view(*this);
    release_wave(*this);

    // The size is read again for every object: bullets are inserted and
    // objects removed while the pass runs. Monsters come first, so all of
    // them move before any turret aims, and all bullets fly after that.
    static MonsterGrid grid;  // kept for its room, sorted anew every tick
    grid.stale();
    for (int i = 0; i < static_cast<int>(objects.size()); i++) {
        switch (objects[i].kind) {
        case KIND_MONSTER:
            if (!monster_update(*this, i)) return false;
            grid.stale();
            break;
        case KIND_TURRET:
            turret_update(*this, i, grid);
            break;
        case KIND_BULLET:
            bullet_update(*this, i, grid);
            break;
        default:
            log_line("wtflol object without type!");
            break;
        }
    }
    return true;
}

// Both lookups share one list: bullet entries have kind >= 0, effect entries
// the negated effect number. The first match counts.
double Sim::check_effect(int type, int effect) {
    for (const Effect& e : monstertypes[type].immunities)
        if (e.kind == -effect) return e.factor;
    return 1.0;
}

double Sim::check_bullet_effectivity(int type, int bullet) {
    for (const Effect& e : monstertypes[type].immunities)
        if (e.kind == bullet) return e.factor;
    return 1.0;
}

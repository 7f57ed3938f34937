// Games built by hand for the tick and action tests: a blank map of a chosen
// size, type tables filled in code, and live objects placed where a test
// wants them, with the segment bounds kept as the game keeps them.
#pragma once

#include "app/globals.h"
#include "game/sim.h"
#include "view/messagebox.h"

#include <SDL.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

inline std::unique_ptr<Sim> make_sim(int mapw = 320, int maph = 240) {
    std::unique_ptr<Sim> s(new Sim());
    s->map = SDL_CreateRGBSurface(SDL_SWSURFACE, mapw, maph, 16, 0xF800, 0x07E0, 0x001F, 0);
    s->mapcreated = true;
    return s;
}

inline Sim::Monster monster_type(const char* name, double health, double speed, int number,
                                 int money) {
    Sim::Monster m;
    std::strncpy(m.name, name, sizeof m.name - 1);
    m.health = health;
    m.speed = speed;
    m.number = number;
    m.money = money;
    return m;
}

inline Sim::Turret turret_type(const char* name, int cost, int bullet, int range, int rate,
                               int accuracy) {
    Sim::Turret t;
    std::strncpy(t.name, name, sizeof t.name - 1);
    t.cost = cost;
    t.bullet = bullet;
    t.range = range;
    t.rate = rate;
    t.accuracy = accuracy;
    return t;
}

inline Sim::Bullet bullet_type(const char* name, double damage, double speed, int effect) {
    Sim::Bullet b;
    std::strncpy(b.name, name, sizeof b.name - 1);
    b.damage = damage;
    b.speed = speed;
    b.effect = effect;
    return b;
}

// A monster at the front of the list, as a spawn puts it; walks toward
// waypoint `target` at `speed`.
inline void add_monster(Sim& s, double x, double y, int type, double hp, double speed = 0.0,
                        int target = 1) {
    Sim::Object m;
    m.x = x;
    m.y = y;
    m.type = type;
    m.kind = 1;
    m.hp = hp;
    m.vx = speed;
    m.vy = target;
    s.objects.insert(s.objects.begin(), m);
    s.turretstart += 1;
    s.bulletstart += 1;
    s.monstersalive += 1;
}

// A turret at the front of the turret segment; `reload` ticks since its last shot.
inline void add_turret(Sim& s, double x, double y, int type, double reload = 0.0) {
    Sim::Object t;
    t.x = x;
    t.y = y;
    t.type = type;
    t.kind = 2;
    t.vy = reload;
    s.objects.insert(s.objects.begin() + s.turretstart, t);
    s.bulletstart += 1;
}

// A bullet at the front of the bullet segment (newest first).
inline void add_bullet(Sim& s, double x, double y, int type, double damage, double vx, double vy,
                       double range) {
    Sim::Object b;
    b.x = x;
    b.y = y;
    b.type = type;
    b.kind = 3;
    b.hp = damage;
    b.vx = vx;
    b.vy = vy;
    b.effect = range;
    s.objects.insert(s.objects.begin() + s.bulletstart, b);
}

// Takes every waiting message out of the global box, oldest first.
inline std::vector<std::string> drain_messages() {
    std::vector<std::string> out;
    while (!box.waiting.empty()) {
        out.push_back(box.waiting.front());
        delete[] box.waiting.front();
        box.waiting.pop();
    }
    return out;
}

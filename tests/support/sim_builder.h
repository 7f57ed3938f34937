// Games built by hand for the tick and action tests: a blank map of a chosen
// size, type tables filled in code, and live objects placed where a test
// wants them, through the same list methods the game uses.
#pragma once

#include "game/messagebox.h"
#include "game/sim.h"
#include "gfx/screen.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

// Fixture base: the global message box is empty when a test starts and ends.
struct EmptyBoxTest : ::testing::Test {
    void SetUp() override { box.clear(); }
    void TearDown() override { box.clear(); }
};

inline std::unique_ptr<Sim> make_sim(int mapw = 320, int maph = 240) {
    std::unique_ptr<Sim> s(new Sim());
    s->map = SDL_CreateRGBSurface(SDL_SWSURFACE, mapw, maph, 16, 0xF800, 0x07E0, 0x001F, 0);
    s->mapcreated = true;
    return s;
}

// A type record with its name filled in.
template <class Type> Type named(const char* name, Type type) {
    std::strncpy(type.name, name, sizeof type.name - 1);
    return type;
}
inline Sim::Monster monster_type(const char* name, double health, double speed, int number, int money) {
    return named(name, Sim::Monster{0, {}, health, speed, number, money, 0, 0, {}});
}
inline Sim::Turret turret_type(const char* name, int cost, int bullet, int range, int rate, int accuracy) {
    return named(name, Sim::Turret{0, {}, {}, cost, bullet, range, rate, accuracy, 0, 0});
}
inline Sim::Bullet bullet_type(const char* name, double damage, double speed, int effect) {
    return named(name, Sim::Bullet{0, {}, damage, speed, effect, 0, 0});
}

// A monster at the front of the list, as a spawn puts it; walks toward
// waypoint `target` at `speed`.
inline void add_monster(Sim& s, double x, double y, int type, double hp, double speed = 0.0, double target = 1) {
    s.insert_monster(Sim::Object{x, y, type, KIND_MONSTER, hp, speed, target, 0, 0, 0});
}

// A turret at the front of the turret segment, just built.
inline void add_turret(Sim& s, double x, double y, int type) {
    s.insert_turret(Sim::Object{x, y, type, KIND_TURRET, 0, 0, 0, 0, 0, 0});
}

// A bullet at the front of the bullet segment (newest first), with `range` left to fly.
inline void add_bullet(Sim& s, double x, double y, int type, double damage, double vx, double vy, double range) {
    s.insert_bullet(Sim::Object{x, y, type, KIND_BULLET, damage, vx, vy, range, 0, 0});
}

// One tick with its standard output (each shot's aim line) dropped.
inline bool quiet_step(Sim& s) {
    testing::internal::CaptureStdout();
    bool alive = s.step();
    testing::internal::GetCapturedStdout();
    return alive;
}

using Lines = std::vector<std::string>;

// The messages waiting in the global box, oldest first; the box is empty after.
inline Lines drain_messages() {
    Lines out;
    for (auto waiting = box.waiting; !waiting.empty(); waiting.pop()) out.push_back(waiting.front());
    box.clear();
    return out;
}

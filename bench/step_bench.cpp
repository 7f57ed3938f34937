// Cost of one game tick in a busy field: 30 turrets firing at 60 monsters
// walking a winding path, with all the bullets that follow.
//
// Every shot writes its aim line to standard output, as the game does, so
// run it with stdout sent to /dev/null; the results are printed on stderr:
//   ./rampartica-bench > /dev/null
#include "bench_screen.h"
#include "game/sim.h"
#include "gfx/screen.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <climits>
#include <cstring>
#include <iostream>
#include <memory>

namespace {

std::unique_ptr<Sim> busy_field(int turrets, int monsters) {
    std::unique_ptr<Sim> s(new Sim());
    s->map = SDL_CreateRGBSurface(SDL_SWSURFACE, 400, 400, 16, 0xF800, 0x07E0, 0x001F, 0);
    s->mapcreated = true;
    s->lives = INT_MAX;  // escapes only loop the monsters round again

    Sim::Bullet pellet;
    std::strcpy(pellet.name, "Pellet");
    pellet.damage = 1;
    pellet.speed = 4;
    pellet.effect = 1;
    s->bullettypes = {pellet};
    Sim::Turret gun;
    std::strcpy(gun.name, "Gun");
    gun.bullet = 0;
    gun.range = 80;
    gun.rate = 10;
    gun.accuracy = 2;
    s->turrettypes = {gun};
    Sim::Monster tough;
    std::strcpy(tough.name, "Tough");
    tough.health = 1e12;  // nobody dies: the field stays as busy as it starts
    tough.speed = 1;
    tough.immunities = {{0, 0.5}, {-1, 0.5}};
    s->monstertypes = {tough};
    s->waypoints = {{1, 1}, {22, 1}, {22, 8}, {1, 8}, {1, 15}, {22, 15}, {22, 22}};

    for (int i = 0; i < monsters; i++) {
        Sim::Object m;
        m.kind = KIND_MONSTER;
        m.x = 16;
        m.y = 16;
        m.hp = tough.health;
        m.walkspeed() = tough.speed;
        m.waypoint() = 1;
        s->insert_monster(m);
        // Spread them along the path before the next one enters.
        for (int t = 0; t < 20; t++) s->step();
    }
    for (int i = 0; i < turrets; i++) {
        Sim::Object t;
        t.kind = KIND_TURRET;
        t.x = 16 * (2 + (i % 10) * 2);
        t.y = 16 * (4 + (i / 10) * 6);
        t.reload() = i % 11;  // staggered reloads
        s->insert_turret(t);
    }
    for (int t = 0; t < 300; t++) s->step();  // let the bullets fill the air
    return s;
}

void BM_Step(benchmark::State& state) {
    auto s = busy_field(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    long bullets = 0, shots = 0, ticks = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s->step());
        bullets += s->objectnum(KIND_BULLET);
        for (int i = s->turretstart; i < s->bulletstart; i++) shots += s->objects[i].reload() == 0.0;
        ticks++;
    }
    // Averages per tick: bullets in the air, and shots (each one an aim line).
    state.counters["bullets"] = ticks ? static_cast<double>(bullets) / ticks : 0;
    state.counters["shots"] = ticks ? static_cast<double>(shots) / ticks : 0;
    state.counters["monsters"] = s->objectnum(KIND_MONSTER);
}
BENCHMARK(BM_Step)->Args({30, 60})->Args({10, 20})->Args({60, 120})->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (!open_bench_screen()) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::ConsoleReporter report(benchmark::ConsoleReporter::OO_Tabular);
    report.SetOutputStream(&std::cerr);  // stdout carries the game's aim lines
    report.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&report);
    benchmark::Shutdown();
    SDL_Quit();
    return 0;
}

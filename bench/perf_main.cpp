// The measured parts of bench/perf.sh, run under callgrind: each figure is
// the instruction count of a loop of `runs` repetitions, zeroed before and
// dumped after with the label "<name>/<runs>", which the script divides.
// Outside callgrind it runs the same work and measures nothing.
//
// The game writes an aim line per shot: send standard output to /dev/null.
#include "bench_screen.h"
#include "busy_canyon.h"
#include "game/messagebox.h"
#include "game/sim.h"
#include "gfx/screen.h"
#include "platform/clock.h"

#include <SDL.h>
#include <valgrind/callgrind.h>

#include <memory>
#include <string>

namespace {

Uint32 no_ticks() { return 0; }
void no_delay(Uint32) {}

template <class Work> void measure(const char* name, int runs, Work work) {
    std::string label = std::string(name) + "/" + std::to_string(runs);
    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_ZERO_STATS;
    for (int i = 0; i < runs; i++) work();
    CALLGRIND_DUMP_STATS_AT(label.c_str());
    CALLGRIND_STOP_INSTRUMENTATION;
}

// The least any frame must do: the whole screen blitted once and shown.
void floor_frame() {
    SDL_Surface* raw = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0, 0, 0, 0);
    SDL_Surface* picture = SDL_DisplayFormat(raw);
    SDL_FreeSurface(raw);
    measure("frame.floor", 20, [&] {
        SDL_BlitSurface(picture, nullptr, screen, nullptr);
        SDL_UpdateRect(screen, 0, 0, 0, 0);
    });
    SDL_FreeSurface(picture);
}

// A frame of the busy field with two message lines standing, once with the
// cursor on the map and once on the first turret icon (with its tooltip).
void frames() {
    std::unique_ptr<Sim> s = busy_canyon(30, 60);
    box.clear();
    box.add("Level: 3");
    box.add("Not enough money to buy Ridge Sniper!");
    for (int i = 0; i < 45; i++) box.step();  // both risen, neither gone
    auto frame = [&] {
        s->render();
        box.render();
    };
    frame();  // whatever is prepared once for a level is not part of a frame
    measure("frame.heavy", 20, frame);
    s->cursorx = 331 - s->sidebarwidth + 8;
    s->cursory = 98 + 8;
    frame();
    measure("frame.hover", 20, frame);
    box.clear();
}

void ticks(int turrets, int monsters) {
    std::unique_ptr<Sim> s = busy_canyon(turrets, monsters);
    std::string name = "tick." + std::to_string(turrets) + "x" + std::to_string(monsters);
    measure(name.c_str(), 50, [&] { s->step(); });
}

void loads() {
    GameClock old = clock_install(GameClock{no_ticks, no_delay});
    const int runs = 3;
    std::unique_ptr<Sim> games[runs];
    for (auto& g : games) {
        g.reset(new Sim());
        g->set_bar("img/bar.bmp");
    }
    int next = 0;
    measure("load.canyon", runs, [&] { games[next++]->load_level("levels/Canyon"); });
    clock_install(old);
}

}  // namespace

int main() {
    if (!open_bench_screen()) return 1;

    floor_frame();
    frames();
    ticks(15, 30);
    ticks(30, 60);
    ticks(60, 120);
    ticks(120, 240);
    loads();
    SDL_Quit();
    return 0;
}

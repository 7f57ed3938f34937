// Runs a heavy late-game state for a given number of ticks or frames, so an
// instruction counter (bench/count_instructions.sh) can tell what one costs:
// two runs that differ only in the number of repeats, subtracted, leave the
// cost of the repeats alone, without start-up, loading and set-up.
//
//   rampartica-frame-cost step|frame TURRETS MONSTERS REPEATS > /dev/null
//
// The state: the bundled Canyon (a map larger than the screen) scrolled into
// its middle, TURRETS turrets spread along the trail, a wave of MONSTERS
// monsters that nothing kills walking it, bullets in flight, the sidebar open
// with a turret being placed, and two message lines. "step" repeats
// Sim::step; "frame" repeats what the in-game loop does between two pacing
// waits: the step, the render, and the message box's step and render.
//
// Standard output carries the game's own lines (the loader's log, every
// shot's aim line); a summary of the state goes to standard error.
#include "game/load_progress.h"
#include "game/messagebox.h"
#include "game/sim.h"
#include "gfx/screen.h"
#include "gfx/sine.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Loads without drawing the loading screen or waiting.
class Quietly : public LoadProgress {
public:
    void report(int, const char*, bool) override {}
};

// Distance from a point to the segment a-b, all in pixels.
double segment_distance(double px, double py, double ax, double ay, double bx, double by) {
    double dx = bx - ax, dy = by - ay;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// Turrets on buildable cells within two cells of the trail, spread evenly
// over all such cells in reading order, with their reloads staggered.
bool place_turrets(Sim& s, int count) {
    std::vector<std::pair<int, int>> cells;
    for (int y = 0; y < s.map->h / 16; y++)
        for (int x = 0; x < s.map->w / 16; x++) {
            if (!s.buildable[x][y]) continue;
            double best = 1e9;
            for (size_t w = 1; w < s.waypoints.size(); w++) {
                const Sim::Waypoint &a = s.waypoints[w - 1], &b = s.waypoints[w];
                best = std::min(best, segment_distance(16 * x, 16 * y, 16 * a.x, 16 * a.y, 16 * b.x, 16 * b.y));
            }
            if (best <= 32) cells.push_back({x, y});
        }
    if (static_cast<int>(cells.size()) < count || s.turrettypes.empty()) return false;
    for (int i = 0; i < count; i++) {
        auto [x, y] = cells[cells.size() * static_cast<size_t>(i) / static_cast<size_t>(count)];
        Sim::Object t;
        t.x = 16 * x;
        t.y = 16 * y;
        t.type = i % static_cast<int>(s.turrettypes.size());
        t.kind = KIND_TURRET;
        t.reload() = i % 7;
        s.buildable[x][y] = false;
        s.insert_turret(t);
    }
    return true;
}

// The game's own wave release puts the monsters on the trail, one every 30
// ticks, so they end up spread along it; none dies and none costs the game.
void release_monsters(Sim& s, int count) {
    Sim::Monster& type = s.monstertypes[static_cast<size_t>(s.wave)];
    type.health = 1e12;
    type.number = count;
    s.lives = INT_MAX;
    s.cursorclick(CLICK_NEXT_WAVE);
    while (s.spawnleft > 0) s.step();
    for (int t = 0; t < 200; t++) s.step();  // the last ones walk in, bullets fill the air
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 || (std::strcmp(argv[1], "step") != 0 && std::strcmp(argv[1], "frame") != 0)) {
        std::fprintf(stderr, "usage: %s step|frame TURRETS MONSTERS REPEATS\n", argv[0]);
        return 2;
    }
    const bool whole_frame = std::strcmp(argv[1], "frame") == 0;
    const int turrets = std::atoi(argv[2]), monsters = std::atoi(argv[3]), repeats = std::atoi(argv[4]);
    if (turrets < 0 || monsters < 1 || repeats < 0) {
        std::fprintf(stderr, "%s: counts must be positive\n", argv[0]);
        return 2;
    }

    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (chdir(RAMPARTICA_RUN_DIR) != 0) {
        std::perror(RAMPARTICA_RUN_DIR);
        return 1;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0 ||
        !(screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenDepth, 0))) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    build_sine_table();
    std::srand(1);

    Sim* sim = new Sim();
    sim->set_bar("img/bar.bmp");
    sim->set_cursor("img/cursor.bmp");
    Quietly quietly;
    if (!sim->load_level("levels/Canyon", quietly) || !place_turrets(*sim, turrets)) {
        std::fprintf(stderr, "%s: cannot set up %d turrets on Canyon\n", argv[0], turrets);
        return 1;
    }
    release_monsters(*sim, monsters);

    // Placing the strongest turret in the middle of the view, which is
    // scrolled into the middle of the map; the cursor is far from the edges,
    // so the view stays put.
    sim->scrollx = (sim->map->w + sim->sidebarwidth - (width + 1)) / 2;
    sim->scrolly = (sim->map->h - height) / 2;
    sim->cursorx = 120;
    sim->cursory = 120;
    sim->money = 1000000;
    sim->cursorclick(CLICK_STRONGEST);

    // Two lines in the box, slid in and standing: each slide takes 21 box
    // steps, and with two lines the oldest stands twice its length in steps,
    // longer than the repeats below run (counted with 25).
    box.clear();
    box.add("Level completed! Bonus: 120");
    char announcement[200];
    std::snprintf(announcement, sizeof announcement, "%i %.150ss! HP: %i", monsters,
                  sim->monstertypes[static_cast<size_t>(sim->wave)].name, INT_MAX);
    box.add(announcement);
    for (int i = 0; i < 42; i++) box.step();

    for (int r = 0; r < repeats; r++) {
        sim->step();
        if (!whole_frame) continue;
        sim->render();
        box.step();
        box.render();
    }

    std::fprintf(stderr, "%s x%d: %d monsters, %d turrets, %d bullets, %zu message lines%s, view at %d,%d\n",
                 argv[1], repeats, sim->objectnum(KIND_MONSTER), sim->objectnum(KIND_TURRET),
                 sim->objectnum(KIND_BULLET), box.lines.size(), box.animating ? " (sliding)" : "", sim->scrollx,
                 sim->scrolly);
    delete sim;
    SDL_Quit();
    return 0;
}

#include "support/scripted_play.h"

#include "app/globals.h"
#include "view/messagebox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

// The cursor keeps out of the outer 5 % of the screen, or the view scrolls.
const int kScrollLeft = 16, kScrollRight = 304, kScrollTop = 12, kScrollBottom = 228;

int clamp_into(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Squared distance, in cells, from a cell to the path segment a-b.
double distance2(double px, double py, const Sim::Waypoint& a, const Sim::Waypoint& b) {
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0.0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    double cx = a.x + t * dx - px, cy = a.y + t * dy - py;
    return cx * cx + cy * cy;
}

double distance2_to_path(const Sim& s, int x, int y) {
    double d2 = 1e18;
    for (size_t i = 0; i + 1 < s.waypoints.size(); i++)
        d2 = std::min(d2, distance2(x, y, s.waypoints[i], s.waypoints[i + 1]));
    return d2;
}

// Buildable cells nearest to the path first; among equally near cells,
// those with more path around them (inside bends) see the monsters longest.
std::vector<ScriptedPlay::Cell> rank_cells(const Sim& s) {
    struct Ranked {
        ScriptedPlay::Cell cell;
        double d2;
        int cover;
    };
    std::vector<Ranked> ranked;
    for (int y = 0; y < s.map->h / 16 && y < 96; y++)
        for (int x = 0; x < s.map->w / 16 && x < 128; x++) {
            if (!s.buildable[x][y]) continue;
            Ranked r{{x, y}, distance2_to_path(s, x, y), 0};
            for (int yy = y - 2; yy <= y + 2; yy++)
                for (int xx = x - 2; xx <= x + 2; xx++) r.cover += distance2_to_path(s, xx, yy) < 0.25;
            ranked.push_back(r);
        }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return a.d2 != b.d2 ? a.d2 < b.d2 : a.cover > b.cover;
    });
    std::vector<ScriptedPlay::Cell> cells;
    for (const Ranked& r : ranked) cells.push_back(r.cell);
    return cells;
}

}  // namespace

ScriptedPlay::ScriptedPlay(const std::string& level) {
    // The game never seeds rand(): put the generator back where a fresh
    // process has it, whatever other tests drew from it.
    srand(1);
    box.clear();
    sim.set_bar("img/bar.bmp");
    sim.set_cursor("img/cursor.bmp");
    testing::internal::CaptureStdout();  // the loader's log, wanted only when it refuses
    loaded = sim.load_level(("levels/" + level).c_str());
    std::string log = testing::internal::GetCapturedStdout();
    if (loaded) cells = rank_cells(sim);
    else problem = "levels/" + level + " refused: " + log;
    unclickable_.assign(cells.size(), 0);
}

ScriptedPlay::~ScriptedPlay() { box.clear(); }

void ScriptedPlay::point(int x, int y) { sim.addcursor(x - sim.cursorx, y - sim.cursory); }

// The frame drawn first settles the map's screen origin (mapx, mapy) that clicks read.
void ScriptedPlay::press(int code) {
    sim.render();
    sim.cursorclick(code);
}

bool ScriptedPlay::click_icon(int type) {
    if (stopped()) return false;
    point(331 - sim.sidebarwidth + 21 * (type % 3) + 8, (int)((type / 3 + 0.5) * 21 + 88) + 8);
    press(0);
    return sim.buildmode == 1 && sim.selectedturret == type;
}

// A screen position inside the map area whose click lands on the cell with
// the map where it is now, preferring the middle of the cell and a spot
// that does not scroll the view.
bool ScriptedPlay::visible_spot(Cell cell, int* sx, int* sy) const {
    // The click picks column floor((x + 8) / 16) - mapx / 16 (truncated).
    int kx = cell.x + sim.mapx / 16, ky = cell.y + sim.mapy / 16;
    int xlo = std::max(0, 16 * kx - 8), xhi = std::min(319 - sim.sidebarwidth, 16 * kx + 7);
    int ylo = std::max(0, 16 * ky - 8), yhi = std::min(239, 16 * ky + 7);
    if (xlo > xhi || ylo > yhi) return false;
    *sx = clamp_into(16 * kx, xlo, xhi);
    *sy = clamp_into(16 * ky, ylo, yhi);
    int left = std::max(xlo, kScrollLeft), right = std::min(xhi, kScrollRight);
    int top = std::max(ylo, kScrollTop), bottom = std::min(yhi, kScrollBottom);
    if (left <= right) *sx = clamp_into(*sx, left, right);
    if (top <= bottom) *sy = clamp_into(*sy, top, bottom);
    return true;
}

bool ScriptedPlay::click_cell(Cell cell) {
    if (stopped()) return false;
    int sx = 0, sy = 0;
    sim.render();
    // Scroll as a player would: hold the cursor at the edge for a few ticks.
    for (int guard = 0; !visible_spot(cell, &sx, &sy); guard++) {
        int kx = cell.x + sim.mapx / 16, ky = cell.y + sim.mapy / 16;
        point(kx < 0 ? 0 : (16 * kx - 8 > 319 - sim.sidebarwidth ? 320 : 160),
              ky < 0 ? 0 : (16 * ky - 8 > 239 ? 240 : 120));
        int before_x = sim.scrollx, before_y = sim.scrolly;
        if (guard > 200 || !step()) return false;
        sim.render();
        if (sim.scrollx == before_x && sim.scrolly == before_y) return false;  // at the map's edge
    }
    int turrets = sim.bulletstart - sim.turretstart;
    point(sx, sy);
    press(0);
    return sim.bulletstart - sim.turretstart == turrets + 1;
}

bool ScriptedPlay::start_wave() {
    if (!stopped()) press(3);
    return !stopped() && sim.waverunning;
}

bool ScriptedPlay::step() {
    if (stopped()) return false;
    int monsters = sim.turretstart, waiting = sim.spawnleft, running = sim.waverunning;
    // Every shot prints its aim distance, thousands of lines in a long run.
    std::streambuf* out = std::cout.rdbuf(nullptr);
    bool alive = sim.step();
    std::cout.rdbuf(out);
    ticks++;
    // Monsters only leave the list by dying, and only spawning adds them.
    kills += monsters + (waiting - sim.spawnleft) - sim.turretstart;
    if (!alive) {
        lost = true;
        return false;
    }
    cleared += running && !sim.waverunning;
    if (render_every_tick) {
        sim.render();
        box.step();
        box.render();
    }
    std::string complaint = check ? check(sim) : "";
    if (!complaint.empty()) problem = "tick " + std::to_string(ticks) + ": " + complaint;
    return complaint.empty();
}

bool ScriptedPlay::finish_wave(long max_ticks, const std::function<void()>& on_tick) {
    for (long n = 0; n < max_ticks && sim.waverunning; n++) {
        if (!step()) return false;
        if (on_tick) on_tick();
    }
    return !sim.waverunning;
}

bool ScriptedPlay::place_near_path() {
    for (size_t i = 0; i < cells.size() && sim.buildmode == 1 && !stopped(); i++) {
        if (unclickable_[i] || !sim.buildable[cells[i].x][cells[i].y]) continue;
        if (click_cell(cells[i])) return true;
        unclickable_[i] = 1;
    }
    return false;
}

int ScriptedPlay::build_strongest() {
    int built = 0;
    while (!stopped()) {
        press(2);
        if (sim.buildmode != 1) break;
        if (!place_near_path()) {
            press(1);
            break;
        }
        built++;
    }
    return built;
}

std::string ScriptedPlay::summary() const {
    char line[200];
    snprintf(line, sizeof line,
             "tick %ld wave %d cleared %d lives %d money %d kills %d alive %d turrets %d bullets %d", ticks,
             sim.wave + 1, cleared, sim.lives, sim.money, kills, sim.turretstart,
             sim.bulletstart - sim.turretstart, (int)sim.objects.size() - sim.bulletstart);
    return line;
}

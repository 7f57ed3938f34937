#include "level/scripted_play.h"

#include "game/load_progress.h"
#include "game/messagebox.h"
#include "level/captured_stdout.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

// The cursor keeps out of the outer 5 % of the screen, or the view scrolls.
const int kScrollLeft = 16, kScrollRight = 304, kScrollTop = 12, kScrollBottom = 228;

// Squared distance, in cells, from a cell to the nearest segment of the path.
double distance2_to_path(const Sim& s, int x, int y) {
    double d2 = 1e18;
    for (size_t i = 0; i + 1 < s.waypoints.size(); i++) {
        const Sim::Waypoint &a = s.waypoints[i], &b = s.waypoints[i + 1];
        double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? std::max(0.0, std::min(1.0, ((x - a.x) * dx + (y - a.y) * dy) / len2)) : 0.0;
        double cx = a.x + t * dx - x, cy = a.y + t * dy - y;
        d2 = std::min(d2, cx * cx + cy * cy);
    }
    return d2;
}

// Buildable cells nearest to the path first; among equally near cells,
// those with more path around them (inside bends) see the monsters longest.
std::vector<ScriptedPlay::Cell> rank_cells(const Sim& s) {
    struct Ranked { double d2; int cover; ScriptedPlay::Cell cell; };
    std::vector<Ranked> ranked;
    for (int y = 0; y < s.map->h / kCell && y < kMaxMapRows; y++)
        for (int x = 0; x < s.map->w / kCell && x < kMaxMapColumns; x++) {
            if (!s.buildable[x][y]) continue;
            int cover = 0;
            for (int yy = y - 2; yy <= y + 2; yy++)
                for (int xx = x - 2; xx <= x + 2; xx++) cover += distance2_to_path(s, xx, yy) < 0.25;
            ranked.push_back({distance2_to_path(s, x, y), cover, {x, y}});
        }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return a.d2 != b.d2 ? a.d2 < b.d2 : a.cover > b.cover;
    });
    std::vector<ScriptedPlay::Cell> cells;
    for (const Ranked& r : ranked) cells.push_back(r.cell);
    return cells;
}

// A screen position inside the map area whose click lands on the cell with
// the map where it is now, preferring the middle of the cell and a spot
// that does not scroll the view.
bool visible_spot(const Sim& sim, ScriptedPlay::Cell cell, int* sx, int* sy) {
    // The click picks column floor((x + 8) / 16) - mapx / 16 (truncated).
    int kx = cell.x + sim.mapx / 16, ky = cell.y + sim.mapy / 16;
    int xlo = std::max(0, 16 * kx - 8), xhi = std::min(319 - sim.sidebarwidth, 16 * kx + 7);
    int ylo = std::max(0, 16 * ky - 8), yhi = std::min(239, 16 * ky + 7);
    if (xlo > xhi || ylo > yhi) return false;
    *sx = std::clamp(16 * kx, xlo, xhi);
    *sy = std::clamp(16 * ky, ylo, yhi);
    int left = std::max(xlo, kScrollLeft), right = std::min(xhi, kScrollRight);
    int top = std::max(ylo, kScrollTop), bottom = std::min(yhi, kScrollBottom);
    if (left <= right) *sx = std::clamp(*sx, left, right);
    if (top <= bottom) *sy = std::clamp(*sy, top, bottom);
    return true;
}

// The loader's last line names the file, the line and the reason; a level
// without a readable level.txt logs nothing.
std::string refusal(const std::string& log) {
    size_t end = log.find_last_not_of('\n');
    if (end == std::string::npos) return "Unable to open level.txt!";
    size_t start = log.rfind('\n', end);
    start = start == std::string::npos ? 0 : start + 1;
    return log.substr(start, end + 1 - start);
}

}  // namespace

std::string broken_invariant(const Sim& s) {
    int n = (int)s.objects.size();
    if (!(0 <= s.turretstart && s.turretstart <= s.bulletstart && s.bulletstart <= n)) return "segments out of order";
    if (s.monstersalive != s.turretstart) return "monstersalive is not the number of monsters";
    if (s.money < 0 || s.lives < 0 || s.lives > 20) return "money or lives out of range";
    if (s.wave < 0 || s.wave >= (int)s.monstertypes.size()) return "wave out of range";
    if (s.spawnleft < 0 || s.spawnleft > s.monstertypes[s.wave].number) return "spawnleft out of range";
    if (s.waverunning == s.ready) return "waverunning and ready agree";
    for (int i = 0; i < n; i++) {
        const Sim::Object& o = s.objects[i];
        std::string at = " (object " + std::to_string(i) + ")";
        int kind = i < s.turretstart ? KIND_MONSTER : (i < s.bulletstart ? KIND_TURRET : KIND_BULLET);
        size_t types = kind == KIND_MONSTER ? s.monstertypes.size()
                       : kind == KIND_TURRET ? s.turrettypes.size() : s.bullettypes.size();
        if (o.kind != kind || o.type < 0 || o.type >= (int)types) return "kind or type wrong" + at;
        if (kind == KIND_MONSTER && !(o.hp > 0 && o.hp <= s.monstertypes[o.type].health)) return "monster health" + at;
        if (kind == KIND_MONSTER && !(o.waypoint() >= 0 && o.waypoint() < (double)s.waypoints.size()))
            return "monster walks to no waypoint" + at;
        int cx = (int)o.x / 16, cy = (int)o.y / 16;
        if (kind == KIND_TURRET && (o.x < 0 || o.y < 0 || o.x >= s.map->w || o.y >= s.map->h || o.x != 16.0 * cx ||
                          o.y != 16.0 * cy || s.buildable[cx][cy]))
            return "turret not on a taken cell" + at;
        // A bullet past these bounds is removed in the tick it crosses them.
        if (kind == KIND_BULLET && (o.x < -16 || o.y < -16 || o.x > s.map->w || o.y > s.map->h))
            return "bullet outside the map" + at;
    }
    return "";
}

namespace {
// The game's loading screen, with a look after every repaint.
struct WatchedLoadingScreen final : LoadProgress {
    Sim& sim;
    const std::function<void()>& repainted;
    WatchedLoadingScreen(Sim& s, const std::function<void()>& r) : sim(s), repainted(r) {}
    void report(int progress, const char* message, bool error) override {
        sim.updatescreen(progress, message, error);
        if (repainted) repainted();
    }
};
}  // namespace

ScriptedPlay::ScriptedPlay(const std::string& dir, const std::function<void()>& repainted) {
    // The game never seeds rand(): put the generator back where a fresh
    // process has it, whatever other tests drew from it.
    srand(1);
    box.clear();
    sim.set_bar("img/bar.bmp");
    sim.set_cursor("img/cursor.bmp");
    WatchedLoadingScreen loading(sim, repainted);
    CapturedStdout log;  // the loader's log, wanted only when it refuses
    loaded = sim.load_level(dir.c_str(), loading);
    if (loaded) cells = rank_cells(sim);
    else problem = dir + " refused: " + refusal(log.text());
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
    const Square icon = icon_square(type, sim.sidebarwidth);
    point(icon.left + kCell / 2, icon.top + kCell / 2);
    press(CLICK_PRESS);
    return sim.buildmode == BUILD_PLACING && sim.selectedturret == type;
}

bool ScriptedPlay::click_cell(Cell cell) {
    if (stopped()) return false;
    int sx = 0, sy = 0;
    sim.render();
    // Scroll as a player would: hold the cursor at the edge for a few ticks.
    for (int guard = 0; !visible_spot(sim, cell, &sx, &sy); guard++) {
        int kx = cell.x + sim.mapx / 16, ky = cell.y + sim.mapy / 16;
        point(kx < 0 ? 0 : (16 * kx - 8 > 319 - sim.sidebarwidth ? 320 : 160),
              ky < 0 ? 0 : (16 * ky - 8 > 239 ? 240 : 120));
        int before_x = sim.scrollx, before_y = sim.scrolly;
        if (guard > 200 || !step()) return false;  // a tick draws its frame, which settles mapx and mapy
        if (sim.scrollx == before_x && sim.scrolly == before_y) return false;  // at the map's edge
    }
    int turrets = sim.bulletstart - sim.turretstart;
    point(sx, sy);
    press(CLICK_PRESS);
    if (sim.bulletstart - sim.turretstart != turrets + 1) return false;
    // A new turret stands first in its segment, and must stand on the cell aimed at.
    if (sim.objects[sim.turretstart].x != 16.0 * cell.x || sim.objects[sim.turretstart].y != 16.0 * cell.y)
        problem = "a click aimed at cell " + std::to_string(cell.x) + "," + std::to_string(cell.y) + " built elsewhere";
    return problem.empty();
}

bool ScriptedPlay::start_wave() {
    if (!stopped()) press(CLICK_NEXT_WAVE);
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
    lost = !alive;
    if (lost) return false;
    cleared += running && !sim.waverunning;
    box.step();
    if (!thorough) return true;
    sim.render();
    box.render();
    std::string complaint = broken_invariant(sim);
    if (!complaint.empty()) problem = "tick " + std::to_string(ticks) + ": " + complaint;
    return complaint.empty();
}

void ScriptedPlay::build_strongest() {
    while (!stopped()) {
        press(CLICK_STRONGEST);
        if (sim.buildmode != BUILD_PLACING) return;
        bool placed = false;
        for (size_t i = 0; !placed && i < cells.size() && sim.buildmode == BUILD_PLACING && !stopped(); i++) {
            if (unclickable_[i] || !sim.buildable[cells[i].x][cells[i].y]) continue;
            placed = click_cell(cells[i]);
            unclickable_[i] = !placed;
        }
        if (!placed) return press(CLICK_CANCEL);
    }
}

std::string ScriptedPlay::summary() const {
    char line[200];
    snprintf(line, sizeof line, "tick %ld wave %d cleared %d lives %d money %d kills %d alive %d turrets %d bullets %d",
             ticks, sim.wave + 1, cleared, sim.lives, sim.money, kills, sim.turretstart,
             sim.bulletstart - sim.turretstart, (int)sim.objects.size() - sim.bulletstart);
    return line;
}

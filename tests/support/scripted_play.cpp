#include "support/scripted_play.h"

#include "view/messagebox.h"
#include "app/globals.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Every shot prints its aim distance; a long run prints thousands of lines.
// Standard output goes to /dev/null while the game runs, nested scopes share
// one redirection, and everything is flushed before the switch back so no
// line lands on the wrong side.
int quiet_depth = 0;
int saved_stdout = -1;

struct Quiet {
    Quiet() {
        if (quiet_depth++ > 0) return;
        fflush(stdout);
        saved_stdout = dup(STDOUT_FILENO);
        int null_fd = open("/dev/null", O_WRONLY);
        if (null_fd >= 0) {
            dup2(null_fd, STDOUT_FILENO);
            close(null_fd);
        }
    }
    ~Quiet() {
        if (--quiet_depth > 0) return;
        fflush(stdout);
        if (saved_stdout >= 0) {
            dup2(saved_stdout, STDOUT_FILENO);
            close(saved_stdout);
            saved_stdout = -1;
        }
    }
};

// The cursor leaves the outer 5 % of the screen alone, or the view scrolls.
const int kScrollLeft = 16, kScrollRight = 304, kScrollTop = 12, kScrollBottom = 228;

int clamp_into(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Squared distance, in cells, from a cell to the path segment a-b.
double distance2_to_segment(double px, double py, const Sim::Waypoint& a, const Sim::Waypoint& b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0.0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    double cx = a.x + t * dx - px, cy = a.y + t * dy - py;
    return cx * cx + cy * cy;
}

}  // namespace

ScriptedPlay::ScriptedPlay(const std::string& level) {
    Quiet quiet;
    // The game never seeds rand(), so each game process starts from the
    // generator's initial state; other tests in this process may have drawn
    // from it, so put it back where a fresh process has it.
    srand(1);
    box.clear();
    sim_.reset(new Sim());
    sim_->set_bar("img/bar.bmp");
    sim_->set_cursor("img/cursor.bmp");
    std::string dir = "levels/" + level;
    // A missing image ends the process inside the loader; say so instead.
    struct stat st;
    std::string tiles = dir + "/tiles.bmp";
    if (stat(tiles.c_str(), &st) != 0) {
        problem_ = "no tile set at " + tiles;
        return;
    }
    loaded_ = sim_->load_level(dir.c_str());
    if (!loaded_) {
        problem_ = "load_level refused " + dir;
        return;
    }
    rank_cells();
}

ScriptedPlay::~ScriptedPlay() {
    Quiet quiet;
    sim_.reset();
    box.clear();
}

void ScriptedPlay::rank_cells() {
    const Sim& s = *sim_;
    struct Ranked {
        Cell cell;
        double d2;
        int cover;
    };
    std::vector<Ranked> ranked;
    int cols = s.map->w / 16, rows = s.map->h / 16;
    for (int y = 0; y < rows && y < 96; y++) {
        for (int x = 0; x < cols && x < 128; x++) {
            if (!s.buildable[x][y]) continue;
            Ranked r{{x, y}, 1e18, 0};
            for (size_t i = 0; i + 1 < s.waypoints.size(); i++)
                r.d2 = std::min(r.d2, distance2_to_segment(x, y, s.waypoints[i], s.waypoints[i + 1]));
            // Among equally near cells, those with more path around them
            // (inside bends) see the monsters longest.
            for (int yy = y - 2; yy <= y + 2; yy++)
                for (int xx = x - 2; xx <= x + 2; xx++)
                    for (size_t i = 0; i + 1 < s.waypoints.size(); i++)
                        if (distance2_to_segment(xx, yy, s.waypoints[i], s.waypoints[i + 1]) < 0.25) {
                            r.cover++;
                            break;
                        }
            ranked.push_back(r);
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        if (a.d2 != b.d2) return a.d2 < b.d2;
        return a.cover > b.cover;
    });
    for (const Ranked& r : ranked) near_path_.push_back(r.cell);
    unclickable_.assign(near_path_.size(), 0);
}

void ScriptedPlay::frame() {
    // The drawing settles the map's screen origin (mapx, mapy) that the
    // clicks read, as it does every frame in the game.
    Quiet quiet;
    sim_->render();
}

void ScriptedPlay::point(int x, int y) {
    Quiet quiet;
    sim_->addcursor(x - sim_->cursorx, y - sim_->cursory);
}

void ScriptedPlay::press(int code) {
    Quiet quiet;
    frame();
    sim_->cursorclick(code);
}

bool ScriptedPlay::click_icon(int type) {
    if (!loaded_ || stopped()) return false;
    Sim& s = *sim_;
    int w = s.sidebarwidth;
    int c = type % 3, r = type / 3;
    int left = 331 - w + 21 * c;
    int top = (int)((r + 0.5) * 21 + 88);
    point(left + 8, top + 8);
    press(0);
    return s.buildmode == 1 && s.selectedturret == type;
}

// A screen position inside the map area whose click lands on the cell with
// the map where it is now, preferring the middle of the cell and a spot
// that does not scroll the view.
bool ScriptedPlay::visible_spot(Cell cell, int* sx, int* sy) const {
    const Sim& s = *sim_;
    // The click picks column floor((x + 8) / 16) - mapx / 16 (truncated).
    int kx = cell.x + s.mapx / 16;
    int ky = cell.y + s.mapy / 16;
    int xlo = std::max(0, 16 * kx - 8), xhi = std::min(319 - s.sidebarwidth, 16 * kx + 7);
    int ylo = std::max(0, 16 * ky - 8), yhi = std::min(239, 16 * ky + 7);
    if (xlo > xhi || ylo > yhi) return false;
    int x = clamp_into(16 * kx, xlo, xhi), y = clamp_into(16 * ky, ylo, yhi);
    if (std::max(xlo, kScrollLeft) <= std::min(xhi, kScrollRight))
        x = clamp_into(x, std::max(xlo, kScrollLeft), std::min(xhi, kScrollRight));
    if (std::max(ylo, kScrollTop) <= std::min(yhi, kScrollBottom))
        y = clamp_into(y, std::max(ylo, kScrollTop), std::min(yhi, kScrollBottom));
    *sx = x;
    *sy = y;
    return true;
}

bool ScriptedPlay::click_cell(Cell cell) {
    if (!loaded_ || stopped()) return false;
    Quiet quiet;
    Sim& s = *sim_;
    int sx = 0, sy = 0;
    frame();
    // Scroll as a player would: hold the cursor at the edge for a few ticks.
    for (int guard = 0; !visible_spot(cell, &sx, &sy); guard++) {
        int kx = cell.x + s.mapx / 16, ky = cell.y + s.mapy / 16;
        int x = kx < 0 ? 0 : (16 * kx - 8 > 319 - s.sidebarwidth ? 320 : 160);
        int y = ky < 0 ? 0 : (16 * ky - 8 > 239 ? 240 : 120);
        point(x, y);
        int before_x = s.scrollx, before_y = s.scrolly;
        if (guard > 200 || !step()) return false;
        frame();
        if (s.scrollx == before_x && s.scrolly == before_y) return false;  // at the map's edge
    }
    int turrets = s.bulletstart - s.turretstart;
    point(sx, sy);
    press(0);
    return s.bulletstart - s.turretstart == turrets + 1;
}

bool ScriptedPlay::start_wave() {
    if (!loaded_ || stopped()) return false;
    press(3);
    return sim_->waverunning;
}

bool ScriptedPlay::step() {
    if (!loaded_ || stopped()) return false;
    Quiet quiet;
    Sim& s = *sim_;
    int monsters = s.turretstart, waiting = s.spawnleft;
    bool running = s.waverunning;
    bool alive = s.step();
    ticks_++;
    // Monsters only leave the list by dying, and only spawning adds them.
    kills_ += monsters + (waiting - s.spawnleft) - s.turretstart;
    if (!alive) {
        lost_ = true;
        return false;
    }
    if (running && !s.waverunning) cleared_++;
    if (render_always_) {
        frame();
        box.step();
        box.render();
    }
    if (check_) {
        std::string complaint = check_(s);
        if (!complaint.empty()) {
            problem_ = "tick " + std::to_string(ticks_) + ": " + complaint;
            return false;
        }
    }
    return true;
}

bool ScriptedPlay::finish_wave(long max_ticks, const std::function<void()>& on_tick) {
    Quiet quiet;
    for (long n = 0; n < max_ticks && sim_->waverunning; n++) {
        if (!step()) return false;
        if (on_tick) on_tick();
    }
    return !sim_->waverunning;
}

bool ScriptedPlay::place_near_path() {
    if (!loaded_ || stopped()) return false;
    Quiet quiet;
    Sim& s = *sim_;
    for (size_t i = 0; i < near_path_.size() && s.buildmode == 1; i++) {
        Cell c = near_path_[i];
        if (unclickable_[i] || !s.buildable[c.x][c.y]) continue;
        if (click_cell(c)) return true;
        if (stopped()) return false;
        unclickable_[i] = 1;
    }
    return false;
}

int ScriptedPlay::build_strongest() {
    Quiet quiet;
    int built = 0;
    while (loaded_ && !stopped()) {
        press(2);
        if (sim_->buildmode != 1) break;
        if (!place_near_path()) {
            press(1);
            break;
        }
        built++;
    }
    return built;
}

std::string ScriptedPlay::summary() const {
    const Sim& s = *sim_;
    char line[200];
    snprintf(line, sizeof line,
             "tick %ld wave %d cleared %d lives %d money %d kills %d alive %d turrets %d bullets %d",
             ticks_, s.wave + 1, cleared_, s.lives, s.money, kills_, s.turretstart,
             s.bulletstart - s.turretstart, (int)s.objects.size() - s.bulletstart);
    return line;
}

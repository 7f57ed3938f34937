#include "level/balance.h"

#include "game/sim.h"
#include "level/scripted_play.h"

#include <algorithm>
#include <cmath>

namespace {

// No wave of a sound level runs for 20 minutes: one that does never ends.
const long kWaveTickCap = 36000;

double path_pixels(const Sim& s) {
    double length = 0.0;
    for (size_t i = 0; i + 1 < s.waypoints.size(); i++)
        length += 16.0 * std::hypot(s.waypoints[i + 1].x - s.waypoints[i].x, s.waypoints[i + 1].y - s.waypoints[i].y);
    return length;
}

// What the standing turrets deal per tick to monsters of this type: a
// turret fires at most once every rate + 1 ticks (every tick at rate 0).
double defence_against(Sim& s, int type) {
    double total = 0.0;
    for (int i = s.turretstart; i < s.bulletstart; i++) {
        const Sim::Turret& t = s.turrettypes[s.objects[i].type];
        if (t.bullet < 0 || t.bullet >= static_cast<int>(s.bullettypes.size())) continue;
        double damage = s.bullettypes[t.bullet].damage * s.check_bullet_effectivity(type, t.bullet);
        total += damage / (std::max(t.rate, 0) + 1.0);
    }
    return total;
}

// Whole numbers while they are readable, then in powers of ten (the endless
// repeats double their health every time).
std::string compact(double v) {
    char text[32];
    if (std::fabs(v) < 1e7) std::snprintf(text, sizeof text, "%.0f", v);
    else std::snprintf(text, sizeof text, "%.3g", v);
    return text;
}

}  // namespace

int BalanceReport::cleared_defined() const {
    int n = 0;
    for (const WaveRow& r : rows) n += r.cleared && r.wave <= defined;
    return n;
}

BalanceReport run_balance(const std::string& dir, int max_waves) {
    BalanceReport report;
    ScriptedPlay play(dir);
    play.thorough = false;
    report.loaded = play.loaded;
    report.problem = play.problem;
    if (!play.loaded) return report;
    Sim& s = play.sim;
    report.defined = static_cast<int>(s.monstertypes.size());
    const double pixels = path_pixels(s);

    for (int w = 1; w <= max_waves && !play.lost && play.problem.empty(); w++) {
        WaveRow row;
        row.wave = w;
        row.money = s.money;
        play.build_strongest();
        const Sim::Monster& type = s.monstertypes[s.wave];
        row.name = type.name;
        row.count = type.number;
        row.health = type.health;
        row.path_ticks = pixels / type.speed;
        row.turrets = s.bulletstart - s.turretstart;
        row.defence = defence_against(s, s.wave);
        const int lives = s.lives, kills = play.kills;
        if (!play.start_wave()) break;
        long start = play.ticks;
        int money = s.money;
        while (s.waverunning && play.ticks - start < kWaveTickCap) {
            money = s.money;
            if (!play.step()) break;
        }
        row.lives_lost = lives - s.lives;
        row.kills = play.kills - kills;
        row.cleared = !play.lost && !s.waverunning;
        // The bonus is paid on the tick the wave ends, when nothing is left
        // to kill: that tick's money is the bonus alone.
        if (row.cleared) row.bonus = s.money - money;
        report.rows.push_back(row);
        if (!row.cleared && !play.lost && play.problem.empty())
            report.problem = "wave " + std::to_string(w) + " did not end in " + std::to_string(kWaveTickCap) + " ticks";
    }
    report.lost = play.lost;
    if (report.problem.empty()) report.problem = play.problem;
    return report;
}

std::string balance_summary(const BalanceReport& r) {
    std::string text = "cleared " + std::to_string(r.cleared_defined()) + " of " + std::to_string(r.defined) +
                       " defined waves; ";
    const int last = r.rows.empty() ? 0 : r.rows.back().wave;
    if (!r.problem.empty()) return text + "stopped: " + r.problem;
    if (!r.lost) return text + "still standing after " + std::to_string(last) + " waves";
    if (last <= r.defined) return text + "lost in wave " + std::to_string(last);
    return text + "lost in endless repeat " + std::to_string(last - r.defined) + " (wave " + std::to_string(last) + ")";
}

void print_balance(std::FILE* out, const std::string& dir, const BalanceReport& r) {
    if (!r.loaded) {
        std::fprintf(out, "%s: %s\n('rampartica-level check %s' lists every problem)\n", dir.c_str(), r.problem.c_str(),
                     dir.c_str());
        return;
    }
    std::fprintf(out, "%s\n", dir.c_str());
    std::fprintf(out, "%5s  %-18s %5s %9s %9s %6s %6s %7s %9s %5s %5s %6s\n", "wave", "monster", "count", "health",
                 "total", "path", "money", "turrets", "dmg/tick", "lost", "kills", "bonus");
    for (const WaveRow& w : r.rows) {
        std::string wave = std::to_string(w.wave) + (w.wave > r.defined ? "+" : "");
        std::fprintf(out, "%5s  %-18.18s %5d %9s %9s %6.0f %6d %7d %9.2f %5d %5d %6d\n", wave.c_str(), w.name.c_str(),
                     w.count, compact(w.health).c_str(), compact(w.total()).c_str(), w.path_ticks, w.money, w.turrets,
                     w.defence, w.lives_lost, w.kills, w.bonus);
    }
    std::fprintf(out, "%s\n", balance_summary(r).c_str());
}

// Types that load but make an odd game: empty waves, monsters that die to
// any hit or heal when hit, turrets that never fire, bullets nobody fires,
// and a first wave the player can buy nothing against.
#include "game/sim.h"
#include "level/level_facts.h"

#include <cstdlib>

namespace {

std::string quoted(const char* s) { return std::string("\"") + s + "\""; }

// The line that set a field, else the line that opened the record.
int line_for(const LevelFacts& facts, const char* key, const char* opener, size_t record) {
    int line = facts.line_of(key, static_cast<int>(record));
    return line != 0 ? line : facts.line_of(opener, static_cast<int>(record));
}

}  // namespace

void check_types(const LevelFacts& facts, const Sim& sim, std::vector<Finding>& out) {
    for (size_t i = 0; i < sim.monstertypes.size(); i++) {
        const Sim::Monster& m = sim.monstertypes[i];
        const std::string wave = "wave " + std::to_string(i + 1) + " (" + quoted(m.name) + ")";
        if (m.number <= 0)
            out.push_back({line_for(facts, "MonsterNumber", "NewMonster", i), false,
                           wave + " sends no monsters: MonsterNumber is " + std::to_string(m.number)});
        if (m.health <= 0)
            out.push_back({line_for(facts, "MonsterHealth", "NewMonster", i), false,
                           wave + " has no health: its monsters die to the first hit, whatever it deals"});
    }
    for (const KeyLine* k : facts.all("MonsterImmunity")) {
        size_t comma = k->value.find(',');
        if (comma != std::string::npos && std::atof(k->value.c_str() + comma + 1) < 0)
            out.push_back({k->line, false, "a factor below 0 makes hits heal the monster, or Slow speed it up"});
    }

    std::vector<bool> fired(sim.bullettypes.size(), false);
    int cheapest = -1;
    for (size_t i = 0; i < sim.turrettypes.size(); i++) {
        const Sim::Turret& t = sim.turrettypes[i];
        if (t.bullet >= 0 && t.bullet < static_cast<int>(fired.size())) fired[t.bullet] = true;
        if (cheapest < 0 || t.cost < sim.turrettypes[cheapest].cost) cheapest = static_cast<int>(i);
        if (t.range <= 0)
            out.push_back({line_for(facts, "TurretRange", "NewTurret", i), false,
                           "turret " + quoted(t.name) + " has no range: it never fires"});
        if (t.rate < 0)
            out.push_back({line_for(facts, "TurretRate", "NewTurret", i), false,
                           "TurretRate below 0 acts as 0: a shot every tick"});
    }
    for (size_t b = 0; b < fired.size(); b++)
        if (!fired[b])
            out.push_back({facts.line_of("NewBullet", static_cast<int>(b)), false,
                           "bullet type " + quoted(sim.bullettypes[b].name) + " is fired by no turret"});
    if (cheapest < 0)
        out.push_back({0, false, "no NewTurret block: the player cannot build anything"});
    else if (sim.turrettypes[cheapest].cost > sim.money)
        out.push_back({line_for(facts, "TurretCost", "NewTurret", static_cast<size_t>(cheapest)), false,
                       "the cheapest turret costs " + std::to_string(sim.turrettypes[cheapest].cost) +
                           " but the player starts with " + std::to_string(sim.money) +
                           ": nothing can be bought before the first wave"});
}

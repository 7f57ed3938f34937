// The loader's own warnings and refusals as findings, each with a hint: the
// key or name that was probably meant, or where the missing piece goes.
#include "game/level_keys.h"
#include "game/sim.h"
#include "level/level_facts.h"
#include "level/nearest_name.h"

#include <cstring>

namespace {

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

std::vector<std::string> key_names() {
    std::vector<std::string> names = {"NewBullet", "NewMonster", "NewTurret"};
    for (int i = 0; level_key_name(i) != nullptr; i++) names.push_back(level_key_name(i));
    return names;
}

// A name used before its bullet type is defined, or a near miss of one.
std::string bullet_hint(const LevelFacts& facts, const Sim& sim, const std::string& name, int line) {
    for (const KeyLine* k : facts.all("BulletName"))
        if (k->value == name && k->line > line)
            return ": it is defined below, on line " + std::to_string(k->line) + "; move that bullet type above";
    std::vector<std::string> names;
    for (const Sim::Bullet& b : sim.bullettypes) names.push_back(b.name);
    std::string near = nearest_name(name, names);
    if (!near.empty()) return ": did you mean " + quoted(near) + "? (names must match exactly)";
    return names.empty() ? ": the level defines no bullet type" : "";
}

std::string unknown_line(const std::string& text) {
    std::string word = text.substr(0, text.find('='));
    std::string trimmed = word;
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t')) trimmed.pop_back();
    const std::vector<std::string> names = key_names();
    for (int i = 0; i < 3; i++)
        if (trimmed == names[i] && word == text)
            return quoted(text) + " is not a record line: " + names[i] + " must stand alone, without trailing blanks";
    std::string near = nearest_name(trimmed, names);
    std::string hint = near.empty() ? "no key starts this line" : "did you mean " + near + "? (keys are case-sensitive)";
    return "unknown line " + quoted(text) + ", ignored: " + hint;
}

}  // namespace

void report_loader_problems(const LevelFacts& facts, const Sim& sim, std::vector<Finding>& out) {
    for (const ProblemLine& p : facts.problems) {
        std::string text;
        switch (p.kind) {
        case LevelProblem::LineTooLong:
            text = "line longer than 199 characters, ignored: shorten it";
            break;
        case LevelProblem::NeedsRecord:
            text = quoted(p.text) + " comes before any " + p.subject + ", ignored: add a " + p.subject +
                   " line above it";
            break;
        case LevelProblem::UnknownLine:
            text = unknown_line(p.text);
            break;
        case LevelProblem::UnknownEffect:
            text = "BulletEffect must be \"Slow\" or empty, not " + quoted(p.subject) + "; the line is ignored" +
                   (nearest_name(p.subject, {"Slow"}).empty() ? "" : " (case matters)");
            break;
        case LevelProblem::UnknownImmunity:
            text = "MonsterImmunity names " + quoted(p.subject) +
                   ", which is neither a bullet type above it nor Slow; nothing is added" +
                   bullet_hint(facts, sim, p.subject, p.line);
            break;
        case LevelProblem::UnknownBullet:
            text = "TurretBullet names " + quoted(p.subject) + ", which is no bullet type above it; the turret fires " +
                   (sim.bullettypes.empty() ? std::string("nothing") : quoted(sim.bullettypes[0].name)) +
                   " instead" + bullet_hint(facts, sim, p.subject, p.line);
            break;
        case LevelProblem::Refused:
            out.push_back({p.line, true, p.message});  // an error is a refusal
            continue;
        }
        out.push_back({p.line, false, text});
    }
}

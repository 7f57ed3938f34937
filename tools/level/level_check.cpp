#include "level/level_check.h"

#include "game/sim.h"
#include "level/captured_stdout.h"
#include "level/level_facts.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>

namespace {

const char* const kOpeners[3] = {"NewBullet", "NewMonster", "NewTurret"};
const char* const kProperties[3] = {"Bullet", "Monster", "Turret"};

// Keeps what the loader says about each line; shows nothing.
class Collector final : public LoadProgress {
public:
    // also, when given, hears everything too (the fuzzer's repaints).
    Collector(LevelFacts& facts, LoadProgress* also) : facts_(facts), also_(also) {}

    void report(int progress, const char* message, bool error) override {
        if (also_ != nullptr) also_->report(progress, message, error);
    }

    void line_taken(int line, const char* key, const char* value, char tilechar) override {
        KeyLine k{line, key, value, tilechar, -1};
        // A record-opening line opens the next record of its kind; a
        // property belongs to the last one opened.
        for (int kind = 0; kind < 3; kind++) {
            if (std::strcmp(key, kOpeners[kind]) == 0) k.record = opened_[kind]++;
            else if (std::strncmp(key, kProperties[kind], std::strlen(kProperties[kind])) == 0) k.record = opened_[kind] - 1;
        }
        facts_.keys.push_back(k);
        if (also_ != nullptr) also_->line_taken(line, key, value, tilechar);
    }

    void problem(int line, LevelProblem kind, const char* text, const char* subject, const char* message) override {
        facts_.problems.push_back({line, kind, text ? text : "", subject ? subject : "", message ? message : ""});
        if (also_ != nullptr) also_->problem(line, kind, text, subject, message);
    }

private:
    LevelFacts& facts_;
    LoadProgress* also_;
    int opened_[3] = {0, 0, 0};
};

// The raw file: how many lines it has, and which of them hold a carriage
// return (the loader keeps it as part of the line).
bool scan_file(const std::string& path, int* lines, std::set<int>* returns, std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        *error = std::strerror(errno);
        return false;
    }
    int line = 1, last = EOF;
    for (int c; (c = std::getc(f)) != EOF; last = c) {
        if (c == '\r') returns->insert(line);
        if (c == '\n') line++;
    }
    std::fclose(f);
    *lines = last == '\n' || last == EOF ? line - 1 : line;
    return true;
}

}  // namespace

std::vector<const KeyLine*> LevelFacts::all(const char* key) const {
    std::vector<const KeyLine*> found;
    for (const KeyLine& k : keys)
        if (k.key == key) found.push_back(&k);
    return found;
}

int LevelFacts::line_of(const char* key, int record) const {
    int line = 0;
    for (const KeyLine& k : keys)
        if (k.key == key && k.record == record) line = k.line;
    return line;
}

bool LevelCheck::has_error() const {
    for (const Finding& f : findings)
        if (f.error) return true;
    return false;
}

LevelCheck check_level_dir(const std::string& shown, const std::string& path) {
    Sim sim;
    return check_level_dir(shown, path, sim, nullptr);
}

LevelCheck check_level_dir(const std::string& shown, const std::string& path, Sim& sim, LoadProgress* also) {
    LevelCheck check;
    check.file = shown + "/level.txt";
    LevelFacts facts;
    std::set<int> returns;
    std::string error;
    if (!scan_file(path + "/level.txt", &facts.lines, &returns, &error)) {
        check.findings.push_back({0, true, "cannot open it: " + error});
        return check;
    }

    bool loaded;
    {
        CapturedStdout log;  // the game's log is not the checker's report
        Collector collector(facts, also);
        loaded = sim.load_level(path.c_str(), collector);
    }
    std::vector<Finding>& out = check.findings;
    // A refused level is checked as far as the loader got: every problem in
    // one run.
    report_loader_problems(facts, sim, out);
    if (sim.tileset != nullptr) check_tileset(facts, sim, out);
    if (sim.mapcreated) {
        check_map(facts, sim, out);
        check_path(facts, sim, out);
    }
    check_types(facts, sim, out);

    // Every line of a file with Windows line ends ends in a carriage return,
    // which breaks nearly every line: one finding says so, instead of a
    // cascade of what follows from it.
    if (!returns.empty()) {
        auto follows = [&](const Finding& f) { return f.line == 0 || returns.count(f.line) > 0; };
        out.erase(std::remove_if(out.begin(), out.end(), follows), out.end());
        out.push_back({*returns.begin(), !loaded,
                       "carriage return (CRLF line ends): the game keeps it as part of the line, so record lines, "
                       "names and files stop matching; save level.txt with LF line ends"});
    }
    // In the source tree a level folder holds tiles.txt, from which the
    // build draws tiles.bmp into the run folder's copy of the level.
    for (const KeyLine* t : facts.all("TileSet")) {
        const std::string stem = t->value.substr(0, t->value.rfind('.'));
        if (access((path + "/" + stem + ".txt").c_str(), F_OK) != 0) continue;
        for (Finding& f : out)
            if (f.line == t->line && f.text.rfind("Tile set: cannot open", 0) == 0)
                f.text += "; " + stem + ".txt is here: check the built copy of the level (build/run/levels/...)";
    }
    // A finding about the whole file points at its end, where the missing
    // part would go.
    for (Finding& f : out)
        if (f.line == 0) f.line = std::max(1, facts.lines);
    std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return check;
}

void print_findings(std::FILE* out, const LevelCheck& check) {
    for (const Finding& f : check.findings) {
        const char* kind = f.error ? "error" : "warning";
        if (f.line > 0) std::fprintf(out, "%s:%d: %s: %s\n", check.file.c_str(), f.line, kind, f.text.c_str());
        else std::fprintf(out, "%s: %s: %s\n", check.file.c_str(), kind, f.text.c_str());
    }
}

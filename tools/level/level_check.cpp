#include "level/level_check.h"

#include "game/sim.h"
#include "level/captured_stdout.h"

#include <algorithm>

bool LevelCheck::has_error() const {
    for (const Finding& f : findings)
        if (f.error) return true;
    return false;
}

LevelCheck check_level(const std::string& shown, const std::string& path) {
    LevelCheck check;
    check.file = shown + "/level.txt";
    Sim sim;
    CapturedStdout log;
    if (!sim.load_level(path.c_str())) check.findings.push_back({1, true, "refused: " + log.text()});
    return check;
}

void print_findings(std::FILE* out, const LevelCheck& check) {
    std::vector<Finding> sorted = check.findings;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
    for (const Finding& f : sorted)
        std::fprintf(out, "%s:%d: %s: %s\n", check.file.c_str(), f.line, f.error ? "error" : "warning", f.text.c_str());
}

// `rampartica-level check`: every problem of a level in one run, each on its
// line of level.txt, in the form compilers use so editors can jump to it.
#pragma once

#include "game/load_progress.h"
#include "game/sim.h"

#include <cstdio>
#include <string>
#include <vector>

struct Finding {
    int line = 0;        // in level.txt, from 1
    bool error = false;  // the game refuses the level; otherwise a warning
    std::string text;
};

struct LevelCheck {
    std::string file;    // level.txt as named in the findings
    std::vector<Finding> findings;

    bool has_error() const;
};

// Loads the level at path (the directory) headlessly, as the game would,
// and runs every check on it; shown is the directory as the user named it.
// The game's pictures must be in the working folder.
LevelCheck check_level_dir(const std::string& shown, const std::string& path);
// The same into a game the caller made (fresh, its bar set), with also, when
// given, hearing the loader too: one load serves the game's own listener and
// the checks.
LevelCheck check_level_dir(const std::string& shown, const std::string& path, Sim& sim, LoadProgress* also);

// "FILE:LINE: error: TEXT" or "...: warning: ...", one a line, in line order.
void print_findings(std::FILE* out, const LevelCheck& check);

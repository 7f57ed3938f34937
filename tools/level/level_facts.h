// What the checker learns about one level while the game's loader reads it,
// and the passes that turn it into findings.
#pragma once

#include "game/load_progress.h"
#include "level/level_check.h"

#include <string>
#include <vector>

class Sim;

struct KeyLine {
    int line = 0;
    std::string key;     // as the loader matched it ("Row", "NewMonster", ...)
    std::string value;
    char tilechar = 0;   // of a Tile line
    int record = -1;     // the record of its kind the line belongs to (or opens)
};

struct ProblemLine {
    int line = 0;
    LevelProblem kind = LevelProblem::UnknownLine;
    std::string text, subject, message;
};

struct LevelFacts {
    std::vector<KeyLine> keys;         // in file order
    std::vector<ProblemLine> problems; // in file order, the refusal last
    int lines = 0;                     // physical lines of the file

    // Key lines of this key, in file order.
    std::vector<const KeyLine*> all(const char* key) const;
    // The last line of this key in record number `record`, or 0.
    int line_of(const char* key, int record) const;
};

// Findings for what the loader reported, each with a hint to fix it.
void report_loader_problems(const LevelFacts& facts, const Sim& sim, std::vector<Finding>& out);

// The checks of a loaded level the loader does not make, all warnings.
void check_tileset(const LevelFacts& facts, const Sim& sim, std::vector<Finding>& out);
void check_map(const LevelFacts& facts, const Sim& sim, std::vector<Finding>& out);
void check_path(const LevelFacts& facts, Sim& sim, std::vector<Finding>& out);
void check_types(const LevelFacts& facts, const Sim& sim, std::vector<Finding>& out);

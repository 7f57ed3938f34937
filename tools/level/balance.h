// The balance report: a level played headlessly by the scripted player, wave
// by wave, through the defined waves and on into the endless repeats.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct WaveRow {
    int wave = 0;             // from 1, the endless repeats counted on
    std::string name;         // the monster type
    int count = 0;
    double health = 0.0;      // of each monster, as the wave starts
    double path_ticks = 0.0;  // the whole path at the type's speed
    int money = 0;            // before the player built for this wave
    int turrets = 0;          // standing when the wave starts
    double defence = 0.0;     // damage per tick of those turrets against this type
    int lives_lost = 0;
    int kills = 0;
    int bonus = 0;
    bool cleared = false;

    double total() const { return health * count; }
    // Health arriving per tick of walking, to set against the defence.
    double threat() const { return path_ticks > 0 ? total() / path_ticks : 0.0; }
};

struct BalanceReport {
    bool loaded = false;
    std::string problem;  // why the level could not be played through
    int defined = 0;      // waves the level defines
    std::vector<WaveRow> rows;
    bool lost = false;    // in the last row's wave

    int cleared_defined() const;
};

// Plays the level in dir (a level directory's path) until the game is lost
// or max_waves waves were played. The game's pictures must be in the
// working folder, as the game itself expects.
BalanceReport run_balance(const std::string& dir, int max_waves = 50);

// The table, one row per wave, and the summary line.
void print_balance(std::FILE* out, const std::string& dir, const BalanceReport& report);

// The summary alone: waves cleared, and where the game was lost.
std::string balance_summary(const BalanceReport& report);

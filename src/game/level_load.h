// The level loader's working state while one level.txt is read, shared by
// the loader (level_loader.cpp), the key handlers (level_keys.cpp), the map
// painting (level_map.cpp) and the final checks (level_checks.cpp).
#pragma once

#include "game/level_lines.h"
#include "game/load_progress.h"
#include "game/sim.h"
#include "platform/log.h"

#include <string>
#include <vector>

struct LevelLoad {
    Sim& sim;
    LoadProgress& progressview;
    const char* dir;
    std::string file;               // dir/level.txt, as named in messages
    char line[kLevelLineMax + 1] = {};
    int lineno = 0;
    char tilechar = 0;              // the character at position 4 of the line
    int progress = 0;
    int rows = 0;                   // Row lines read so far, drawn or not
    bool mapfailed = false;         // the map could not be made: rows are skipped
    int tilesetline = 0;            // the last TileSet line, 0 if none
    int levelwidth = 0;             // as last read, in cells
    int levelheight = 0;
    int widthline = 0;              // the line that set them, 0 if none
    int heightline = 0;
    int mapcolumns = 0;             // the size the map was made with
    int maprows = 0;
    std::vector<Sim::Tile> tiles;   // map characters, first definition wins
    // The line of each waypoint and of each record-opening line, for messages.
    std::vector<int> waypointlines, bulletlines, monsterlines, turretlines;

    bool refused = false;
    int refusedline = 0;            // 0: the reason concerns the whole file
    char reason[64] = {};           // short enough for the loading screen

    LevelLoad(Sim& s, LoadProgress& view, const char* d)
        : sim(s), progressview(view), dir(d), file(std::string(d) + "/level.txt") {}
};

// One line of the file, already read into load.line. Reading goes on after
// a refusal, so that a listener hears about every line.
void handle_level_line(LevelLoad& load);

// Marks the level as refused (the first reason is the one the game shows)
// and tells the listener; always returns false, for `return refuse(...)`.
bool refuse(LevelLoad& load, int line, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Logs a warning about the current line and tells the listener.
void warn(LevelLoad& load, LevelProblem kind, const char* subject, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

// One more counted key line, shown on the loading screen; Row and Waypoint
// stop counting at 100.
void count_progress(LevelLoad& load, bool capped);

// The map surface, made for the first Row line; false when refused.
bool create_map(LevelLoad& load);
// The Row and TileSet keys, which paint the map.
bool draw_row(LevelLoad& load, char* value);
bool handle_tileset(LevelLoad& load, const char* value);

// The red frame and the path with its two markers, once the file is read.
void draw_frame_and_path(LevelLoad& load);

// What a level needs to be played, checked after the last line; false when
// the level is refused.
bool check_level(LevelLoad& load);

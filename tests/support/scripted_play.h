// Plays a bundled level without a player: loads it as the game does, then
// clicks sidebar icons and map tiles through the cursor, starts waves and
// steps, drawing every frame and checking the state after every tick, using
// only what the game's own loop uses of Sim.
#pragma once

#include "game/sim.h"

#include <functional>
#include <string>
#include <vector>

// Everything that must hold between two ticks, whatever a script does: ""
// when all is well, else what is broken.
std::string broken_invariant(const Sim& s);

struct ScriptedPlay {
    struct Cell { int x, y; };

    // Runs in the run directory; level is a directory name under levels/.
    // `repainted`, when given, is called after each repaint of the loading screen.
    explicit ScriptedPlay(const std::string& level, const std::function<void()>& repainted = nullptr);
    ~ScriptedPlay();

    Sim sim;
    bool loaded = false, lost = false;
    // Why the level did not load, a click that built off its cell, or the
    // first broken invariant with its tick; any of them stops the run.
    std::string problem;
    long ticks = 0;
    int cleared = 0, kills = 0;
    std::vector<Cell> cells;  // the buildable cells as loaded, nearest to the path first

    void point(int x, int y);   // moves the cursor there with relative moves
    void press(int code);       // draws a frame, then sends one click code
    bool click_icon(int type);  // true when the type got selected
    // Scrolls the cell into view if need be and clicks it; true when a turret was built there.
    bool click_cell(Cell cell);
    bool start_wave();
    bool step();  // one tick and its frame; false once the game is lost or something is broken
    // While something is affordable, picks the strongest affordable type
    // (code 2) and places it on the free cell nearest to the path.
    void build_strongest();
    // "tick T wave W cleared C lives L money M kills K alive A turrets N bullets B"
    std::string summary() const;

private:
    bool stopped() const { return !loaded || lost || !problem.empty(); }
    std::vector<char> unclickable_;  // per cell: a click there built nothing
};

// Plays a level without a player: loads it as the game does, then clicks
// sidebar icons and map tiles through the cursor, starts waves and steps,
// using only what the game's own loop uses of Sim. The tests have it draw
// every frame and check the state after every tick; the balance report
// only needs the frames that clicks read.
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

    // Runs where the game's pictures are; dir is the level's directory
    // ("levels/Meadow"). The game's log is held aside: it shows up only as
    // the reason of a refusal. `repainted`, when given, is called after each
    // repaint of the loading screen.
    explicit ScriptedPlay(const std::string& dir, const std::function<void()>& repainted = nullptr);
    ~ScriptedPlay();

    Sim sim;
    bool loaded = false, lost = false;
    // Draw every frame and check every invariant after every tick (a tenth
    // of the speed); when off, frames are drawn only before clicks.
    bool thorough = true;
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

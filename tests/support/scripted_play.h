// Plays a bundled level without a player: loads it as the game does, then
// clicks sidebar icons and map tiles through the cursor, starts waves and
// steps, using only what the game's own frame loop uses of Sim.
#pragma once

#include "game/sim.h"

#include <functional>
#include <string>
#include <vector>

struct ScriptedPlay {
    struct Cell { int x, y; };

    // Runs in the run directory; level is a directory name under levels/.
    explicit ScriptedPlay(const std::string& level);
    ~ScriptedPlay();

    Sim sim;
    bool loaded = false, lost = false;
    std::string problem;  // why the level did not load, or the first complaint with its tick
    long ticks = 0;
    int cleared = 0, kills = 0;
    // Looked at after every tick: "" when all is well; a complaint stops the run.
    std::function<std::string(const Sim&)> check;
    // Draw the frame and the message box after every tick, as the game does;
    // otherwise a frame is drawn only before clicks, all that they depend on.
    bool render_every_tick = false;
    std::vector<Cell> cells;  // the buildable cells as loaded, nearest to the path first

    void point(int x, int y);   // moves the cursor there with relative moves
    void press(int code);       // draws a frame, then sends one click code
    bool click_icon(int type);  // true when the type got selected
    // Scrolls the cell into view if need be and clicks it; true when a turret was built.
    bool click_cell(Cell cell);
    bool start_wave();
    bool step();  // one tick; false once the game is lost or a check complained
    // Steps until the running wave is over; false as step, or when max_ticks pass first.
    bool finish_wave(long max_ticks, const std::function<void()>& on_tick = {});
    // Builds the selected type on the free cell nearest to the path.
    bool place_near_path();
    // While something is affordable, picks the strongest affordable type
    // (code 2) and places it near the path; returns how many were built.
    int build_strongest();
    // "tick T wave W cleared C lives L money M kills K alive A turrets N bullets B"
    std::string summary() const;

private:
    bool stopped() const { return !loaded || lost || !problem.empty(); }
    bool visible_spot(Cell cell, int* sx, int* sy) const;
    std::vector<char> unclickable_;  // per cell: a click there built nothing
};

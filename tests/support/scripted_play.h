// Plays a bundled level without a player: loads it as the game does, then
// clicks sidebar icons and map tiles through the cursor, starts waves and
// steps, using only what the game's own frame loop uses of Sim.
#pragma once

#include "game/sim.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ScriptedPlay {
public:
    struct Cell {
        int x;
        int y;
    };

    // Looked at after every completed tick: "" when all is well, otherwise
    // what is wrong. The first complaint stops the run.
    using Check = std::function<std::string(const Sim&)>;

    // Runs in the run directory; level is a directory name under levels/.
    explicit ScriptedPlay(const std::string& level);
    ~ScriptedPlay();
    ScriptedPlay(const ScriptedPlay&) = delete;
    ScriptedPlay& operator=(const ScriptedPlay&) = delete;

    Sim& sim() { return *sim_; }
    const Sim& sim() const { return *sim_; }
    bool loaded() const { return loaded_; }
    bool lost() const { return lost_; }
    // Why the level did not load, or the first broken check with its tick.
    const std::string& problem() const { return problem_; }
    long ticks() const { return ticks_; }
    int waves_cleared() const { return cleared_; }
    int kills() const { return kills_; }

    void check_every_tick(Check check) { check_ = std::move(check); }
    // Draw a whole frame after every tick, as the game does; otherwise a
    // frame is drawn only before clicks, which is all the clicks depend on.
    void render_every_tick(bool on) { render_always_ = on; }

    // One frame's drawing: settles the map's screen origin for the clicks.
    void frame();
    // Moves the cursor to a screen position with relative moves.
    void point(int x, int y);
    // Draws a frame, then sends one click code.
    void press(int code);
    // Clicks the sidebar icon of a turret type; true when it got selected.
    bool click_icon(int type);
    // Scrolls the cell into view if need be and clicks it; true when a
    // turret was built there.
    bool click_cell(Cell cell);
    bool start_wave();

    // One tick; false once the game is lost or a check complained.
    bool step();
    // Steps until the running wave is over; false as step, or when
    // max_ticks pass first. on_tick (if any) runs after every tick.
    bool finish_wave(long max_ticks, const std::function<void()>& on_tick = {});

    // The level's buildable cells as loaded, nearest to the path first.
    const std::vector<Cell>& cells_near_path() const { return near_path_; }
    // Builds the selected type on the free cell nearest to the path; false
    // when nothing is selected or no cell took it.
    bool place_near_path();
    // The simple strategy's shopping: while something is affordable, pick
    // the strongest affordable type (code 2) and put it on the free cell
    // nearest to the path. Returns how many turrets were built.
    int build_strongest();

    // "tick T wave W cleared C lives L money M kills K alive A turrets N bullets B"
    std::string summary() const;

private:
    bool stopped() const { return lost_ || !problem_.empty(); }
    bool visible_spot(Cell cell, int* sx, int* sy) const;
    void rank_cells();

    std::unique_ptr<Sim> sim_;
    bool loaded_ = false;
    bool lost_ = false;
    std::string problem_;
    long ticks_ = 0;
    int cleared_ = 0;
    int kills_ = 0;
    bool render_always_ = false;
    Check check_;
    std::vector<Cell> near_path_;
    std::vector<char> unclickable_;   // per candidate: a click there built nothing
};

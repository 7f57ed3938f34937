// The in-game loop: game start, one frame after another, the buttons and
// the cursor's acceleration.
#pragma once

#include <SDL.h>

struct GameLoop {
    bool sidebartoggle = false;  // what the next R press asks of the sidebar
    bool backtomenu = false;     // the loop ends at the top of the next frame
    char levelpath[300] = {};
};

// Makes a fresh game in `game` and loads the level directory levels/<name>.
// False (with backtomenu set) when the level does not load.
bool ingame_start(GameLoop& loop, const char* levelname);

// One frame: step, draw, show, game over when lost, pacing, events, cursor.
void ingame_frame(GameLoop& loop);

void ingame_handle_event(GameLoop& loop, const SDL_Event& event);

// The cursor moves by the first held direction, accelerating while one is
// held and stopping dead when none is.
void cursor_step();

// Plays the level until the game is over or left; returns to the menu.
void run_game(const char* levelname);

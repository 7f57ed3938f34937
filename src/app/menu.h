// The level menu and the help screen it leads to.
#pragma once

#include <SDL.h>

// The help marker in `selection`: the player asked for the help screen.
const int HELP_CHOSEN = -2;

// The level directories found below the level directory, as the listing
// gives them.
struct LevelList {
    char levelnames[100][100];  // at most 99 characters each
    int levelcount = 0;
};

// Reads the names in dir afresh: "." and ".." are skipped, at most 100 are
// kept, unsorted. A directory that cannot be opened holds no levels; a name
// too long for its field is left out with a message.
void scan_levels(LevelList& list, const char* dir);

struct Menu {
    LevelList list;
    int selection = 0;   // highlighted row, or HELP_CHOSEN
    bool chosen = false; // the menu ends after the current pass
};

// A fresh scan of "levels" with the first row highlighted.
void menu_enter(Menu& menu);
void menu_draw(const Menu& menu);
void menu_handle_event(Menu& menu, const SDL_Event& event);
// One pass: draw, show, pace, then all pending events. With no level at all
// it shows the notice for 2 s and ends the process.
void menu_pass(Menu& menu);
// Passes until a choice is made; returns the chosen row or HELP_CHOSEN.
int run_menu(Menu& menu);

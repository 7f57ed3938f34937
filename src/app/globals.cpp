#include "app/globals.h"

#include "game/sim.h"
#include "view/messagebox.h"

SDL_Surface* screen = nullptr;
int width = 320;
int height = 240;
SDL_Surface* mainmenu = nullptr;
SDL_Surface* letters = nullptr;
SDL_Surface* letters_black = nullptr;
double* sinlookup = nullptr;
int sinvalues = 0;
bool gpbuttons[20] = {};
double cursorspeed = 0.0;
Sim* game = nullptr;
int lastticks = 0;
int balancer = 0;

// Constructed after the standard streams, destroyed at normal process exit,
// which only happens when the console menu could not be started.
Messagebox box;

#include "app/globals.h"

SDL_Surface* mainmenu = nullptr;
bool gpbuttons[20] = {};
double cursorspeed = 0.0;
Sim* game = nullptr;
int lastticks = 0;
int balancer = 0;

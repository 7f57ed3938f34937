// The application shell's process-wide state. The screen, the font strips,
// the sine table and the message box belong to the floors that use them
// (gfx/screen.h, gfx/font.h, gfx/sine.h, game/messagebox.h).
#pragma once

#include <SDL.h>

class Sim;

extern SDL_Surface* mainmenu;     // level menu background
extern bool gpbuttons[20];        // which console buttons are held
extern double cursorspeed;        // cursor speed in pixels per frame
extern Sim* game;                 // the game being played (kept after it ends)
extern int lastticks;             // tick count at the end of the previous paced frame
extern int balancer;              // frame time still owed, in milliseconds

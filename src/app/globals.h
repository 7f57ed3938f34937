// The process-wide state shared by the shell, the game and the drawing code.
#pragma once

#include <SDL.h>

class Sim;
class Messagebox;

extern SDL_Surface* screen;       // the 320x240x16 video surface every routine draws into
extern int width;                 // screen width used by all layout arithmetic
extern int height;                // screen height used by all layout arithmetic
extern SDL_Surface* mainmenu;     // level menu background
extern SDL_Surface* letters;      // white glyph strip, loaded by the first text drawn
extern SDL_Surface* letters_black;// shadow glyph strip, loaded with it
extern double* sinlookup;         // sine table of whole degrees, built at start-up
extern int sinvalues;             // entries in sinlookup
extern bool gpbuttons[20];        // which console buttons are held
extern double cursorspeed;        // cursor speed in pixels per frame
extern Sim* game;                 // the game being played (kept after it ends)
extern int lastticks;             // tick count at the end of the previous paced frame
extern int balancer;              // frame time still owed, in milliseconds
extern Messagebox box;            // the message ticker of the game screen

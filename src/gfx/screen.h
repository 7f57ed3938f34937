// The video surface that every drawing routine draws into, and its size.
#pragma once

#include <SDL.h>

// The console's screen: 320x240 at 16 bits per pixel. These are the numbers;
// `width` and `height` below hold them for the layout arithmetic.
const int kScreenWidth = 320;
const int kScreenHeight = 240;
const int kScreenDepth = 16;

extern SDL_Surface* screen;  // opened once at start-up
extern int width;            // screen width used by all layout arithmetic
extern int height;           // screen height used by all layout arithmetic

// Shows the whole screen: what every finished frame does.
void update_screen();

// A copy of the picture on the screen, for the screens that slide or melt
// it away.
#pragma once

#include <SDL.h>

// A display-format surface of the screen's size holding what the screen
// shows now; null when SDL cannot make one. The caller frees it.
SDL_Surface* screen_snapshot();

#include "platform/platform.h"

// On the console, joystick 0 is the buttons themselves: nothing to translate.
int platform_poll_event(SDL_Event* event) { return SDL_PollEvent(event); }

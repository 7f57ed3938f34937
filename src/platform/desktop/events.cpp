#include "platform/platform.h"

int platform_poll_event(SDL_Event* event) { return SDL_PollEvent(event); }

#include "platform/clock.h"

namespace {
GameClock current = {SDL_GetTicks, SDL_Delay};
}

Uint32 clock_ticks() { return current.ticks(); }

void clock_delay(Uint32 ms) { current.delay(ms); }

GameClock clock_install(GameClock clock) {
    GameClock old = current;
    current = clock;
    return old;
}

// The game's clock and waits. Everything that sleeps or reads the time goes
// through here, so tests, fuzzers and tools can run the game's pauses
// instantly by installing their own clock.
#pragma once

#include <SDL.h>

struct GameClock {
    Uint32 (*ticks)();
    void (*delay)(Uint32 ms);
};

Uint32 clock_ticks();
void clock_delay(Uint32 ms);

// Installs another clock; returns the one it replaces.
GameClock clock_install(GameClock clock);

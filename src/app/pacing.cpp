#include "app/pacing.h"

#include "app/globals.h"
#include "platform/clock.h"

// The balance is what is still owed: a short frame adds to it, a long one
// takes from it. Sleeping only once more than 10 ms are owed keeps the
// delays coarse enough for the console's scheduler, and reading the clock
// after the sleep keeps the sleep itself from being charged to the next
// frame. Everything is int so a long pause turns into a plain debt.
void frame_pacing(int target_ms) {
    balancer += lastticks - static_cast<int>(clock_ticks()) + target_ms;
    if (balancer > 10) {
        clock_delay(static_cast<Uint32>(balancer));
        balancer = 0;
    }
    lastticks = static_cast<int>(clock_ticks());
}

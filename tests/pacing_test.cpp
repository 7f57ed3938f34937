// Frame pacing against the fake clock.
#include "app/globals.h"
#include "app/pacing.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace {

using Delays = std::vector<Uint32>;

// Frames whose work took the given times, each paced to 33 ms from a
// balance of 0; returns the sleeps asked for.
Delays paced(const Delays& work) {
    test_clock_reset();
    balancer = lastticks = 0;
    for (Uint32 ms : work) test_clock_advance(ms), frame_pacing(33);
    return test_delays();
}

TEST(PacingTest, SurplusAndDebtCarryOverAndOnlyMoreThanTenOwedMillisecondsAreSlept) {
    EXPECT_EQ(Delays{}, paced({25}));
    EXPECT_EQ(8, balancer);
    EXPECT_EQ(Delays{16}, paced({25, 25}));
    EXPECT_EQ(0, balancer);
    EXPECT_EQ(66, lastticks) << "read after the sleep, so the sleep is not charged again";
    EXPECT_EQ(Delays{13}, paced({20}));
    EXPECT_EQ(Delays{}, paced({23})) << "exactly 10 owed is not slept yet";
    Delays work(24, 25);
    work[0] = 200;  // a long frame owes -167, then 8 more each frame: above 10 only on the last
    EXPECT_EQ(Delays{17}, paced(work));
}

}  // namespace

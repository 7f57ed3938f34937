// Frame pacing against the fake clock.
#include "app/globals.h"
#include "app/pacing.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class PacingTest : public ::testing::Test {
protected:
    void SetUp() override {
        test_clock_reset();
        balancer = 0;
        lastticks = 0;
    }
    // A frame whose work took ms, then its pacing.
    void frame(Uint32 ms, int target = 33) {
        test_clock_advance(ms);
        frame_pacing(target);
    }
};

TEST_F(PacingTest, ShortFramesBankTheirSurplusUntilMoreThanTenMillisecondsAreOwed) {
    frame(25);
    EXPECT_EQ(8, balancer);
    EXPECT_TRUE(test_delays().empty());
    EXPECT_EQ(25, lastticks);
    frame(25);
    EXPECT_EQ((std::vector<Uint32>{16}), test_delays());
    EXPECT_EQ(0, balancer);
    EXPECT_EQ(66, lastticks) << "read after the sleep, so the sleep is not charged again";
}

TEST_F(PacingTest, SleepsTheWholeBalanceOnceItPassesTen) {
    frame(20);
    EXPECT_EQ((std::vector<Uint32>{13}), test_delays());
    EXPECT_EQ(0, balancer);

    test_clock_reset(lastticks);
    frame(23);  // exactly 10 owed: not yet
    EXPECT_TRUE(test_delays().empty());
    EXPECT_EQ(10, balancer);
    frame(32);  // 11 owed
    EXPECT_EQ((std::vector<Uint32>{11}), test_delays());
}

TEST_F(PacingTest, LongFrameIsAnOwedDebtWorkedOffWithoutDelays) {
    frame(200);
    EXPECT_EQ(-167, balancer);
    int frames = 0;
    while (test_delays().empty() && frames < 100) {
        frame(25);
        frames++;
    }
    // -167 + 8 per frame passes 10 on the 23rd frame, at 17.
    EXPECT_EQ(23, frames);
    EXPECT_EQ((std::vector<Uint32>{17}), test_delays());
}

TEST_F(PacingTest, HelpScreenTargetOfOneHundred) {
    frame(0, 100);
    EXPECT_EQ((std::vector<Uint32>{100}), test_delays());
    frame(60, 100);
    EXPECT_EQ((std::vector<Uint32>{100, 40}), test_delays());
}

}  // namespace

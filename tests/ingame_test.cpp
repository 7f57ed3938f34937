// The in-game loop: game start, the frame, the buttons, the cursor, and the
// frame pacing it shares with the menu and the help screen.
#include "app/globals.h"
#include "app/ingame.h"
#include "app/pacing.h"
#include "gfx/image.h"
#include "gfx/pixels.h"
#include "gfx/screen.h"
#include "platform/platform.h"
#include "support/sim_builder.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using Delays = std::vector<Uint32>;

void push(int button, Uint8 type = SDL_JOYBUTTONDOWN, int joystick = 0) {
    SDL_Event e{};
    e.jbutton = {type, static_cast<Uint8>(joystick), static_cast<Uint8>(button), 0};
    SDL_PushEvent(&e);
}
int pending_events() { int n = 0; for (SDL_Event e; platform_poll_event(&e);) n++; return n; }

// Frames whose work took the given times, each paced to 33 ms from a
// balance of 0; returns the sleeps asked for.
Delays paced(const Delays& work) {
    test_clock_reset();
    balancer = lastticks = 0;
    for (Uint32 ms : work) test_clock_advance(ms), frame_pacing(33);
    return test_delays();
}

TEST(PacingTest, SurplusAndDebtCarryOverAndOnlyMoreThanTenOwedMillisecondsAreSlept) {
    EXPECT_EQ(Delays{11}, paced({22}));
    EXPECT_EQ(Delays{}, paced({23})) << "exactly 10 owed is not slept yet";
    // A long frame's debt of 27 is paid off by 8 a frame before 13 are slept; what was
    // slept is neither owed again nor charged to the next frame, so 16 follow two frames later.
    EXPECT_EQ((Delays{13, 16}), paced({60, 25, 25, 25, 25, 25, 25, 25}));
}

struct IngameTest : ::testing::Test {
    GameLoop loop;
    void SetUp() override {
        pending_events();
        ASSERT_TRUE(ingame_start(loop, "Meadow"));  // a bundled level, named as the menu hands it over
        game->cursorx = game->cursory = 150;
        cursorspeed = 0.0;
        test_clock_reset();
        lastticks = balancer = 0;
    }
    std::pair<int, int> move() {  // the cursor's move in one cursor step
        int x = game->cursorx, y = game->cursory;
        cursor_step();
        return {game->cursorx - x, game->cursory - y};
    }
};

TEST_F(IngameTest, CursorAcceleratesToSevenStraightAndFourDiagonallyAndFollowsThePriorityOrder) {
    gpbuttons[BUTTON_RIGHT] = true;
    for (int d : {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 7}) EXPECT_EQ(std::make_pair(d, 0), move());
    gpbuttons[BUTTON_RIGHT] = false;
    move();  // one step without a direction stops it dead: the next direction starts from rest
    gpbuttons[BUTTON_UPLEFT] = true;
    for (int d : {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 4}) EXPECT_EQ(std::make_pair(-d, -d), move());
    // All eight held, then the winner let go each time: each beats all after it.
    const std::pair<int, int> at_speed_two[8] = {{0, -2}, {-1, -1}, {-2, 0}, {-1, 1}, {0, 2}, {1, 1}, {2, 0}, {1, -1}};
    for (int b = 0; b < 8; b++) gpbuttons[b] = true;
    for (int b : {0, 7, 6, 5, 4, 3, 2, 1}) {
        cursorspeed = 1.5;
        EXPECT_EQ(at_speed_two[b], move()) << "button " << b << " and those after it held";
        gpbuttons[b] = false;
    }
    game->addcursor(INT_MAX, INT_MIN);  // it can stand one pixel past the right and bottom edges
    EXPECT_EQ(std::make_pair(320, 0), std::make_pair(game->cursorx, game->cursory));
}

// Buttons from 20 up have no flag and joystick 1 is not the console's: both
// are ignored, and nothing is written past the flags.
TEST_F(IngameTest, RTogglesOncePerPressStartLeavesOnlyWithSelectAndOtherButtonsDoNothing) {
    for (int b : {int(BUTTON_R), 20, 99, 255}) push(b);
    push(BUTTON_R, SDL_JOYBUTTONUP);
    push(BUTTON_START);
    push(BUTTON_Y, SDL_JOYBUTTONDOWN, 1);
    ingame_frame(loop);
    EXPECT_TRUE(game->sidebarmove == -1 && !gpbuttons[BUTTON_R]) << "R pressed and released between frames";
    EXPECT_FALSE(loop.backtomenu || game->waverunning) << "START alone does nothing, nor Y of joystick 1";
    push(BUTTON_SELECT);
    ingame_frame(loop);
    EXPECT_TRUE(loop.backtomenu);
    ingame_start(loop, "Meadow");  // a new game starts with the sidebar open: R shuts it, R again opens it
    for (int i = 0; i < 2; i++) push(BUTTON_R);
    ingame_frame(loop);
    EXPECT_EQ(1, game->sidebarmove);
    EXPECT_EXIT((push(0, SDL_QUIT), ingame_frame(loop)), ::testing::ExitedWithCode(0), "");
}

TEST_F(IngameTest, GameStartDropsOnePendingEventButNotAWindowCloseAndAFailedLoadDropsNone) {
    for (int b : {BUTTON_A, BUTTON_X}) push(b, SDL_JOYBUTTONUP);
    ingame_start(loop, "Meadow");
    EXPECT_EQ(1, pending_events());
    // A close of the window is never the event dropped: it ends the game.
    EXPECT_EXIT((push(0, SDL_QUIT), ingame_start(loop, "Meadow")), ::testing::ExitedWithCode(0), "");
    push(BUTTON_A, SDL_JOYBUTTONUP);
    testing::internal::CaptureStdout();
    run_game("NoSuchLevel");  // returns at once
    EXPECT_EQ(0u, testing::internal::GetCapturedStdout().find("debuggiversio!!!\n"));
    EXPECT_EQ(1, pending_events());
}

TEST_F(IngameTest, LostGameMeltsIntoTheGameOverPictureAndHoldsItTwoSeconds) {
    const Sim::Waypoint end = game->waypoints.back();  // a monster arriving at the end of the path
    add_monster(*game, 16 * end.x, 16 * end.y, 0, 20, 1.0, game->waypoints.size() - 1);
    game->lives = 0;  // with no life left to lose
    ingame_frame(loop);
    EXPECT_TRUE(loop.backtomenu);
    const Delays& d = test_delays();
    ASSERT_GE(d.size(), 81u);  // at most 3 pixels a step for 240 pixels
    EXPECT_EQ(2000u, d.back());
    for (size_t i = 0; i + 1 < d.size(); i++) ASSERT_EQ(10u, d[i]) << "step " << i;
    SDL_Surface* over = load_image("img/gameover.bmp");
    // Every column has slid off the screen.
    for (int i = 0; i < 76800; i++) ASSERT_EQ(getpixel(over, i % 320, i / 320), getpixel(screen, i % 320, i / 320)) << i;
    SDL_FreeSurface(over);
}

}  // namespace

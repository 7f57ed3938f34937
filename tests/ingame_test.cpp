// The in-game loop: game start, the frame, the buttons and the cursor.
#include "app/globals.h"
#include "app/ingame.h"
#include "gfx/image.h"
#include "platform/platform.h"
#include "support/sim_builder.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace {

SDL_Event button(Uint8 type, int number, int which = 0) {
    SDL_Event e{};
    e.jbutton = {type, static_cast<Uint8>(which), static_cast<Uint8>(number), 0};
    return e;
}
void push(SDL_Event e) { SDL_PushEvent(&e); }
int pending_events() {
    int n = 0;
    for (SDL_Event e; platform_poll_event(&e);) n++;
    return n;
}

class IngameTest : public ::testing::Test {
protected:
    // A 10x3 level with a path along row 1, one monster type and no tile set
    // (nothing here looks at the tiles), named relative to levels/ as the
    // menu hands it over.
    TempDir dir{"ingame"};
    std::string name = "../.." + dir.path.substr(std::string(RAMPARTICA_BINARY_DIR).size()) + "/Tiny";
    GameLoop loop;

    void SetUp() override {
        dir.write("Tiny/level.txt", "Tile#=2,0,0\nLevelWidth=10\nLevelHeight=3\nRow=..........\nRow=##########\n"
                  "Row=..........\nWaypoint=0,1\nWaypoint=9,1\nNewMonster\nMonsterSpeed=1\nMonsterHealth=20\n");
        pending_events();
        start();
        game->cursorx = game->cursory = 150;
        cursorspeed = 0.0;
        test_clock_reset();
        lastticks = balancer = 0;
    }
    std::string start() {
        testing::internal::CaptureStdout();
        bool loaded = ingame_start(loop, name.c_str());
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(loaded) << out;
        return out;
    }
    std::pair<int, int> move() {  // the cursor's move in one cursor step
        int x = game->cursorx, y = game->cursory;
        cursor_step();
        return {game->cursorx - x, game->cursory - y};
    }
};

TEST_F(IngameTest, HeldDirectionAcceleratesToSevenStraightAndFourDiagonally) {
    gpbuttons[BUTTON_RIGHT] = true;
    for (int d : {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 7}) EXPECT_EQ(std::make_pair(d, 0), move());
    gpbuttons[BUTTON_RIGHT] = false;
    move();
    EXPECT_DOUBLE_EQ(0.0, cursorspeed) << "one frame without a direction stops the cursor dead";
    gpbuttons[BUTTON_UPLEFT] = true;
    for (int d : {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 4}) EXPECT_EQ(std::make_pair(-d, -d), move());
}

TEST_F(IngameTest, EachDirectionBeatsAllAfterItInThePriorityOrder) {
    const int order[8] = {0, 7, 6, 5, 4, 3, 2, 1};
    const std::pair<int, int> at_speed_two[8] = {{0, -2}, {-1, -1}, {-2, 0}, {-1, 1}, {0, 2}, {1, 1}, {2, 0}, {1, -1}};
    for (int k = 0; k < 8; k++) {
        for (int i = 0; i < 8; i++) gpbuttons[order[i]] = i >= k;
        cursorspeed = 1.5;
        EXPECT_EQ(at_speed_two[order[k]], move()) << "button " << order[k] << " and those after it held";
    }
}

TEST_F(IngameTest, StartAndSelectHeldTogetherLeaveWithoutGameOverOrCursorStep) {
    push(button(SDL_JOYBUTTONDOWN, BUTTON_START));
    ingame_frame(loop);
    EXPECT_FALSE(loop.backtomenu) << "START alone does nothing";
    push(button(SDL_JOYBUTTONDOWN, BUTTON_SELECT));
    push(button(SDL_JOYBUTTONDOWN, BUTTON_RIGHT));
    cursorspeed = 3.0;
    ingame_frame(loop);
    EXPECT_TRUE(loop.backtomenu);
    EXPECT_DOUBLE_EQ(3.0, cursorspeed) << "no cursor step";
    for (Uint32 d : test_delays()) EXPECT_LT(d, 2000u) << "no game-over screen";
}

TEST_F(IngameTest, RPressedAndReleasedBetweenFramesTogglesOnceAndEveryGameStartsShutting) {
    push(button(SDL_JOYBUTTONDOWN, BUTTON_R));
    push(button(SDL_JOYBUTTONUP, BUTTON_R));
    ingame_frame(loop);
    EXPECT_TRUE(game->sidebarmove == -1 && !gpbuttons[BUTTON_R]);
    start();  // a new game starts with the sidebar open: its first R shuts it again
    ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, BUTTON_R));
    EXPECT_EQ(-1, game->sidebarmove);
    ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, BUTTON_R));
    EXPECT_EQ(1, game->sidebarmove) << "and the second opens it";
}

TEST_F(IngameTest, ButtonsFromTwentyUpAndOtherJoysticksDoNothing) {
    for (int b : {20, 99, 255}) ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, b));
    ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, BUTTON_Y, 1));
    EXPECT_FALSE(game->waverunning);
    for (bool held : gpbuttons) EXPECT_FALSE(held);
    ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, BUTTON_Y));  // joystick 0's Y: click 3, the next wave
    EXPECT_TRUE(game->waverunning && gpbuttons[BUTTON_Y]);
    EXPECT_EXIT(ingame_handle_event(loop, button(SDL_QUIT, 0)), ::testing::ExitedWithCode(0), "");
}

TEST_F(IngameTest, GameStartAnnouncesResetsAndDropsOnePendingEventUnlessTheLevelFails) {
    gpbuttons[BUTTON_B] = true;
    box.add("left over");
    push(button(SDL_JOYBUTTONUP, BUTTON_A));
    push(button(SDL_JOYBUTTONUP, BUTTON_X));
    EXPECT_EQ(0u, start().find("debuggiversio!!!\n"));
    EXPECT_TRUE(!gpbuttons[BUTTON_B] && box.lines.empty() && box.waiting.empty());
    EXPECT_EQ(1, pending_events());

    push(button(SDL_JOYBUTTONUP, BUTTON_A));
    testing::internal::CaptureStdout();
    run_game("NoSuchLevel");  // a level that does not load goes back to the menu at once
    EXPECT_EQ(0u, testing::internal::GetCapturedStdout().find("debuggiversio!!!\n"));
    EXPECT_EQ(1, pending_events()) << "and drops nothing";
}

TEST_F(IngameTest, LostGameMeltsIntoTheGameOverPictureAndHoldsItTwoSeconds) {
    add_monster(*game, 16 * 9, 16, 0, 20, 1.0, 1);  // at the end of the path,
    game->lives = 0;                                // and no life left to lose
    ingame_frame(loop);
    EXPECT_TRUE(loop.backtomenu);
    const std::vector<Uint32>& d = test_delays();
    ASSERT_GE(d.size(), 81u);  // at most 3 pixels a step for 240 pixels
    EXPECT_EQ(2000u, d.back());
    for (size_t i = 0; i + 1 < d.size(); i++) ASSERT_EQ(10u, d[i]) << "step " << i;
    SDL_Surface* over = load_image("img/gameover.bmp");
    int differ = 0;
    for (int i = 0; i < 320 * 240; i++) differ += screen_rgb(i % 320, i / 320) != surface_rgb(over, i % 320, i / 320);
    SDL_FreeSurface(over);
    EXPECT_EQ(0, differ) << "every column has slid off the screen";
}

}  // namespace

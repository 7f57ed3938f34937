// The in-game loop: game start, the frame, the buttons and the cursor.
#include "app/globals.h"
#include "app/ingame.h"
#include "game/sim.h"
#include "gfx/image.h"
#include "platform/platform.h"
#include "support/test_env.h"
#include "view/messagebox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A 10x8 level written by the test, with a path along row 1 and one type of
// each kind. `name` is relative to levels/, as the menu hands it over.
struct TinyLevel {
    TempDir dir{"ingame"};
    std::string name;
    TinyLevel() {
        std::string rows;
        for (int r = 0; r < 8; r++) rows += r == 1 ? "Row=##########\n" : "Row=..........\n";
        dir.write("Tiny/level.txt",
                  "TileSet=tiles.bmp\nTile.=0,0,1\nTile#=2,0,0\nLevelWidth=10\nLevelHeight=8\n" + rows +
                      "Waypoint=0,1\nWaypoint=9,1\n"
                      "NewBullet\nBulletName=Pebble\nBulletDamage=5\nBulletSpeed=4\nBulletImg=0,3\n"
                      "NewTurret\nTurretName=Sling\nTurretBullet=Pebble\nTurretCost=10\nTurretRange=40\n"
                      "TurretRate=10\nTurretImg=0,2\n"
                      "NewMonster\nMonsterName=Beetle\nMonsterHealth=20\nMonsterSpeed=0.5\nMonsterNumber=3\n");
        SDL_Surface* sheet = SDL_CreateRGBSurface(SDL_SWSURFACE, 128, 64, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
        SDL_FillRect(sheet, nullptr, SDL_MapRGB(sheet->format, 40, 160, 40));
        SDL_SaveBMP(sheet, dir.file("Tiny/tiles.bmp").c_str());
        SDL_FreeSurface(sheet);
        name = "../.." + dir.path.substr(std::string(RAMPARTICA_BINARY_DIR).size()) + "/Tiny";
    }
};

SDL_Event button(Uint8 type, int number, int which = 0) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = e.jbutton.type = type;
    e.jbutton.which = static_cast<Uint8>(which);
    e.jbutton.button = static_cast<Uint8>(number);
    return e;
}
void push(Uint8 type, int number) {
    SDL_Event e = button(type, number);
    SDL_PushEvent(&e);
}
void drain_events() {
    SDL_Event e;
    while (platform_poll_event(&e)) {
    }
}

class IngameTest : public ::testing::Test {
protected:
    TinyLevel level;
    GameLoop loop;

    void SetUp() override {
        drain_events();
        start(loop);
        cursorspeed = 0.0;
        game->cursorx = game->cursory = 100;
        test_clock_reset();
        lastticks = balancer = 0;
    }
    void TearDown() override {
        drain_events();
        for (bool& held : gpbuttons) held = false;
        box.clear();
    }
    std::string start(GameLoop& l) {
        testing::internal::CaptureStdout();
        bool loaded = ingame_start(l, level.name.c_str());
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(loaded) << out;
        return out;
    }
    // The cursor's move in each of `frames` cursor steps.
    std::vector<std::pair<int, int>> moves(int frames) {
        std::vector<std::pair<int, int>> out;
        for (int i = 0; i < frames; i++) {
            int x = game->cursorx, y = game->cursory;
            cursor_step();
            out.push_back({game->cursorx - x, game->cursory - y});
        }
        return out;
    }
};

TEST_F(IngameTest, HeldDirectionAcceleratesStraightAndDiagonally) {
    gpbuttons[BUTTON_RIGHT] = true;
    game->cursorx = 0;
    std::vector<int> straight = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 7};
    auto m = moves(16);
    for (size_t i = 0; i < m.size(); i++) EXPECT_EQ(std::make_pair(straight[i], 0), m[i]) << "frame " << i + 1;

    gpbuttons[BUTTON_RIGHT] = false;
    moves(1);  // one frame without a direction stops it dead
    EXPECT_DOUBLE_EQ(0.0, cursorspeed);
    gpbuttons[BUTTON_UPLEFT] = true;
    game->cursorx = game->cursory = 200;
    std::vector<int> diagonal = {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 4};
    m = moves(15);
    for (size_t i = 0; i < m.size(); i++)
        EXPECT_EQ(std::make_pair(-diagonal[i], -diagonal[i]), m[i]) << "frame " << i + 1;
}

TEST_F(IngameTest, FirstHeldDirectionInPriorityOrderWins) {
    struct {
        std::vector<int> held;
        std::pair<int, int> move;  // at speed 2.0
    } cases[] = {
        {{BUTTON_UP, BUTTON_RIGHT}, {0, -2}},
        {{BUTTON_UPRIGHT, BUTTON_RIGHT}, {1, -1}},
        {{BUTTON_LEFT, BUTTON_DOWNLEFT}, {-1, 1}},
        {{BUTTON_UPLEFT, BUTTON_LEFT}, {-2, 0}},
        {{0, 1, 2, 3, 4, 5, 6, 7}, {0, -2}},
    };
    for (const auto& c : cases) {
        for (bool& held : gpbuttons) held = false;
        for (int b : c.held) gpbuttons[b] = true;
        cursorspeed = 1.5;
        EXPECT_EQ(c.move, moves(1)[0]) << "first held " << c.held[0];
    }
}

TEST_F(IngameTest, DirectionEventsMoveTheCursorFrameByFrame) {
    push(SDL_JOYBUTTONDOWN, BUTTON_LEFT);
    for (int i = 0; i < 3; i++) ingame_frame(loop);
    EXPECT_EQ(98, game->cursorx);  // 0, then 1, then 1
    push(SDL_JOYBUTTONUP, BUTTON_LEFT);
    ingame_frame(loop);
    EXPECT_EQ(98, game->cursorx);
    EXPECT_DOUBLE_EQ(0.0, cursorspeed);
    EXPECT_FALSE(loop.backtomenu);
}

TEST_F(IngameTest, StartAndSelectTogetherLeaveWithoutGameOver) {
    push(SDL_JOYBUTTONDOWN, BUTTON_START);
    ingame_frame(loop);
    push(SDL_JOYBUTTONUP, BUTTON_START);
    push(SDL_JOYBUTTONDOWN, BUTTON_SELECT);
    ingame_frame(loop);
    EXPECT_FALSE(loop.backtomenu) << "either alone does nothing";

    push(SDL_JOYBUTTONDOWN, BUTTON_START);
    push(SDL_JOYBUTTONDOWN, BUTTON_RIGHT);
    cursorspeed = 3.0;
    ingame_frame(loop);
    EXPECT_TRUE(loop.backtomenu);
    EXPECT_EQ(100, game->cursorx) << "the cursor step is skipped";
    EXPECT_DOUBLE_EQ(3.0, cursorspeed);
    for (Uint32 d : test_delays()) EXPECT_LT(d, 2000u) << "no game-over screen";
}

TEST_F(IngameTest, RTogglesTheSidebarOncePerPress) {
    // Pressed and let go between two frames: one action, flag down after.
    push(SDL_JOYBUTTONDOWN, BUTTON_R);
    push(SDL_JOYBUTTONUP, BUTTON_R);
    ingame_frame(loop);
    EXPECT_EQ(-1, game->sidebarmove) << "the first R of a game shuts the sidebar";
    EXPECT_FALSE(gpbuttons[BUTTON_R]);
    push(SDL_JOYBUTTONDOWN, BUTTON_R);
    ingame_frame(loop);
    EXPECT_EQ(1, game->sidebarmove);

    GameLoop next;
    start(next);
    ingame_handle_event(next, button(SDL_JOYBUTTONDOWN, BUTTON_R));
    EXPECT_EQ(-1, game->sidebarmove) << "and again in the next game";
}

TEST_F(IngameTest, ButtonsSendTheirClickCodes) {
    ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, BUTTON_Y));  // 3: next wave
    EXPECT_TRUE(game->waverunning);
    EXPECT_TRUE(gpbuttons[BUTTON_Y]);
    ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, BUTTON_A));  // 2: strongest
    EXPECT_EQ(1, game->buildmode);
    ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, BUTTON_X));  // 1: cancel
    EXPECT_EQ(0, game->buildmode);
    ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, BUTTON_VOLDOWN));  // 5: last type again
    EXPECT_EQ(1, game->buildmode);
    game->render();  // settles the map's screen position
    game->cursorx = game->mapx + 40;
    game->cursory = game->mapy + 40;
    ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, BUTTON_B));  // 0: place
    EXPECT_EQ(1, game->objectnum(2));
    EXPECT_EQ(20, game->money);
}

TEST_F(IngameTest, UnknownButtonsOtherJoysticksAndQuit) {
    for (int b : {20, 21, 99, 255}) {
        ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, b));
        ingame_handle_event(loop, button(SDL_JOYBUTTONUP, b));
    }
    ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, BUTTON_R, 1));
    ingame_handle_event(loop, button(SDL_JOYBUTTONDOWN, BUTTON_Y, 1));
    for (bool held : gpbuttons) EXPECT_FALSE(held);
    EXPECT_EQ(0, game->sidebarmove);
    EXPECT_FALSE(game->waverunning);

    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    EXPECT_EXIT(ingame_handle_event(loop, quit), ::testing::ExitedWithCode(0), "");
}

TEST_F(IngameTest, GameStartResetsEverythingAndDropsOnePendingEvent) {
    gpbuttons[BUTTON_B] = gpbuttons[BUTTON_UP] = true;
    loop.sidebartoggle = true;
    box.add("left over");
    game->money = 999;
    push(SDL_JOYBUTTONUP, BUTTON_A);
    push(SDL_JOYBUTTONUP, BUTTON_X);

    std::string out = start(loop);
    EXPECT_EQ(0u, out.find("debuggiversio!!!\n")) << out;
    EXPECT_EQ(30, game->money) << "a fresh game";
    for (bool held : gpbuttons) EXPECT_FALSE(held);
    EXPECT_FALSE(loop.sidebartoggle);
    EXPECT_TRUE(box.waiting.empty() && box.lines.empty());
    EXPECT_EQ(0, game->cursorframe);
    EXPECT_TRUE(game->barloaded);
    EXPECT_EQ("levels/" + level.name, loop.levelpath);
    SDL_Event left;
    ASSERT_EQ(1, platform_poll_event(&left));
    EXPECT_EQ(BUTTON_X, left.jbutton.button);
}

TEST_F(IngameTest, LevelThatDoesNotLoadGoesBackToTheMenu) {
    push(SDL_JOYBUTTONDOWN, BUTTON_B);
    testing::internal::CaptureStdout();
    GameLoop failed;
    EXPECT_FALSE(ingame_start(failed, "NoSuchLevel"));
    run_game("NoSuchLevel");  // returns instead of playing
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(failed.backtomenu);
    EXPECT_EQ(0u, out.find("debuggiversio!!!\n"));
    EXPECT_NE(std::string::npos, out.find("debuggiversio!!!\n", 1)) << "printed at every start";
    SDL_Event e;
    EXPECT_EQ(1, platform_poll_event(&e)) << "nothing is dropped when the level fails";
}

TEST_F(IngameTest, LostGameMeltsIntoTheGameOverPictureAndHoldsItTwoSeconds) {
    // A monster at the end of the path, and no life left to lose.
    Sim::Object m;
    m.kind = 1;
    m.x = 16 * 9;
    m.y = 16;
    m.vx = 1.0;
    m.vy = 1;
    game->objects.insert(game->objects.begin(), m);
    game->turretstart = game->bulletstart = game->monstersalive = 1;
    game->lives = 0;

    ingame_frame(loop);
    EXPECT_TRUE(loop.backtomenu);
    const std::vector<Uint32>& d = test_delays();
    ASSERT_GE(d.size(), 81u);  // at most 3 pixels a step for 240 pixels
    EXPECT_EQ(2000u, d.back());
    for (size_t i = 0; i + 1 < d.size(); i++) ASSERT_EQ(10u, d[i]) << "step " << i;

    SDL_Surface* over = load_image("img/gameover.bmp");
    int differ = 0;
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++) differ += screen_rgb(x, y) != surface_rgb(over, x, y);
    SDL_FreeSurface(over);
    EXPECT_EQ(0, differ) << "every column has slid off the screen";
}

}  // namespace

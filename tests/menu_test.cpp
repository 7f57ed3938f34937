// The level menu: the directory scan, the highlight, the choices, and the
// help screen.
#include "app/globals.h"
#include "app/menu.h"
#include "platform/platform.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <set>

namespace {

// An event of the given type; for a joystick button, of that button and joystick.
SDL_Event event(Uint8 type, int button = 0, int which = 0) {
    SDL_Event e{};
    e.jbutton = {type, static_cast<Uint8>(which), static_cast<Uint8>(button), 0};
    return e;
}
SDL_Event press(int button) { return event(SDL_JOYBUTTONDOWN, button); }
SDL_Event mouse(Uint8 type, int button, int y = 0) {
    SDL_Event e{};
    if (type == SDL_MOUSEMOTION) e.motion = {type, 0, 0, 0, static_cast<Uint16>(y), 0, 0};
    else e.button = {type, 0, static_cast<Uint8>(button), 0, 0, 0};
    return e;
}
void push(SDL_Event e) { SDL_PushEvent(&e); }

Menu with_levels(int n) {
    Menu m;
    for (int i = 0; i < n; i++) std::snprintf(m.list.levelnames[i], 100, i ? "Level%d" : "Tenletters", i);
    m.list.levelcount = n;
    return m;
}

class MenuTest : public ::testing::Test {
protected:
    SDL_Surface* const saved_menu = mainmenu;
    void SetUp() override {
        for (SDL_Event e; platform_poll_event(&e);) continue;
        test_clock_reset();
        lastticks = balancer = 0;
        // A black background of our own, so the checks do not depend on the art.
        mainmenu = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0);
    }
    void TearDown() override {
        SDL_FreeSurface(mainmenu);
        mainmenu = saved_menu;
    }
};

TEST_F(MenuTest, ScanListsAllButDotAndDotDotAtMostAHundredAndLeavesOutNamesTooLong) {
    TempDir dir("menu-scan"), many("menu-many");
    std::string fits(99, 'a'), too_long(100, 'b');
    for (const std::string& n : {std::string(".hidden"), std::string("notes.txt"), fits, too_long}) dir.write(n, "\n");
    for (int i = 0; i < 104; i++) many.write("L" + std::to_string(i), "\n");
    LevelList list;
    testing::internal::CaptureStdout();
    scan_levels(list, dir.path.c_str());
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStdout().find("Skipping " + dir.path + "/" + too_long));
    EXPECT_EQ((std::set<std::string>{".hidden", "notes.txt", fits}),
              std::set<std::string>(list.levelnames, list.levelnames + list.levelcount));
    scan_levels(list, many.path.c_str());
    EXPECT_EQ(100, list.levelcount);
}

TEST_F(MenuTest, WithoutALevelsDirectoryTheNoticeShowsForTwoSecondsAndTheGameEnds) {
    TempDir dir("menu-nolevels");
    menu_draw(Menu());  // loads the font from the run directory first
    EXPECT_EXIT({
        dup2(2, 1);  // the log line and the fake clock's delays go where the death test sees them
        if (chdir(dir.path.c_str()) != 0) std::abort();
        std::atexit([] { for (Uint32 d : test_delays()) std::fprintf(stderr, "delay %u\n", d); });
        Menu stale = with_levels(5);  // the directory is read afresh
        run_menu(stale);
    }, ::testing::ExitedWithCode(0), "Cannot read the level directory levels: .*\ndelay 2000\n");
}

TEST_F(MenuTest, UpAndDownWrapAround) {
    Menu m = with_levels(3);
    menu_handle_event(m, press(BUTTON_UP));
    EXPECT_EQ(2, m.selection) << "up from the first row";
    menu_handle_event(m, press(BUTTON_DOWN));
    EXPECT_EQ(0, m.selection) << "down from the last row";
}

TEST_F(MenuTest, MouseMotionPicksTheRowUnderThePointer) {
    Menu m = with_levels(12);
    for (auto [y, row] : {std::make_pair(110, 0), {133, 0}, {134, 1}, {200, 5}, {239, 8}}) {
        menu_handle_event(m, mouse(SDL_MOUSEMOTION, 0, y));
        EXPECT_EQ(row, m.selection) << "y " << y;
    }
}

TEST_F(MenuTest, RedBarFramesTheSelectedNameOnly) {
    menu_draw(with_levels(2));  // "Tenletters" selected above "Level1"
    int glyph = 0;
    for (int y = 110; y <= 150; y++)
        for (int x = 100; x <= 220; x++) {
            bool bar = x >= 120 && x <= 199 && y >= 120 && y <= 131, text = x >= 130 && x <= 190;
            bool red = screen_rgb(x, y) == 0xFF0000;
            EXPECT_TRUE(bar ? text || red : !red) << x << "," << y;  // the name and its shadow stand on it
            glyph += bar && !red;
        }
    EXPECT_GT(glyph, 0);
}

TEST_F(MenuTest, APassEndsWithItsChoiceAndHelpChosenByYOrRightClickStandsAgainstTheRest) {
    const std::pair<std::vector<SDL_Event>, int> cases[] = {
        {{press(BUTTON_B), press(BUTTON_DOWN)}, 1},  // the rest of the pass still counts after B
        {{mouse(SDL_MOUSEMOTION, 0, 200), mouse(SDL_MOUSEBUTTONDOWN, 1)}, 2},  // row 5 held to the last
        {{press(BUTTON_B), press(BUTTON_Y)}, HELP_CHOSEN},
        {{press(BUTTON_Y), press(BUTTON_B)}, HELP_CHOSEN},
        {{press(BUTTON_Y), press(BUTTON_DOWN)}, HELP_CHOSEN},
        {{mouse(SDL_MOUSEBUTTONDOWN, 3), mouse(SDL_MOUSEMOTION, 0, 150)}, HELP_CHOSEN},
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        const auto& [events, selection] = cases[i];
        Menu m = with_levels(3);
        for (const SDL_Event& e : events) push(e);
        menu_pass(m);
        EXPECT_TRUE(m.chosen && m.selection == selection) << "case " << i;
    }
    EXPECT_EXIT({ Menu idle; menu_handle_event(idle, press(BUTTON_START)); }, ::testing::ExitedWithCode(0), "");
}

TEST_F(MenuTest, HelpWaitsForAFreshPress) {
    // Releases and motion do not end it; any press does, a key that stands for no button too.
    const std::pair<SDL_Event, bool> cases[] = {
        {event(SDL_JOYBUTTONUP, BUTTON_Y), false}, {mouse(SDL_MOUSEBUTTONUP, 1), false}, {press(BUTTON_X), true},
        {mouse(SDL_MOUSEMOTION, 0, 50), false}, {mouse(SDL_MOUSEBUTTONDOWN, 1), true}, {event(SDL_KEYDOWN), true},
    };
    for (const auto& [e, ends] : cases) {
        push(e);
        EXPECT_EQ(ends, help_wait_pass()) << "event type " << int(e.type);
    }
    EXPECT_EXIT((push(event(SDL_QUIT)), help_wait_pass()), ::testing::ExitedWithCode(0), "");
}

}  // namespace

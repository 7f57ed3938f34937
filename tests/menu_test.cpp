// The level menu: the directory scan, the highlight, the choices, and the
// help screen.
#include "app/help_screen.h"
#include "app/menu.h"
#include "platform/platform.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <set>

namespace {

// An event of the given type: of joystick 0's or the mouse's button (both
// begin with the same fields), or a motion to the height y.
SDL_Event event(Uint8 type, int button = 0, int y = 0) {
    SDL_Event e{};
    if (type == SDL_MOUSEMOTION) e.motion = {type, 0, 0, 0, static_cast<Uint16>(y), 0, 0};
    else e.jbutton = {type, 0, static_cast<Uint8>(button), 0};
    return e;
}
SDL_Event press(int button) { return event(SDL_JOYBUTTONDOWN, button); }
SDL_Event motion(int y) { return event(SDL_MOUSEMOTION, 0, y); }
void push(SDL_Event e) { SDL_PushEvent(&e); }

Menu with_levels(int n) { Menu m; m.list.levelcount = n; return m; }

struct MenuTest : ::testing::Test {
    void SetUp() override { for (SDL_Event e; platform_poll_event(&e);) continue; }
};

TEST_F(MenuTest, ScanSkipsDotEntriesAndTooLongNamesAndKeepsAtMostAHundred) {
    TempDir dir("menu-scan");
    std::set<std::string> fit = {".hidden", std::string(99, 'a')};
    for (int i = 0; fit.size() < 100; i++) fit.insert("L" + std::to_string(i));
    for (const std::string& n : fit) dir.write(n, "\n");
    const std::string too_long(100, 'b');
    dir.write(too_long, "\n");
    LevelList list;
    testing::internal::CaptureStdout();
    scan_levels(list, dir.path.c_str());
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStdout().find("Skipping " + dir.file(too_long)));
    EXPECT_EQ(fit, std::set<std::string>(list.levelnames, list.levelnames + list.levelcount)) << "long name: no place";
    dir.write("L-one-more", "\n");
    scan_levels(list, dir.path.c_str());
    EXPECT_EQ(100, list.levelcount);
}

TEST_F(MenuTest, WithoutALevelsDirectoryTheNoticeShowsForTwoSecondsAndTheGameEnds) {
    TempDir dir("menu-nolevels");
    test_clock_reset();
    menu_draw(Menu());  // loads the font from the run directory first
    EXPECT_EXIT({
        dup2(2, 1);  // the log line and the fake clock's delays go where the death test sees them
        if (chdir(dir.path.c_str()) != 0) std::abort();
        std::atexit([] { for (Uint32 d : test_delays()) std::fprintf(stderr, "delay %u\n", d); });
        Menu stale = with_levels(5);  // the directory is read afresh
        run_menu(stale);
    }, ::testing::ExitedWithCode(0), "Cannot read the level directory levels: .*\ndelay 2000\n");
}

TEST_F(MenuTest, APassEndsWithItsChoiceAndHelpChosenByYOrRightClickStandsAgainstTheRest) {
    const SDL_Event left = event(SDL_MOUSEBUTTONDOWN, 1), up = press(BUTTON_UP), down = press(BUTTON_DOWN);
    const SDL_Event b = press(BUTTON_B), y = press(BUTTON_Y);
    const std::pair<std::vector<SDL_Event>, int> cases[] = {  // three levels
        {{up, b}, 2}, {{up, down, b}, 0}, {{b, down}, 1},  // both wrap around; the pass goes on after B
        {{motion(133), left}, 0}, {{motion(134), left}, 1}, {{motion(50), left}, 0}, {{motion(200), left}, 2},
        {{y, up, down}, HELP_CHOSEN}, {{event(SDL_MOUSEBUTTONDOWN, 3), motion(150)}, HELP_CHOSEN},
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        Menu m = with_levels(3);
        for (const SDL_Event& e : cases[i].first) push(e);
        menu_pass(m);
        EXPECT_TRUE(m.chosen && m.selection == cases[i].second) << "case " << i << ": " << m.selection;
    }
    EXPECT_EXIT({ Menu idle; menu_handle_event(idle, press(BUTTON_START)); }, ::testing::ExitedWithCode(0), "");
}

TEST_F(MenuTest, HelpWaitsForAFreshPress) {
    // Releases and motion do not end it; any press does, a key that stands for no button too.
    const std::pair<SDL_Event, bool> cases[] = {
        {event(SDL_JOYBUTTONUP, BUTTON_Y), false}, {event(SDL_MOUSEBUTTONUP, 1), false}, {motion(50), false},
        {press(BUTTON_X), true}, {event(SDL_MOUSEBUTTONDOWN, 1), true}, {event(SDL_KEYDOWN), true},
    };
    for (const auto& [e, ends] : cases) EXPECT_EQ(ends, (push(e), help_wait_pass())) << "event type " << int(e.type);
    EXPECT_EXIT((push(event(SDL_QUIT)), help_wait_pass()), ::testing::ExitedWithCode(0), "");
}

}  // namespace

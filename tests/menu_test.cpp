// The level menu: the directory scan, the highlight, the choices, and the
// help screen.
#include "app/globals.h"
#include "app/menu.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "platform/platform.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

SDL_Event event_of(Uint8 type) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    return e;
}
SDL_Event joy(Uint8 type, int button, int which = 0) {
    SDL_Event e = event_of(type);
    e.jbutton.which = static_cast<Uint8>(which);
    e.jbutton.button = static_cast<Uint8>(button);
    return e;
}
SDL_Event press(int button) { return joy(SDL_JOYBUTTONDOWN, button); }
SDL_Event motion(int y) {
    SDL_Event e = event_of(SDL_MOUSEMOTION);
    e.motion.y = static_cast<Uint16>(y);
    return e;
}
SDL_Event mouse(Uint8 type, int button) {
    SDL_Event e = event_of(type);
    e.button.button = static_cast<Uint8>(button);
    return e;
}
void push(SDL_Event e) { SDL_PushEvent(&e); }

Menu with_levels(int n) {
    Menu m;
    for (int i = 0; i < n; i++) std::snprintf(m.list.levelnames[i], 100, "Level%d", i);
    m.list.levelcount = n;
    return m;
}
std::set<std::string> names(const LevelList& list) {
    return std::set<std::string>(list.levelnames, list.levelnames + list.levelcount);
}

class MenuTest : public ::testing::Test {
protected:
    SDL_Surface* saved_menu = nullptr;
    void SetUp() override {
        SDL_Event e;
        while (platform_poll_event(&e)) {
        }
        test_clock_reset();
        lastticks = balancer = 0;
        // A plain background of our own, so the checks do not depend on art.
        saved_menu = mainmenu;
        mainmenu = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0);
        SDL_FillRect(mainmenu, nullptr, SDL_MapRGB(mainmenu->format, 0, 0, 128));
    }
    void TearDown() override {
        SDL_FreeSurface(mainmenu);
        mainmenu = saved_menu;
    }
};

TEST_F(MenuTest, ScanListsEveryEntryButDotAndDotDot) {
    TempDir dir("menu-scan");
    for (const char* name : {"Meadow/level.txt", "Canyon/level.txt", "notes.txt", ".hidden/level.txt"})
        dir.write(name, "\n");
    LevelList list;
    scan_levels(list, dir.path.c_str());
    EXPECT_EQ((std::set<std::string>{"Meadow", "Canyon", "notes.txt", ".hidden"}), names(list));

    TempDir many("menu-many");
    for (int i = 0; i < 104; i++) many.write("L" + std::to_string(i) + "/level.txt", "\n");
    scan_levels(list, many.path.c_str());
    EXPECT_EQ(100, list.levelcount);
    EXPECT_EQ(100u, names(list).size());
}

TEST_F(MenuTest, ScanSkipsNamesTooLongAndMissingDirectories) {
    TempDir dir("menu-long");
    std::string fits(99, 'a'), too_long(100, 'b'), way_too_long(250, 'c');
    for (const std::string& n : {fits, too_long, way_too_long}) dir.write(n + "/level.txt", "\n");
    LevelList list;
    testing::internal::CaptureStdout();
    scan_levels(list, dir.path.c_str());
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ((std::set<std::string>{fits}), names(list));
    EXPECT_NE(std::string::npos, out.find("Skipping " + dir.path + "/" + too_long)) << out;
    EXPECT_NE(std::string::npos, out.find("Skipping " + dir.path + "/" + way_too_long)) << out;

    testing::internal::CaptureStdout();
    scan_levels(list, dir.file("levels").c_str());
    out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(0, list.levelcount);
    EXPECT_NE(std::string::npos, out.find("Cannot read the level directory " + dir.file("levels"))) << out;
}

TEST_F(MenuTest, NoLevelsShowsTheNoticeForTwoSecondsAndExits) {
    // Where there is no "levels" directory at all. The fake clock's delays
    // are reported at the exit so the 2 s can be seen from here.
    TempDir dir("menu-nolevels");
    EXPECT_EXIT(
        {
            draw_text(0, 0, "", 0, 0);  // the font comes from the run directory
            if (chdir(dir.path.c_str()) != 0) std::abort();
            std::atexit([] {
                for (Uint32 d : test_delays()) std::fprintf(stderr, "delay %u\n", static_cast<unsigned>(d));
            });
            Menu m;
            run_menu(m);
        },
        ::testing::ExitedWithCode(0), "delay 2000");
}

TEST_F(MenuTest, UpAndDownWrapAround) {
    Menu m = with_levels(3);
    std::vector<int> seen;
    for (int b : {BUTTON_UP, BUTTON_DOWN, BUTTON_DOWN, BUTTON_DOWN, BUTTON_DOWN}) {
        menu_handle_event(m, press(b));
        seen.push_back(m.selection);
    }
    EXPECT_EQ((std::vector<int>{2, 0, 1, 2, 0}), seen);
    // Releases, other buttons and other joysticks move nothing.
    menu_handle_event(m, joy(SDL_JOYBUTTONUP, BUTTON_DOWN));
    menu_handle_event(m, press(BUTTON_DOWNRIGHT));
    menu_handle_event(m, joy(SDL_JOYBUTTONDOWN, BUTTON_DOWN, 1));
    menu_handle_event(m, joy(SDL_JOYBUTTONDOWN, BUTTON_B, 1));
    EXPECT_EQ(0, m.selection);
    EXPECT_FALSE(m.chosen);

    Menu one = with_levels(1);
    menu_handle_event(one, press(BUTTON_UP));
    menu_handle_event(one, press(BUTTON_DOWN));
    EXPECT_EQ(0, one.selection);
}

TEST_F(MenuTest, MousePicksTheRowUnderThePointer) {
    Menu m = with_levels(12);
    for (auto c : std::vector<std::pair<int, int>>{{110, 0}, {100, 0}, {133, 0}, {134, 1}, {200, 5}, {239, 8}}) {
        menu_handle_event(m, motion(c.first));
        EXPECT_EQ(c.second, m.selection) << "y " << c.first;
    }
    Menu few = with_levels(3);
    menu_handle_event(few, motion(200));
    EXPECT_EQ(2, few.selection);
    menu_handle_event(few, mouse(SDL_MOUSEBUTTONUP, 3));
    EXPECT_FALSE(few.chosen);
    menu_handle_event(few, mouse(SDL_MOUSEBUTTONDOWN, 1));
    EXPECT_TRUE(few.chosen);
    EXPECT_EQ(2, few.selection);

    Menu right = with_levels(3);
    menu_handle_event(right, mouse(SDL_MOUSEBUTTONDOWN, 3));
    EXPECT_TRUE(right.chosen);
    EXPECT_EQ(HELP_CHOSEN, right.selection);
}

TEST_F(MenuTest, HighlightBarFramesTheSelectedName) {
    Menu m = with_levels(2);
    std::strcpy(m.list.levelnames[0], "Tenletters");
    menu_draw(m);
    const Uint32 red = 0xFF0000;
    int glyph = 0;
    for (int y = 118; y <= 133; y++) {
        for (int x = 118; x <= 201; x++) {
            bool inside = x >= 120 && x <= 199 && y >= 120 && y <= 131;
            bool text = x >= 130 && x <= 190;  // the name and its shadow
            if (inside && !text) {
                EXPECT_EQ(red, screen_rgb(x, y)) << x << "," << y;
            }
            if (!inside) {
                EXPECT_NE(red, screen_rgb(x, y)) << x << "," << y;
            }
            glyph += inside && text && screen_rgb(x, y) != red;
        }
    }
    EXPECT_GT(glyph, 0) << "the name stands on the bar";
    for (int x = 100; x < 220; x++) EXPECT_NE(red, screen_rgb(x, 139)) << "row 1 is not highlighted";
}

TEST_F(MenuTest, ChoicesMadeInOnePass) {
    struct {
        const char* what;
        std::vector<SDL_Event> events;
        int selection;
    } cases[] = {
        {"B", {press(BUTTON_B)}, 0},
        {"down then B", {press(BUTTON_DOWN), press(BUTTON_B)}, 1},
        {"B then down", {press(BUTTON_B), press(BUTTON_DOWN)}, 1},
        {"B then Y", {press(BUTTON_B), press(BUTTON_Y)}, HELP_CHOSEN},
        {"Y then B", {press(BUTTON_Y), press(BUTTON_B)}, HELP_CHOSEN},
        {"Y then down", {press(BUTTON_Y), press(BUTTON_DOWN)}, HELP_CHOSEN},
        {"Y then up", {press(BUTTON_Y), press(BUTTON_UP)}, HELP_CHOSEN},
        {"Y then mouse motion", {press(BUTTON_Y), motion(150)}, HELP_CHOSEN},
    };
    for (const auto& c : cases) {
        Menu m = with_levels(3);
        for (const SDL_Event& e : c.events) push(e);
        menu_pass(m);
        EXPECT_TRUE(m.chosen) << c.what;
        EXPECT_EQ(c.selection, m.selection) << c.what;
    }
    Menu idle = with_levels(3);
    menu_pass(idle);
    EXPECT_FALSE(idle.chosen);
    EXPECT_EXIT(menu_handle_event(idle, press(BUTTON_START)), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(menu_handle_event(idle, event_of(SDL_QUIT)), ::testing::ExitedWithCode(0), "");
}

TEST_F(MenuTest, RunMenuReadsTheLevelsAfreshWithTheFirstRowHighlighted) {
    TempDir dir("menu-run");
    dir.write("levels/Only/level.txt", "\n");
    char cwd[4096];
    ASSERT_NE(nullptr, getcwd(cwd, sizeof cwd));
    ASSERT_EQ(0, chdir(dir.path.c_str()));
    Menu m = with_levels(5);
    m.selection = 3;
    m.chosen = true;
    push(press(BUTTON_B));
    int choice = run_menu(m);
    ASSERT_EQ(0, chdir(cwd));
    EXPECT_EQ(0, choice);
    EXPECT_EQ((std::set<std::string>{"Only"}), names(m.list));
}

TEST_F(MenuTest, HelpWaitEndsOnlyOnAFreshPress) {
    SDL_Event key = event_of(SDL_KEYDOWN);
    key.key.keysym.sym = SDLK_F5;  // a key that stands for no button still counts
    struct {
        const char* what;
        SDL_Event event;
        bool ends;
    } cases[] = {
        {"button release", joy(SDL_JOYBUTTONUP, BUTTON_Y), false},
        {"mouse motion", motion(50), false},
        {"mouse release", mouse(SDL_MOUSEBUTTONUP, 1), false},
        {"button press", press(BUTTON_X), true},
        {"mouse press", mouse(SDL_MOUSEBUTTONDOWN, 1), true},
        {"key press", key, true},
    };
    for (const auto& c : cases) {
        push(c.event);
        EXPECT_EQ(c.ends, help_wait_pass()) << c.what;
    }
    EXPECT_EXIT(
        {
            push(event_of(SDL_QUIT));
            help_wait_pass();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(MenuTest, HelpScreenSlidesInAndStaysUntilAPress) {
    push(joy(SDL_JOYBUTTONUP, BUTTON_Y));  // the Y that chose help, let go
    push(press(BUTTON_B));
    help_screen();
    // 32 slide steps of 10 ms; the slide is charged as one long frame, so
    // the wait's first pacing sleeps no more.
    EXPECT_EQ(std::vector<Uint32>(32, 10u), test_delays());
    SDL_Surface* help = load_image("img/help.bmp");
    int differ = 0;
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++) differ += screen_rgb(x, y) != surface_rgb(help, x, y);
    SDL_FreeSurface(help);
    EXPECT_EQ(0, differ);
}

}  // namespace

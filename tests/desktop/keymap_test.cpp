// The desktop's keyboard as the console's buttons.
#include "platform/desktop/keymap.h"

#include <gtest/gtest.h>

#include <string>

namespace {

SDL_Event key(bool down, SDLKey sym) {
    SDL_Event e{};
    e.key = {Uint8(down ? SDL_KEYDOWN : SDL_KEYUP), 0, Uint8(down ? SDL_PRESSED : SDL_RELEASED), {0, sym, {}, 0}};
    return e;
}

// Feeds the events one after another. What each turns into is written "+13"
// for a press of joystick 0's button 13, "-13" for its release, and "?type"
// for any other event.
void expect_script(std::initializer_list<std::pair<SDL_Event, std::string>> script) {
    InputTranslator t;
    int step = 0;
    for (const auto& [in, want] : script) {
        t.feed(in, false);
        std::string out;
        for (SDL_Event e; t.pop(&e);) {
            bool down = e.type == SDL_JOYBUTTONDOWN, button = (down || e.type == SDL_JOYBUTTONUP) && !e.jbutton.which;
            out += (button ? (down ? " +" : " -") + std::to_string(e.jbutton.button) : " ?" + std::to_string(e.type));
        }
        EXPECT_EQ(want, out.empty() ? out : out.substr(1)) << "step " << step++;
    }
}

TEST(KeymapTest, EveryKeyOfTheTablePressesItsButtonOnceAndReleasesIt) {
    const std::pair<SDLKey, int> table[] = {
        {SDLK_UP, 0}, {SDLK_KP8, 0}, {SDLK_KP7, 1}, {SDLK_LEFT, 2}, {SDLK_KP4, 2}, {SDLK_KP1, 3}, {SDLK_DOWN, 4},
        {SDLK_KP2, 4}, {SDLK_KP3, 5}, {SDLK_RIGHT, 6}, {SDLK_KP6, 6}, {SDLK_KP9, 7}, {SDLK_ESCAPE, 8},
        {SDLK_BACKSPACE, 9}, {SDLK_r, 11}, {SDLK_a, 12}, {SDLK_b, 13}, {SDLK_SPACE, 13}, {SDLK_RETURN, 13},
        {SDLK_KP_ENTER, 13}, {SDLK_x, 14}, {SDLK_y, 15}, {SDLK_PLUS, 16}, {SDLK_EQUALS, 16}, {SDLK_KP_PLUS, 16},
        {SDLK_PAGEUP, 16}, {SDLK_MINUS, 17}, {SDLK_KP_MINUS, 17}, {SDLK_PAGEDOWN, 17},
    };
    for (auto [sym, button] : table) {
        SCOPED_TRACE(sym);  // the second press is a key repeat, not a new press
        std::string b = std::to_string(button);
        expect_script({{key(true, sym), "+" + b}, {key(true, sym), ""}, {key(false, sym), "-" + b}});
    }
}

TEST(KeymapTest, ArrowsActLikeTheConsoleStickAndLosingTheKeyboardLetsGoOfEverything) {
    SDL_Event lost{};
    lost.active = {SDL_ACTIVEEVENT, 0, SDL_APPINPUTFOCUS};
    expect_script({
        {key(true, SDLK_UP), "+0"}, {key(true, SDLK_RIGHT), "-0 +7"}, {key(false, SDLK_UP), "-7 +6"},  // diagonal
        {key(true, SDLK_LEFT), "-6 +2"}, {key(false, SDLK_LEFT), "-2 +6"},  // of opposite keys the last pressed wins
        {key(true, SDLK_b), "+13"}, {key(true, SDLK_SPACE), ""}, {key(false, SDLK_b), ""},  // Space holds B still
        {lost, "-6 -13 ?" + std::to_string(SDL_ACTIVEEVENT)}, {key(false, SDLK_SPACE), ""},  // every key let go
        {key(false, SDLK_RIGHT), ""}, {key(true, SDLK_DOWN), "+4"}, {key(true, SDLK_LEFT), "-4 +3"},  // the other
        {key(true, SDLK_UP), "-3 +1"}, {key(true, SDLK_RIGHT), "-1 +7"}, {key(false, SDLK_UP), "-7 +5"},  // diagonals
        {key(true, SDLK_F1), "?" + std::to_string(SDL_KEYDOWN)},  // a key for no button reaches the game as it is
    });
}

}  // namespace

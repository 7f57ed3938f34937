// The desktop's keyboard as the console's stick and buttons: one direction
// at a time, keys that share a button, repeats, and a window losing focus.
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

TEST(KeymapTest, ArrowsActLikeTheConsoleStickAndLosingTheKeyboardLetsGoOfEverything) {
    SDL_Event lost{};
    lost.active = {SDL_ACTIVEEVENT, 0, SDL_APPINPUTFOCUS};
    expect_script({
        {key(true, SDLK_UP), "+0"}, {key(true, SDLK_RIGHT), "-0 +7"}, {key(false, SDLK_UP), "-7 +6"},  // diagonal
        {key(true, SDLK_LEFT), "-6 +2"}, {key(false, SDLK_LEFT), "-2 +6"},  // of opposite keys the last pressed wins
        {key(true, SDLK_b), "+13"}, {key(true, SDLK_b), ""}, {key(true, SDLK_SPACE), ""},  // a repeat; Space is B too
        {key(false, SDLK_b), ""}, {key(true, SDLK_KP7), "-6 +1"}, {key(false, SDLK_KP7), "-1 +6"},  // Space holds B
        {lost, "-6 -13 ?" + std::to_string(SDL_ACTIVEEVENT)}, {key(false, SDLK_SPACE), ""},  // every key let go
        {key(false, SDLK_RIGHT), ""}, {key(true, SDLK_DOWN), "+4"}, {key(true, SDLK_LEFT), "-4 +3"},  // the other
        {key(true, SDLK_UP), "-3 +1"}, {key(true, SDLK_RIGHT), "-1 +7"}, {key(false, SDLK_UP), "-7 +5"},  // diagonals
        {key(true, SDLK_F1), "?" + std::to_string(SDL_KEYDOWN)},  // a key for no button reaches the game as it is
    });
}

}  // namespace

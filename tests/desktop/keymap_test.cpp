// The desktop's keyboard and gamepad as the console's buttons.
#include "platform/desktop/keymap.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

SDL_Event key(Uint8 type, SDLKey sym) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    return e;
}
SDL_Event down(SDLKey sym) { return key(SDL_KEYDOWN, sym); }
SDL_Event up(SDLKey sym) { return key(SDL_KEYUP, sym); }

SDL_Event pad_button(Uint8 type, int button) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.jbutton.button = static_cast<Uint8>(button);
    e.jbutton.state = type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    return e;
}
SDL_Event pad_hat(Uint8 value) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_JOYHATMOTION;
    e.jhat.value = value;
    return e;
}
SDL_Event pad_axis(int axis, int value) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_JOYAXISMOTION;
    e.jaxis.axis = static_cast<Uint8>(axis);
    e.jaxis.value = static_cast<Sint16>(value);
    return e;
}

// What came out, written as "+13" for a press of button 13 and "-13" for
// its release; any event that is not a joystick-0 button shows as "?type".
std::string drain(InputTranslator& t) {
    std::string out;
    SDL_Event e;
    while (t.pop(&e)) {
        if (!out.empty()) out += " ";
        if ((e.type == SDL_JOYBUTTONDOWN || e.type == SDL_JOYBUTTONUP) && e.jbutton.which == 0) {
            bool pressed = e.type == SDL_JOYBUTTONDOWN;
            EXPECT_EQ(pressed ? SDL_PRESSED : SDL_RELEASED, e.jbutton.state);
            out += (pressed ? "+" : "-") + std::to_string(e.jbutton.button);
        } else {
            out += "?" + std::to_string(e.type);
        }
    }
    return out;
}

std::string feed(InputTranslator& t, const SDL_Event& e, bool pad_open = false) {
    t.feed(e, pad_open);
    return drain(t);
}

TEST(KeymapTest, ArrowsCombineIntoOneDirectionButtonAtATime) {
    InputTranslator t;
    EXPECT_EQ("+0", feed(t, down(SDLK_UP)));
    EXPECT_EQ("-0 +7", feed(t, down(SDLK_RIGHT)));  // up-right
    EXPECT_EQ("-7 +6", feed(t, up(SDLK_UP)));       // back to straight right
    EXPECT_EQ("-6 +5", feed(t, down(SDLK_DOWN)));
    EXPECT_EQ("-5 +4", feed(t, up(SDLK_RIGHT)));
    EXPECT_EQ("-4", feed(t, up(SDLK_DOWN)));
    EXPECT_EQ("", feed(t, up(SDLK_DOWN)));  // a release never seen pressed
}

TEST(KeymapTest, OppositeKeysLastPressedWins) {
    InputTranslator t;
    EXPECT_EQ("+2", feed(t, down(SDLK_LEFT)));
    EXPECT_EQ("-2 +6", feed(t, down(SDLK_RIGHT)));
    EXPECT_EQ("-6 +2", feed(t, up(SDLK_RIGHT)));
    EXPECT_EQ("-2 +3", feed(t, down(SDLK_DOWN)));
    EXPECT_EQ("-3 +1", feed(t, down(SDLK_UP)));
    EXPECT_EQ("-1 +3", feed(t, up(SDLK_UP)));
}

TEST(KeymapTest, KeypadGivesAllEightDirections) {
    struct {
        SDLKey sym;
        int button;
    } cases[] = {{SDLK_KP8, 0}, {SDLK_KP7, 1}, {SDLK_KP4, 2}, {SDLK_KP1, 3},
                 {SDLK_KP2, 4}, {SDLK_KP3, 5}, {SDLK_KP6, 6}, {SDLK_KP9, 7}};
    for (auto c : cases) {
        InputTranslator t;
        EXPECT_EQ("+" + std::to_string(c.button), feed(t, down(c.sym))) << c.sym;
        EXPECT_EQ("-" + std::to_string(c.button), feed(t, up(c.sym))) << c.sym;
    }
    InputTranslator t;
    feed(t, down(SDLK_KP9));
    EXPECT_EQ("-7 +1", feed(t, down(SDLK_KP4))) << "the later push left wins, up stays";
    EXPECT_EQ("-1 +7", feed(t, up(SDLK_KP4)));
}

TEST(KeymapTest, KeysStandForTheConsoleButtons) {
    struct {
        SDLKey sym;
        int button;
    } cases[] = {
        {SDLK_b, BUTTON_B},           {SDLK_SPACE, BUTTON_B},        {SDLK_RETURN, BUTTON_B},
        {SDLK_KP_ENTER, BUTTON_B},    {SDLK_a, BUTTON_A},            {SDLK_x, BUTTON_X},
        {SDLK_y, BUTTON_Y},           {SDLK_r, BUTTON_R},            {SDLK_ESCAPE, BUTTON_START},
        {SDLK_BACKSPACE, BUTTON_SELECT}, {SDLK_PLUS, BUTTON_VOLUP},  {SDLK_EQUALS, BUTTON_VOLUP},
        {SDLK_KP_PLUS, BUTTON_VOLUP}, {SDLK_PAGEUP, BUTTON_VOLUP},   {SDLK_MINUS, BUTTON_VOLDOWN},
        {SDLK_KP_MINUS, BUTTON_VOLDOWN}, {SDLK_PAGEDOWN, BUTTON_VOLDOWN},
    };
    for (auto c : cases) {
        InputTranslator t;
        EXPECT_EQ("+" + std::to_string(c.button), feed(t, down(c.sym))) << c.sym;
        EXPECT_EQ("", feed(t, down(c.sym))) << "a repeat is no new press";
        EXPECT_EQ("-" + std::to_string(c.button), feed(t, up(c.sym))) << c.sym;
    }
}

TEST(KeymapTest, ButtonStaysDownWhileAnyOfItsKeysIs) {
    InputTranslator t;
    EXPECT_EQ("+13", feed(t, down(SDLK_b)));
    EXPECT_EQ("", feed(t, down(SDLK_SPACE)));
    EXPECT_EQ("", feed(t, up(SDLK_b)));
    EXPECT_EQ("-13", feed(t, up(SDLK_SPACE)));
}

TEST(KeymapTest, OtherInputPassesUnchanged) {
    InputTranslator t;
    SDL_Event in[3];
    std::memset(in, 0, sizeof in);
    in[0] = down(SDLK_F1);
    in[1].type = SDL_MOUSEMOTION;
    in[1].motion.y = 134;
    in[2].type = SDL_QUIT;
    for (const SDL_Event& e : in) {
        t.feed(e, false);
        SDL_Event out;
        ASSERT_TRUE(t.pop(&out));
        EXPECT_EQ(0, std::memcmp(&e, &out, sizeof e)) << int(e.type);
        EXPECT_FALSE(t.pop(&out));
    }
}

TEST(KeymapTest, LosingTheKeyboardReleasesEverythingHeld) {
    InputTranslator t;
    feed(t, down(SDLK_LEFT));
    feed(t, down(SDLK_UP));
    feed(t, down(SDLK_a));
    feed(t, down(SDLK_ESCAPE));
    SDL_Event lost;
    std::memset(&lost, 0, sizeof lost);
    lost.type = SDL_ACTIVEEVENT;
    lost.active.gain = 0;
    lost.active.state = SDL_APPINPUTFOCUS;
    EXPECT_EQ("-1 -8 -12 ?" + std::to_string(SDL_ACTIVEEVENT), feed(t, lost));
    EXPECT_EQ("", feed(t, up(SDLK_a)));
    EXPECT_EQ("+6", feed(t, down(SDLK_RIGHT)));
}

TEST(KeymapTest, GamepadButtonsHatAndStick) {
    InputTranslator t;
    EXPECT_EQ("+13", feed(t, pad_button(SDL_JOYBUTTONDOWN, 0), true));
    EXPECT_EQ("-13", feed(t, pad_button(SDL_JOYBUTTONUP, 0), true));
    std::string buttons;
    for (int b = 0; b < 12; b++) buttons += feed(t, pad_button(SDL_JOYBUTTONDOWN, b), true) + ",";
    EXPECT_EQ("+13,+14,+12,+15,+17,+16,+9,+8,+11,,,,", buttons) << "guide and both stick clicks share R";
    EXPECT_EQ("", feed(t, pad_button(SDL_JOYBUTTONUP, 9), true));
    EXPECT_EQ("", feed(t, pad_button(SDL_JOYBUTTONUP, 10), true));
    EXPECT_EQ("-11", feed(t, pad_button(SDL_JOYBUTTONUP, 8), true));

    EXPECT_EQ("+0", feed(t, pad_hat(SDL_HAT_UP), true));
    EXPECT_EQ("-0 +7", feed(t, pad_hat(SDL_HAT_RIGHTUP), true));
    EXPECT_EQ("-7", feed(t, pad_hat(SDL_HAT_CENTERED), true));

    EXPECT_EQ("", feed(t, pad_axis(0, 12000), true)) << "inside the dead zone";
    EXPECT_EQ("+6", feed(t, pad_axis(0, 30000), true));
    EXPECT_EQ("-6 +5", feed(t, pad_axis(1, 25000), true));
    EXPECT_EQ("", feed(t, pad_axis(2, -32767), true)) << "only the first stick steers";
    EXPECT_EQ("-5 +4", feed(t, pad_axis(0, -3000), true));
    EXPECT_EQ("-4", feed(t, pad_axis(1, 0), true));
}

TEST(KeymapTest, JoystickEventsWithoutAnOpenPadAreAlreadyConsoleButtons) {
    InputTranslator t;
    EXPECT_EQ("+0", feed(t, pad_button(SDL_JOYBUTTONDOWN, 0), false));
    EXPECT_EQ("+13", feed(t, pad_button(SDL_JOYBUTTONDOWN, 13), false));
    EXPECT_EQ("-13", feed(t, pad_button(SDL_JOYBUTTONUP, 13), false));
}

TEST(KeymapTest, PollTranslatesQueuedKeys) {
    SDL_Event e = down(SDLK_UP);
    SDL_PushEvent(&e);
    e = down(SDLK_LEFT);
    SDL_PushEvent(&e);
    e = up(SDLK_UP);
    SDL_PushEvent(&e);
    e = up(SDLK_LEFT);
    SDL_PushEvent(&e);
    std::string out;
    SDL_Event got;
    while (platform_poll_event(&got)) {
        ASSERT_TRUE(got.type == SDL_JOYBUTTONDOWN || got.type == SDL_JOYBUTTONUP);
        out += (got.type == SDL_JOYBUTTONDOWN ? "+" : "-") + std::to_string(got.jbutton.button) + " ";
    }
    EXPECT_EQ("+0 -0 +1 -1 +2 -2 ", out);
}

}  // namespace

// Everything that differs between the console and a desktop. The rest of the
// game sees only joystick 0 button events numbered as the console's buttons.
#pragma once

#include <SDL.h>

// The console's buttons as joystick 0 button numbers.
enum ConsoleButton {
    BUTTON_UP = 0, BUTTON_UPLEFT = 1, BUTTON_LEFT = 2, BUTTON_DOWNLEFT = 3,
    BUTTON_DOWN = 4, BUTTON_DOWNRIGHT = 5, BUTTON_RIGHT = 6, BUTTON_UPRIGHT = 7,
    BUTTON_START = 8, BUTTON_SELECT = 9, BUTTON_R = 11, BUTTON_A = 12,
    BUTTON_B = 13, BUTTON_X = 14, BUTTON_Y = 15, BUTTON_VOLUP = 16, BUTTON_VOLDOWN = 17
};

// Opens joystick 0. False means the game cannot run on this platform; the
// caller then reports SDL's error.
bool platform_open_joystick();

// SDL_PollEvent for the game: input that stands in for the console's buttons
// arrives as joystick 0 button events.
int platform_poll_event(SDL_Event* event);

// Hands the machine back to the console's menu program. Returns only when it
// could not be started.
void platform_exec_console_menu();

#include "platform/platform.h"

// On a desktop the keyboard stands in for the console's buttons, so a
// missing gamepad is no reason not to play.
bool platform_open_joystick() {
    if (SDL_NumJoysticks() > 0) SDL_JoystickOpen(0);
    return true;
}

#include "platform/platform.h"

// The console's buttons are joystick 0: without it there is no way to play.
bool platform_open_joystick() { return SDL_JoystickOpen(0) != nullptr; }

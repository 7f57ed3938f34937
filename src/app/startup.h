// Process start-up.
#pragma once

// Brings up SDL, the screen and the joystick, then runs the shell loop.
// Returns 1 when start-up fails; does not return otherwise.
int game_main();

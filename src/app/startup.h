// Process start-up and the exit handler.
#pragma once

// Brings up SDL, the screen and the joystick, then runs the shell loop.
// Returns 1 when start-up fails; does not return otherwise.
int game_main();

// Registered with atexit before anything else: frees the game and the
// screen, shuts SDL down and hands over to the console's menu.
void exitfunc();

// The exit handler.
#pragma once

// Registered with atexit before anything else: frees the game and the
// screen, shuts SDL down and hands over to the console's menu.
void exitfunc();

// The help screen, reached from the level menu.
#pragma once

// Slides the help picture in over the menu and waits for a fresh press.
void help_screen();
// One pass of the help screen's wait: pacing and all pending events; true
// once a key, mouse button or joystick button was pressed.
bool help_wait_pass();

// Frame pacing shared by the menu, the help screen and the game.
#pragma once

// Sleeps off the frame time still owed toward a frame of target_ms,
// carrying any surplus or debt over to the next frame through the globals
// `balancer` and `lastticks`.
void frame_pacing(int target_ms);

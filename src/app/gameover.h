// The game-over screen: the last picture of the game melts away column by
// column and uncovers the game-over picture, which stays for 2 s.
#pragma once

void gameover_screen();

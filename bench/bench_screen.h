// What every measuring program starts with: the run directory (the game's
// pictures and levels) as working directory, a 320x240x16 screen on SDL's
// dummy driver, the sine table and the glyph strips, all outside any figure.
#pragma once

// False, with SDL's error on standard error, when the screen cannot be had.
// Does nothing more once the screen is open.
bool open_bench_screen();

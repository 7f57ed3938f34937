#include "bench_screen.h"

#include "gfx/font.h"
#include "gfx/screen.h"
#include "gfx/sine.h"

#include <SDL.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

bool open_bench_screen() {
    if (screen) return true;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (chdir(RAMPARTICA_RUN_DIR) != 0) {
        std::perror(RAMPARTICA_RUN_DIR);
        return false;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !(screen = SDL_SetVideoMode(320, 240, 16, 0))) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    build_sine_table();
    draw_text(0, 0, "", 0, 0);  // loads the glyph strips
    return true;
}

#include "app/startup.h"

#include "app/exit.h"
#include "app/globals.h"
#include "app/shell.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "gfx/sine.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

int game_main() {
    // First of all, so the console gets its menu back however we end.
    std::atexit(exitfunc);
    for (bool& held : gpbuttons) held = false;
    build_sine_table();

    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) < 0) return 1;
    screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenDepth, 0);
    if (screen == nullptr) {
        std::fprintf(stderr, "Couldn't set video mode: %s\n", SDL_GetError());
        return 1;
    }
    if (!platform_open_joystick()) {
        std::fprintf(stderr, "Couldn't open the joystick: %s\n", SDL_GetError());
        return 1;
    }
    SDL_ShowCursor(0);
    SDL_WM_SetCaption("Rampartica", "Rampartica");
    mainmenu = load_image("img/mainmenu.bmp");

    shell_loop();
    return 0;
}

#include "app/exit.h"

#include "app/globals.h"
#include "game/sim.h"
#include "gfx/screen.h"
#include "platform/log.h"
#include "platform/platform.h"

void exitfunc() {
    log_line("Closing game");
    if (game != nullptr) {
        delete game;
        game = nullptr;
    }
    log_line("Freeing surfaces");
    // SDL_FreeSurface ignores null, which covers the failed start-ups.
    SDL_FreeSurface(screen);
    SDL_FreeSurface(mainmenu);
    screen = nullptr;
    mainmenu = nullptr;
    SDL_Quit();
    log_line("Returning to menu");
    platform_exec_console_menu();
    log_line("Bye");
}

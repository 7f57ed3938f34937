#include "app/globals.h"
#include "app/startup.h"
#include "game/sim.h"
#include "platform/platform.h"

#include <cstdio>

namespace {
void say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}
}  // namespace

void exitfunc() {
    say("Closing game");
    if (game != nullptr) {
        delete game;
        game = nullptr;
    }
    say("Freeing surfaces");
    // SDL_FreeSurface ignores null, which covers the failed start-ups.
    SDL_FreeSurface(screen);
    SDL_FreeSurface(mainmenu);
    screen = nullptr;
    mainmenu = nullptr;
    SDL_Quit();
    say("Returning to menu");
    platform_exec_console_menu();
    say("Bye");
}

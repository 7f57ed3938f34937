#include "app/help_screen.h"
#include "app/menu.h"
#include "app/pacing.h"
#include "app/snapshot.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "platform/clock.h"
#include "platform/platform.h"

#include <cstdlib>

void help_screen() {
    SDL_Surface* shot = screen_snapshot();
    SDL_Surface* help = load_image("img/help.bmp");
    // The menu slides out to the right while the help picture follows it in.
    // Without a snapshot there is nothing to slide and the picture just shows.
    if (shot != nullptr) {
        for (int x = 0; x < kScreenWidth; x += 10) {
            apply_surface(x, 0, shot, screen);
            apply_surface(x - kScreenWidth, 0, help, screen);
            update_screen();
            clock_delay(10);
        }
    }
    apply_surface(0, 0, help, screen);
    update_screen();
    SDL_FreeSurface(help);
    SDL_FreeSurface(shot);
    while (!help_wait_pass()) {
    }
}

// Only press events count: a button still held from the menu sends at most
// its release, which must not end the screen.
bool help_wait_pass() {
    frame_pacing(100);
    bool pressed = false;
    SDL_Event event;
    while (platform_poll_event(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_JOYBUTTONDOWN:
            pressed = true;
            break;
        case SDL_QUIT:
            std::exit(0);
        default:
            break;
        }
    }
    return pressed;
}

// The loading screen: a grey frame with up to 100 bar segments, "Loading..."
// or an error on a red bar, and the level's name, comment and author as far
// as the loader has read them. Drawn whole on every call.
#include "game/sim.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "platform/clock.h"

#include <cstdio>

void Sim::updatescreen(int progress, const char* message, bool error) {
    const int cx = width / 2;
    const int cy = height / 2;
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
    SDL_Rect frame = {static_cast<Sint16>(cx - 101), static_cast<Sint16>(cy - 9), 202, 18};
    SDL_FillRect(screen, &frame, SDL_MapRGB(screen->format, 128, 128, 128));
    // Segments 2 pixels apart; without a bar image there is nothing to repeat.
    if (barloaded)
        for (int i = 0; i < progress && i <= 99; i++) apply_surface(cx - 100 + 2 * i, cy - 8, bar, screen);
    if (error) {
        SDL_Rect red = {static_cast<Sint16>(cx - 100), static_cast<Sint16>(cy - 8), 200, 16};
        SDL_FillRect(screen, &red, SDL_MapRGB(screen->format, 255, 0, 0));
        draw_text_at(cx, cy, message ? message : "", 1, 0);
    } else {
        draw_text_at(cx, cy, "Loading...", 1, 0);
    }
    if (levelinfo[0][0] != '\0') draw_text_at(cx, cy + 16, levelinfo[0], 1, 0);
    if (levelinfo[1][0] != '\0') draw_text_at(cx, cy + 32, levelinfo[1], 1, 0);
    if (levelinfo[2][0] != '\0') {
        char by[100];
        std::snprintf(by, sizeof by, "By: %.95s", levelinfo[2]);  // a longer author is cut
        draw_text_at(cx, cy + 48, by, 1, 0);
    }
    update_screen();
    if (error) clock_delay(2000);
}

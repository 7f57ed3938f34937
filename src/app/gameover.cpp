#include "app/gameover.h"

#include "app/snapshot.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "platform/clock.h"

#include <cstdlib>

void gameover_screen() {
    SDL_Surface* over = load_image("img/gameover.bmp");
    SDL_Surface* shot = screen_snapshot();
    // Without a copy of the last picture there is nothing to melt: the
    // game-over picture simply stands for its 2 s.
    if (shot != nullptr) {
        int drop[kScreenWidth] = {};
        bool done;
        do {
            // Columns near a random one fall fastest, so the picture tears
            // unevenly as it goes.
            int k = std::rand() % kScreenWidth;
            for (int j = 0; j < kScreenWidth; j++) drop[j] += (kScreenWidth - std::abs(j - k)) / 100;
            apply_surface(0, 0, over, screen);
            done = true;
            for (int j = 0; j < kScreenWidth; j++) {
                SDL_Rect column = {static_cast<Sint16>(j), 0, 1, kScreenHeight};
                SDL_Rect at = {static_cast<Sint16>(j), static_cast<Sint16>(drop[j]), 0, 0};
                SDL_BlitSurface(shot, &column, screen, &at);
                if (drop[j] < kScreenHeight) done = false;
            }
            update_screen();
            clock_delay(10);
        } while (!done);
    } else {
        apply_surface(0, 0, over, screen);
    }
    update_screen();
    clock_delay(2000);
    SDL_FreeSurface(shot);
    SDL_FreeSurface(over);
}

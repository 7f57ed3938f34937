#include "app/snapshot.h"

#include "gfx/screen.h"

SDL_Surface* screen_snapshot() {
    SDL_Surface* raw = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 16, 0, 0, 0, 0);
    if (raw == nullptr) return nullptr;
    SDL_Surface* shot = SDL_DisplayFormat(raw);
    SDL_FreeSurface(raw);
    if (shot == nullptr) return nullptr;
    SDL_BlitSurface(screen, nullptr, shot, nullptr);
    return shot;
}

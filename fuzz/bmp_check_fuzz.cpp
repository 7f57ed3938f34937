// Arbitrary bytes through the bitmap check; whatever passes is then decoded
// and converted by SDL, which must cope with it.
#include "gfx/bmp_check.h"
#include "gfx/screen.h"

#include <SDL.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) std::abort();
    screen = SDL_SetVideoMode(320, 240, 16, 0);
    if (screen == nullptr) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (bmp_check_memory(data, size) != nullptr) return 0;
    SDL_Surface* loaded = SDL_LoadBMP_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1);
    if (loaded == nullptr) return 0;
    // The game converts every picture; the tile set's corner pixel is read.
    SDL_Surface* converted = SDL_DisplayFormat(loaded);
    if (converted != nullptr) SDL_FreeSurface(converted);
    SDL_FreeSurface(loaded);
    return 0;
}

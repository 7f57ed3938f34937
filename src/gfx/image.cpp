#include "gfx/image.h"

#include "gfx/bmp_check.h"
#include "platform/log.h"

#include <cstdlib>
#include <vector>

namespace {
[[noreturn]] void cannot_load(const char* filename) {
    log_line("couldnt load file: %s", filename);
    std::exit(0);
}
}  // namespace

SDL_Surface* load_bmp(const char* filename) {
    // Files from level packs are untrusted: SDL's decoder only sees files
    // whose header and palette make sense.
    if (bmp_check_file(filename) != nullptr) return nullptr;
    SDL_RWops* stream = SDL_RWFromFile(filename, "rb");
    if (stream == nullptr) return nullptr;
    return SDL_LoadBMP_RW(stream, 1);
}

SDL_Surface* load_bmp_or_exit(const char* filename) {
    SDL_Surface* loaded = load_bmp(filename);
    if (loaded == nullptr) cannot_load(filename);
    return loaded;
}

namespace {
// Pictures kept for the life of the process by keep_image.
struct Kept {
    std::string filename;
    SDL_Surface* surface;
};
std::vector<Kept>& kept() {
    static std::vector<Kept>& k = *new std::vector<Kept>;  // never freed, like the surfaces
    return k;
}
}  // namespace

void keep_image(const char* filename) {
    for (const Kept& k : kept())
        if (k.filename == filename) return;
    SDL_Surface* surface = load_image(filename);
    kept().push_back({filename, surface});
}

SDL_Surface* load_image(std::string filename) {
    for (const Kept& k : kept())
        if (k.filename == filename) {
            k.surface->refcount++;  // the caller's SDL_FreeSurface drops this one
            return k.surface;
        }
    SDL_Surface* loaded = load_bmp_or_exit(filename.c_str());
    SDL_Surface* converted = SDL_DisplayFormat(loaded);
    SDL_FreeSurface(loaded);
    // A picture that cannot be converted cannot be drawn either: the same as
    // a picture that cannot be read.
    if (converted == nullptr) cannot_load(filename.c_str());
    return converted;
}

void apply_surface(int x, int y, SDL_Surface* source, SDL_Surface* destination) {
    SDL_Rect offset = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_UpperBlit(source, nullptr, destination, &offset);
}

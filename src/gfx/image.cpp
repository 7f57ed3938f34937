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

SDL_Surface* load_bmp(const char* filename, const char** why) {
    const char* unused;
    if (why == nullptr) why = &unused;
    // Files from level packs are untrusted: SDL's decoder only sees files
    // whose header and palette make sense.
    *why = bmp_check_file(filename);
    if (*why != nullptr) return nullptr;
    SDL_RWops* stream = SDL_RWFromFile(filename, "rb");
    SDL_Surface* decoded = stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
    if (decoded == nullptr) *why = "cannot decode";
    return decoded;
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

SDL_Surface* try_load_image(const std::string& filename, const char** why) {
    for (const Kept& k : kept())
        if (k.filename == filename) {
            k.surface->refcount++;  // the caller's SDL_FreeSurface drops this one
            return k.surface;
        }
    SDL_Surface* loaded = load_bmp(filename.c_str(), why);
    if (loaded == nullptr) return nullptr;
    SDL_Surface* converted = SDL_DisplayFormat(loaded);
    SDL_FreeSurface(loaded);
    // A picture that cannot be converted cannot be drawn either: the same as
    // a picture that cannot be read.
    if (converted == nullptr) *why = "cannot convert";
    return converted;
}

SDL_Surface* load_image(std::string filename) {
    const char* why;
    SDL_Surface* converted = try_load_image(filename, &why);
    if (converted == nullptr) cannot_load(filename.c_str());
    return converted;
}

void apply_surface(int x, int y, SDL_Surface* source, SDL_Surface* destination) {
    SDL_Rect offset = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_UpperBlit(source, nullptr, destination, &offset);
}

// Feeds arbitrary bytes to Sim::load_level as levels/<dir>/level.txt, with a
// small valid tile set beside it, on the dummy video driver and a clock that
// never sleeps; then to the level checker, which loads the level once more
// and runs its own passes over what the loader took. Any crash, leak or
// undefined behaviour is a finding.
#include "game/level_lines.h"
#include "game/sim.h"
#include "game/string_scan.h"
#include "gfx/screen.h"
#include "gfx/sine.h"
#include "level/level_check.h"
#include "platform/clock.h"

#include <SDL.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string scratch;

Uint32 no_ticks() { return 0; }
void no_delay(Uint32) {}

void remove_scratch() {
    std::remove((scratch + "/level.txt").c_str());
    std::remove((scratch + "/tiles.bmp").c_str());
    rmdir(scratch.c_str());
}

void write_tileset(const std::string& path) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 128, 64, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    for (int c = 0; c < 32; c++) {
        SDL_Rect cell = {Sint16(16 * (c % 8)), Sint16(16 * (c / 8)), 16, 16};
        SDL_FillRect(s, &cell, SDL_MapRGB(s->format, 8 * c, 255 - 8 * c, 128));
    }
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
}

// A broken or missing tile set only refuses the level, so a TileSet line
// may name anything in the scratch folder (the tile set, level.txt itself,
// a file that is not there); outside it, the fuzzer could wander into any
// file of the machine. Lines are split exactly as the loader splits them.
bool tileset_in_scratch(const uint8_t* data, size_t size) {
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (f == nullptr) return false;
    bool ok = true;
    char line[kLevelLineMax + 1];
    for (LevelLine got; ok && (got = read_level_line(f, line)) != LevelLine::End;) {
        if (got != LevelLine::Text || !startswith(line, "TileSet")) continue;
        int eq = subfind(line, "=");
        ok = std::strchr(eq >= 0 ? line + eq + 1 : line, '/') == nullptr;
    }
    std::fclose(f);
    return ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (chdir(RAMPARTICA_RUN_DIR) != 0) std::abort();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) std::abort();
    screen = SDL_SetVideoMode(320, 240, 16, 0);
    if (screen == nullptr) std::abort();
    build_sine_table();
    clock_install(GameClock{no_ticks, no_delay});
    char dir[] = "/tmp/rampartica-fuzz-level-XXXXXX";
    if (mkdtemp(dir) == nullptr) std::abort();
    scratch = dir;
    std::atexit(remove_scratch);
    write_tileset(scratch + "/tiles.bmp");
    // The loader logs every line; the fuzzer reports on standard error.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!tileset_in_scratch(data, size)) return -1;
    FILE* f = std::fopen((scratch + "/level.txt").c_str(), "wb");
    if (f == nullptr) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    Sim* sim = new Sim;
    sim->set_bar("img/bar.bmp");
    sim->load_level(scratch.c_str());
    delete sim;
    check_level_dir("fuzz", scratch);
    return 0;
}

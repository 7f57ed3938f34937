// Feeds arbitrary bytes to Sim::load_level as levels/<dir>/level.txt, with a
// small valid tile set beside it, on the dummy video driver and a clock that
// never sleeps, through the level checker, which listens to the same load
// and runs its own passes over what the loader took. Any crash, leak or
// undefined behaviour is a finding.
#include "game/level_lines.h"
#include "game/load_progress.h"
#include "game/sim.h"
#include "game/string_scan.h"
#include "gfx/image.h"
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
#include <new>
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

// Repaints the loading screen as the game does whenever it would show
// something new besides a longer bar: the first and the last report, a
// refusal, and every new name, comment or author. The game repaints for
// every line read, and whole repaints would be most of the time an input
// takes; the bar is drawn up to where it stands at the next repaint.
class Repaints final : public LoadProgress {
public:
    explicit Repaints(Sim& sim) : sim_(sim) {}
    void report(int progress, const char* message, bool error) override {
        const bool news = first_ || error || progress >= 100 || std::memcmp(shown_, sim_.levelinfo, sizeof shown_) != 0;
        if (!news) return;
        first_ = false;
        std::memcpy(shown_, sim_.levelinfo, sizeof shown_);
        sim_.updatescreen(progress, message, error);
    }

private:
    Sim& sim_;
    bool first_ = true;
    char shown_[3][sizeof sim_.levelinfo[0]] = {};  // name, comment, author
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (chdir(RAMPARTICA_RUN_DIR) != 0) std::abort();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) std::abort();
    screen = SDL_SetVideoMode(320, 240, 16, 0);
    if (screen == nullptr) std::abort();
    build_sine_table();
    clock_install(GameClock{no_ticks, no_delay});
    // Every input is written to a file: in memory where there is a place for that.
    char shm[] = "/dev/shm/rampartica-fuzz-level-XXXXXX", tmp[] = "/tmp/rampartica-fuzz-level-XXXXXX";
    const char* dir = mkdtemp(shm);
    if (dir == nullptr) dir = mkdtemp(tmp);
    if (dir == nullptr) std::abort();
    scratch = dir;
    std::atexit(remove_scratch);
    write_tileset(scratch + "/tiles.bmp");
    // Every input builds a game and reads the tile set; the game's pictures
    // and the tile set, the same file every time, are read once. Reading
    // and checking bitmaps is the bitmap fuzzer's part.
    for (const char* picture : {"img/sidebar.bmp", "img/symbol.bmp", "img/back.bmp", "img/bar.bmp"}) keep_image(picture);
    keep_image((scratch + "/tiles.bmp").c_str());
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
    // One place for the game, used again by every input: a fresh game is
    // constructed in it and destroyed after.
    alignas(Sim) static unsigned char place[sizeof(Sim)];
    Sim* sim = new (place) Sim;
    sim->set_bar("img/bar.bmp");
    // One load: the game's loading screen and the checker's passes both
    // hear it.
    Repaints repaints(*sim);
    check_level_dir("fuzz", scratch, *sim, &repaints);
    sim->~Sim();
    return 0;
}

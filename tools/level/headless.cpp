#include "level/headless.h"

#include "gfx/screen.h"
#include "gfx/sine.h"
#include "platform/clock.h"

#include <SDL.h>

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {

bool holds_game_data(const std::string& dir) {
    struct stat st;
    return stat((dir + "/img/symbol.bmp").c_str(), &st) == 0 && stat((dir + "/letters.bmp").c_str(), &st) == 0;
}

// The game's pauses (loading, the red bar) pass in no time at all.
Uint32 now_ms = 0;
Uint32 instant_ticks() { return now_ms; }
void instant_delay(Uint32 ms) { now_ms += ms; }

}  // namespace

std::string own_executable(const char* argv0) {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) return std::string(buf, static_cast<size_t>(n));
    return absolute_path(argv0 ? argv0 : "");
}

std::string absolute_path(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) == nullptr) return path;
    return std::string(cwd) + "/" + path;
}

std::string find_game_data(const std::string& exe, std::string* looked) {
    std::string folder = exe.substr(0, exe.rfind('/') == std::string::npos ? 0 : exe.rfind('/'));
    if (folder.empty()) folder = ".";
    const std::string candidates[] = {folder, folder + "/../../share/rampartica"};
    looked->clear();
    for (const std::string& c : candidates) {
        if (holds_game_data(c)) return c;
        *looked += (looked->empty() ? "" : " and ") + c;
    }
    return "";
}

bool start_headless(const std::string& data, std::string* error) {
    if (chdir(data.c_str()) != 0) {
        *error = "cannot enter " + data;
        return false;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        *error = std::string("cannot start SDL: ") + SDL_GetError();
        return false;
    }
    screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenDepth, 0);
    if (screen == nullptr) {
        *error = std::string("cannot make the screen: ") + SDL_GetError();
        return false;
    }
    build_sine_table();
    clock_install(GameClock{instant_ticks, instant_delay});
    return true;
}

#include "support/test_env.h"

#include "gfx/screen.h"
#include "gfx/sine.h"
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
std::vector<Uint32> delays;
Uint32 now_ms = 0;

Uint32 fake_ticks() { return now_ms; }
void fake_delay(Uint32 ms) {
    delays.push_back(ms);
    now_ms += ms;
}

class ScreenEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(0, chdir(RAMPARTICA_RUN_DIR));
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK)) << SDL_GetError();
        screen = SDL_SetVideoMode(320, 240, 16, 0);
        ASSERT_NE(nullptr, screen) << SDL_GetError();
        build_sine_table();
        clock_install(GameClock{fake_ticks, fake_delay});
    }
};

const ::testing::Environment* const env =
    ::testing::AddGlobalTestEnvironment(new ScreenEnvironment);
}  // namespace

std::vector<Uint32>& test_delays() { return delays; }

void test_clock_reset(Uint32 now) {
    delays.clear();
    now_ms = now;
}

void test_clock_advance(Uint32 ms) { now_ms += ms; }

Uint32 surface_rgb(SDL_Surface* s, int x, int y) {
    Uint8 r, g, b;
    Uint32 raw = 0;
    Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 1: raw = *p; break;
    case 2: raw = *reinterpret_cast<Uint16*>(p); break;
    case 3: raw = p[0] | p[1] << 8 | p[2] << 16; break;
    default: raw = *reinterpret_cast<Uint32*>(p); break;
    }
    SDL_GetRGB(raw, s->format, &r, &g, &b);
    return (Uint32(r) << 16) | (Uint32(g) << 8) | b;
}

Uint32 screen_rgb(int x, int y) { return surface_rgb(screen, x, y); }

TempDir::TempDir(const char* tag) {
    std::string base = std::string(RAMPARTICA_BINARY_DIR) + "/test-tmp";
    mkdir(base.c_str(), 0755);
    std::string templ = base + "/" + tag + "-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    char* made = mkdtemp(buf.data());
    path = made ? made : "";
}

TempDir::~TempDir() {
    if (!path.empty()) {
        std::string cmd = "rm -rf '" + path + "'";
        if (system(cmd.c_str()) != 0) {
        }
    }
}

void TempDir::write(const std::string& name, const std::string& content) const {
    std::string full = file(name);
    std::string dir = full.substr(0, full.rfind('/'));
    std::string cmd = "mkdir -p '" + dir + "'";
    if (system(cmd.c_str()) != 0) {
    }
    std::ofstream out(full, std::ios::binary);
    out << content;
}

std::string run_command(const std::string& command, int* status) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) {
        if (status) *status = -1;
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int rc = pclose(p);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

std::string program_command(const std::string& path) { return RAMPARTICA_RUNNER " '" + path + "'"; }

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

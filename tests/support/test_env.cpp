#include "support/test_env.h"

#include "gfx/screen.h"
#include "gfx/sine.h"
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {
std::vector<Uint32> delays;
Uint32 now_ms = 0;

class ScreenEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(0, chdir(RAMPARTICA_RUN_DIR));
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK)) << SDL_GetError();
        screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenDepth, 0);
        ASSERT_NE(nullptr, screen) << SDL_GetError();
        build_sine_table();
        clock_install(GameClock{[] { return now_ms; }, [](Uint32 ms) { delays.push_back(ms), now_ms += ms; }});
    }
};

const ::testing::Environment* const env = ::testing::AddGlobalTestEnvironment(new ScreenEnvironment);
}  // namespace

std::vector<Uint32>& test_delays() { return delays; }
void test_clock_reset(Uint32 now) { delays.clear(), now_ms = now; }
void test_clock_advance(Uint32 ms) { now_ms += ms; }

TempDir::TempDir(const char* tag) {
    fs::create_directories(RAMPARTICA_BINARY_DIR "/test-tmp");
    std::string templ = RAMPARTICA_BINARY_DIR "/test-tmp/" + std::string(tag) + "-XXXXXX";
    path = mkdtemp(templ.data()) ? templ : "";
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!path.empty()) fs::remove_all(path, ignored);
}

void TempDir::write(const std::string& name, const std::string& content) const {
    fs::create_directories(fs::path(file(name)).parent_path());
    std::ofstream(file(name), std::ios::binary) << content;
}

std::string run_command(const std::string& command, int* status) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    char buf[4096];
    for (size_t n; p && (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    int rc = p ? pclose(p) : -1;
    if (status) *status = rc != -1 && WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

std::string program_command(const std::string& path) { return RAMPARTICA_RUNNER " '" + path + "'"; }

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void expect_recorded(const std::string& name, const std::string& actual) {
    const std::string path = RAMPARTICA_SOURCE_DIR "/tests/golden/" + name;
    if (const char* update = std::getenv("RAMPARTICA_UPDATE_GOLDEN"); update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        GTEST_SKIP() << "rewrote " << path << "; review it and run again without RAMPARTICA_UPDATE_GOLDEN";
    }
    std::istringstream want(read_file(path)), got(actual);
    for (int line = 1; want || got; line++) {
        std::string w, g;
        std::getline(want, w), std::getline(got, g);
        ASSERT_EQ(w, g) << path << " line " << line << " (the record first)";
    }
}

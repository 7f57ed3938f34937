// The real game binary started the ways it can fail: it always leaves
// through the exit handler, whose lines come last on standard output.
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const std::string kExitLines = "Closing game\nFreeing surfaces\nReturning to menu\nBye\n";

std::string binary(const char* name) { return std::string(RAMPARTICA_RUN_DIR) + "/" + name; }
const char* const kConsoleGame = RAMPARTICA_CONSOLE_GAME;
const char* const kDesktopGame = RAMPARTICA_DESKTOP_GAME;

// Runs a binary in dir with the dummy video driver; stderr goes to err.
std::string run_in(const std::string& dir, const std::string& bin, const std::string& err, int* status,
                   const char* driver = "dummy") {
    return run_command("cd '" + dir + "' && SDL_VIDEODRIVER=" + driver + " " + program_command(bin) + " 2>'" + err + "'",
                       status);
}
}  // namespace

TEST(StartupTest, MissingMenuPictureEndsThroughTheExitHandler) {
    TempDir dir("start-noimg");
    int status = -1;
    std::string out = run_in(dir.path, binary(kDesktopGame), dir.file("err.txt"), &status);
    EXPECT_EQ("couldnt load file: img/mainmenu.bmp\n" + kExitLines, out);
    EXPECT_EQ(0, status);
}

TEST(StartupTest, ConsoleBuildWithoutJoystickStopsWithStatusOne) {
    TempDir dir("start-nojoy");
    int status = -1;
    std::string out = run_in(dir.path, binary(kConsoleGame), dir.file("err.txt"), &status);
    EXPECT_EQ(kExitLines, out) << "no game to destroy, no image loaded";
    EXPECT_EQ(1, status);
    std::string err = read_file(dir.file("err.txt"));
    EXPECT_EQ(0u, err.find("Couldn't open the joystick: ")) << err;
    EXPECT_EQ('\n', err.back());
}

TEST(StartupTest, FailedSdlStartPrintsNothingButTheExitLines) {
    TempDir dir("start-nosdl");
    int status = -1;
    std::string out = run_in(dir.path, binary("rampartica"), dir.file("err.txt"), &status, "no-such-driver");
    EXPECT_EQ(kExitLines, out);
    EXPECT_EQ(1, status);
    EXPECT_EQ("", read_file(dir.file("err.txt")));
}

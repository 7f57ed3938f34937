// ./test runs the suite on both SDL 1.2s; make sure each run really uses the
// library it claims to, or the second run would prove nothing.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(SdlLibraryTest, RunsOnTheLibraryTheRunAskedFor) {
    const SDL_version* v = SDL_Linked_Version();
    const char* expect = std::getenv("RAMPARTICA_EXPECT_SDL");
    std::string want = expect ? expect : "";
    ASSERT_EQ(1, v->major);
    ASSERT_EQ(2, v->minor);
    if (want == "compat") {
        EXPECT_GE(v->patch, 50) << "sdl12-compat reports 1.2.50 and later";
    } else if (want == "classic") {
        EXPECT_LT(v->patch, 50) << "classic SDL 1.2 is 1.2.15";
    } else {
        GTEST_SKIP() << "no library named for this run";
    }
}

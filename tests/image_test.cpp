// Loading pictures, blitting them, and what happens when one is missing.
#include "gfx/image.h"
#include "gfx/screen.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <unistd.h>

TEST(ImageTest, LoadsInTheDisplayFormatWithoutColourKey) {
    SDL_Surface* s = load_image("img/sidebar.bmp");
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(80, s->w);
    EXPECT_EQ(240, s->h);
    EXPECT_EQ(screen->format->BitsPerPixel, s->format->BitsPerPixel);
    EXPECT_EQ(0u, s->flags & SDL_SRCCOLORKEY);
    SDL_FreeSurface(s);
}

TEST(ImageTest, ApplySurfaceDrawsOnlyTheVisiblePart) {
    SDL_Surface* dst = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 16, 0xF800, 0x07E0, 0x001F, 0);
    SDL_Surface* src = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 16, 0xF800, 0x07E0, 0x001F, 0);
    SDL_FillRect(dst, nullptr, 0);
    SDL_FillRect(src, nullptr, 0xFFFF);
    apply_surface(-2, 6, src, dst);
    int lit = 0;
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++)
            if (surface_rgb(dst, x, y) != 0) {
                lit++;
                EXPECT_LT(x, 2);
                EXPECT_GE(y, 6);
            }
    EXPECT_EQ(4, lit);
    SDL_FreeSurface(src);
    SDL_FreeSurface(dst);
}

TEST(ImageDeathTest, MissingFileEndsTheProcessWithItsName) {
    TempDir dir("noimg");
    std::string log = dir.file("out.txt");
    EXPECT_EXIT(
        {
            if (!freopen(log.c_str(), "w", stdout)) _exit(4);
            load_image("img/help-that-is-not-there.bmp");
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ("couldnt load file: img/help-that-is-not-there.bmp\n", read_file(log));
}

TEST(ImageDeathTest, AFileThatIsNotABitmapCountsAsMissing) {
    TempDir dir("notbmp");
    dir.write("junk.bmp", "this is not a picture at all, just text");
    std::string log = dir.file("out.txt");
    std::string junk = dir.file("junk.bmp");
    EXPECT_EXIT(
        {
            if (!freopen(log.c_str(), "w", stdout)) _exit(4);
            load_image(junk);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ("couldnt load file: " + junk + "\n", read_file(log));
}

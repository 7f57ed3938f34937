// The loading screen, pixel by pixel: frame, bar segments, the red error
// bar and the centred texts.
#include "game/sim.h"
#include "gfx/font.h"
#include "gfx/pixels.h"
#include "gfx/screen.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Draws the loading screen over a blue one, then repaints in its place the
// screen the layout gives: black, the grey 202x18 frame at (59, 111) and
// inside it copies of the bar from x = 60, two pixels apart, or on error the
// red bar; over them the texts, centred on (160, 120 + 16 k) ("" for none).
// They must match; an error shows texts[0] as its message.
void expect_screen(Sim& sim, int progress, bool error, const std::vector<std::string>& texts) {
    SCOPED_TRACE(testing::Message() << "progress " << progress << (error ? ", error" : ""));
    test_clock_reset();
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 9, 99, 199));
    sim.updatescreen(progress, error ? texts[0].c_str() : "not shown", error);
    const Uint32 grey = SDL_MapRGB(screen->format, 128, 128, 128), red = SDL_MapRGB(screen->format, 255, 0, 0);
    std::vector<Uint32> got;
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++) {
            got.push_back(getpixel(screen, x, y));
            bool frame = x >= 59 && x <= 260 && y >= 111 && y <= 128, inner = x >= 60 && x <= 259 && y >= 112 && y <= 127;
            static_cast<Uint16*>(screen->pixels)[y * screen->pitch / 2 + x] =  // the screen has 16 bits a pixel
                !frame ? 0 : !inner ? grey : error ? red : x < 60 + 2 * progress ? getpixel(sim.bar, x % 2, y - 112) : grey;
        }
    for (size_t k = 0; k < texts.size(); k++) draw_text(160, 120 + 16 * k, texts[k].c_str(), 1, 0);
    int wrong = 0;
    for (int i = 0; i < 320 * 240; i++) wrong += got[i] != getpixel(screen, i % 320, i / 320);
    EXPECT_EQ(0, wrong) << "pixels";
    EXPECT_EQ(error ? std::vector<Uint32>{2000} : std::vector<Uint32>{}, test_delays());
}

TEST(LoadingScreenTest, FrameUpToAHundredSegmentsRedBarHeldTwoSecondsAndTextsOnTheirRows) {
    Sim sim;
    sim.set_bar("img/bar.bmp");  // the game's own 2x16 bar: its two columns differ in row 1
    ASSERT_NE(getpixel(sim.bar, 0, 1), getpixel(sim.bar, 1, 1));
    expect_screen(sim, 0, false, {"Loading..."});
    expect_screen(sim, 150, false, {"Loading..."});  // the last of 100 segments at x = 258
    expect_screen(sim, 7, true, {"Unable to open level.txt!"});
    std::strcpy(sim.levelinfo[0], "Meadow");
    std::strcpy(sim.levelinfo[1], "Green");
    std::strcpy(sim.levelinfo[2], "Ann");
    expect_screen(sim, 7, false, {"Loading...", "Meadow", "Green", "By: Ann"});
    // Alone, the author stays on its row; "By: " and a long author are cut at 99 characters.
    const std::string author = std::string(90, 'A') + "BCDEFGHIJK" + std::string(50, 'L');
    sim.levelinfo[0][0] = sim.levelinfo[1][0] = '\0';
    std::strcpy(sim.levelinfo[2], author.c_str());
    expect_screen(sim, 3, false, {"Loading...", "", "", "By: " + author.substr(0, 95)});
}

}  // namespace

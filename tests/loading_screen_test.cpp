// The loading screen, pixel by pixel: frame, bar segments, the red error
// bar and the centred texts.
#include "app/globals.h"
#include "game/sim.h"
#include "gfx/font.h"
#include "gfx/pixels.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Texts = std::vector<std::pair<int, std::string>>;

Uint32 rgb(Uint8 r, Uint8 g, Uint8 b) { return SDL_MapRGB(screen->format, r, g, b); }
Uint32 at(int x, int y) { return getpixel(screen, x, y); }

// Where the screen is white: the glyphs of its texts.
std::vector<bool> glyphs() {
    std::vector<bool> white;
    for (int i = 0; i < 320 * 240; i++) white.push_back(at(i % 320, i / 320) == rgb(255, 255, 255));
    return white;
}
// The same for these texts drawn alone, each centred on (160, y).
std::vector<bool> glyphs_of(const Texts& texts) {
    SDL_FillRect(screen, nullptr, 0);
    for (const auto& t : texts) draw_text(160, t.first, t.second.c_str(), 1, 0);
    return glyphs();
}

class LoadingScreenTest : public ::testing::Test {
protected:
    Sim sim;
    const Uint32 grey = rgb(128, 128, 128), red = rgb(255, 0, 0);
    // The game's own 2x16 bar: its two columns differ in row 1.
    void SetUp() override { sim.set_bar("img/bar.bmp"); test_clock_reset(); }
};

TEST_F(LoadingScreenTest, FrameAndSegmentsTwoPixelsApartUpToAHundred) {
    SDL_FillRect(screen, nullptr, rgb(9, 99, 199));
    sim.updatescreen(0, "ignored without error", false);
    std::vector<bool> text = glyphs();
    // The grey 202x18 frame at (59, 111) without a segment, black all around;
    // the box of the text (x = 129 to 191, y = 113 to 127) is skipped here and
    // left to the glyph comparison.
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x = x == 128 && y >= 113 && y <= 127 ? 192 : x + 1)
            EXPECT_EQ(x >= 59 && x <= 260 && y >= 111 && y <= 128 ? grey : 0u, at(x, y)) << x << "," << y;
    EXPECT_EQ(glyphs_of({{120, "Loading..."}}), text);
    EXPECT_TRUE(test_delays().empty());
    // Segment i at x = 60 + 2i for i < progress and i < 100: the last at 258.
    ASSERT_NE(getpixel(sim.bar, 0, 1), getpixel(sim.bar, 1, 1));
    for (int progress : {7, 150}) {
        sim.updatescreen(progress, "", false);
        const int end = progress == 7 ? 74 : 260;
        for (int x = 59; x <= 261; x++)
            for (int y : {112, 113}) {  // the bar's rows above the text
                Uint32 want = x >= 60 && x < end ? getpixel(sim.bar, x % 2, y - 112) : x <= 260 ? grey : 0;
                EXPECT_EQ(want, at(x, y)) << progress << ": " << x << "," << y;
            }
    }
}

TEST_F(LoadingScreenTest, AnErrorCoversTheBarInRedAndHoldsTwoSeconds) {
    sim.updatescreen(7, "Unable to open level.txt!", true);
    std::vector<bool> text = glyphs();
    // The 200x16 red bar covers the seven segments (the message's box, x = 84
    // to 236, is skipped here); the message stands on it.
    for (int y = 112; y <= 127; y++)
        for (int x = 59; x <= 260; x = x == 83 ? 237 : x + 1)
            EXPECT_EQ(x == 59 || x == 260 ? grey : red, at(x, y)) << x << "," << y;
    EXPECT_EQ(glyphs_of({{120, "Unable to open level.txt!"}}), text);
    EXPECT_EQ((std::vector<Uint32>{2000}), test_delays());
}

TEST_F(LoadingScreenTest, TextsKeepTheirRowsAndALongAuthorIsCutAfter95Characters) {
    const std::string author = std::string(90, 'A') + "BCDEFGHIJK" + std::string(50, 'L');
    const char* info[][3] = {{"Meadow", "Green", "Ann"}, {"", "", author.c_str()}};
    const Texts want[] = {
        {{120, "Loading..."}, {136, "Meadow"}, {152, "Green"}, {168, "By: Ann"}},
        {{120, "Loading..."}, {168, "By: " + author.substr(0, 95)}},  // alone, still on its row at cy + 48
    };
    for (int i = 0; i < 2; i++) {
        for (int k = 0; k < 3; k++) std::strcpy(sim.levelinfo[k], info[i][k]);
        sim.updatescreen(3, "", false);
        std::vector<bool> text = glyphs();
        EXPECT_EQ(glyphs_of(want[i]), text) << i;
    }
}

}  // namespace

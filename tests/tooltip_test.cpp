// Tooltip boxes measured on the screen, and the line splitting behind them.
#include "app/globals.h"
#include "game/sim.h"
#include "gfx/font.h"
#include "gfx/text_lines.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const Uint32 kBackdrop = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0x000000;

class TooltipTest : public ::testing::Test {
protected:
    Sim* g = nullptr;
    void SetUp() override {
        draw_text(0, 0, "", 0, 0);
        g = new Sim();
    }
    void TearDown() override { delete g; }

    // Draws the tooltip on a blue screen and measures the box whose border
    // starts at (bx, by) along its top and left lines, which are one pixel
    // longer than the box: returns {width, height}.
    std::pair<int, int> box(int x, int y, const std::string& text, int bx, int by) {
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 255));
        g->tooltip(x, y, text.c_str());
        if (bx > 0) {
            EXPECT_NE(kWhite, screen_rgb(bx - 1, by)) << text;
        }
        if (by > 0) {
            EXPECT_NE(kWhite, screen_rgb(bx, by - 1)) << text;
        }
        int w = 0, h = 0;
        while (bx + w < 320 && screen_rgb(bx + w, by) == kWhite) w++;
        while (by + h < 240 && screen_rgb(bx, by + h) == kWhite) h++;
        return {w - 1, h - 1};
    }
};

using Size = std::pair<int, int>;

}  // namespace

TEST_F(TooltipTest, BoxFitsTheWidestLineWithTheBorderOutside) {
    EXPECT_EQ(Size(62, 44), box(10, 10, "abcdef#abcdefghi#abcdefgh", 10, 10));
    for (int y = 10; y <= 54; y++) EXPECT_EQ(kWhite, screen_rgb(72, y)) << y;
    for (int x = 10; x <= 72; x++) EXPECT_EQ(kWhite, screen_rgb(x, 54)) << x;
    EXPECT_EQ(kBackdrop, screen_rgb(73, 20));
    EXPECT_EQ(kBackdrop, screen_rgb(20, 55));

    // Line i at (x + 4, y + 12 i + 4) over the black fill, margins included.
    std::vector<Uint32> drawn, expected;
    for (int y = 11; y < 54; y++)
        for (int x = 11; x < 72; x++) drawn.push_back(screen_rgb(x, y));
    SDL_Rect inside = {11, 11, 61, 43};
    SDL_FillRect(screen, &inside, SDL_MapRGB(screen->format, 0, 0, 0));
    draw_text(14, 14, "abcdef", 0, 0);
    draw_text(14, 26, "abcdefghi", 0, 0);
    draw_text(14, 38, "abcdefgh", 0, 0);
    for (int y = 11; y < 54; y++)
        for (int x = 11; x < 72; x++) expected.push_back(screen_rgb(x, y));
    EXPECT_EQ(expected, drawn);
}

TEST_F(TooltipTest, HashesSplitLinesAndEmptyPiecesVanish) {
    EXPECT_EQ(Size(14, 32), box(10, 10, "A##B", 10, 10));
    EXPECT_EQ(Size(14, 44), box(10, 10, "A# #B", 10, 10));  // a blank makes a line
    EXPECT_EQ(Size(14, 20), box(10, 10, "#A#", 10, 10));
    EXPECT_EQ(Size(8, 20), box(10, 10, "", 10, 10));      // one empty line
    EXPECT_EQ(Size(26, 20), box(10, 10, "###", 10, 10));  // separators only: shown as they are
    std::string twelve;
    for (int i = 0; i < 12; i++) twelve += "line#";
    EXPECT_EQ(Size(32, 128), box(10, 10, twelve, 10, 10));  // cut to ten lines
}

TEST_F(TooltipTest, BoxIsKeptOnTheScreen) {
    EXPECT_EQ(Size(200, 20), box(10, 10, std::string(32, 'w'), 10, 10));  // fits where asked
    box(10, 10, std::string(52, 'w'), 0, 10);  // 320 wide: moved to x = 0
    EXPECT_EQ(kWhite, screen_rgb(0, 30));
    EXPECT_EQ(kBlack, screen_rgb(1, 11));
    box(10, 10, std::string(60, 'w'), 0, 10);  // wider than the screen: at 0 too
    EXPECT_EQ(kWhite, screen_rgb(0, 30));
    box(310, 230, "x", 306, 220);  // 14x20 pushed back inside
    EXPECT_EQ(kWhite, screen_rgb(306, 239));
    EXPECT_EQ(kBlack, screen_rgb(307, 221));
    EXPECT_EQ(Size(14, 20), box(-5, -7, "x", 0, 0));
}

TEST(TextLinesTest, OnlyTheFirst999CharactersAreRead) {
    static TextLines lines;
    // The 'c' after the '#' at index 997 is the 999th character, the last read.
    std::string text = "a#" + std::string(995, 'b') + "#c";
    split_text_lines(text.c_str(), lines);
    ASSERT_EQ(3, lines.count);
    EXPECT_STREQ("c", lines.line[2]);
    EXPECT_EQ(399u, std::strlen(lines.line[1]));  // a long line keeps 399
    EXPECT_EQ(6 * 399 + 8, lines.width);
    EXPECT_EQ(44, lines.height);

    text = "a#" + std::string(996, 'b') + "#c";  // the 'c' is the 1000th: dropped
    split_text_lines(text.c_str(), lines);
    EXPECT_EQ(2, lines.count);

    split_text_lines(std::string(1200, '#').c_str(), lines);  // the text itself, cut
    ASSERT_EQ(1, lines.count);
    EXPECT_EQ(399u, std::strlen(lines.line[0]));
}

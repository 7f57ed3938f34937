// Tooltip boxes measured on the screen and compared with a model of them.
#include "app/globals.h"
#include "game/sim.h"
#include "gfx/font.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Draws the tooltip on a blue screen and finds its white border's top-left
// corner; the size is measured along the top and left lines, which are one
// pixel longer than the box, where the screen does not cut them.
std::vector<int> measure(int x, int y, const std::string& text) {
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 255));
    Sim().tooltip(x, y, text.c_str());
    int i = 0, w = 0, h = 0;
    while (i < 320 * 240 && screen_rgb(i % 320, i / 320) != 0xFFFFFF) i++;
    while (i % 320 + w < 320 && screen_rgb(i % 320 + w, i / 320) == 0xFFFFFF) w++;
    while (i / 320 + h < 240 && screen_rgb(i % 320, i / 320 + h) == 0xFFFFFF) h++;
    return {i % 320, i / 320, w - 1, h - 1};
}

std::vector<Uint32> area(int x, int y, int w, int h) {
    std::vector<Uint32> out;
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++) out.push_back(screen_rgb(i, j));
    return out;
}

}  // namespace

TEST(TooltipTest, BoxFitsItsLinesAndStaysOnTheScreen) {
    const struct { int x, y; std::string text; std::vector<int> box; } cases[] = {
        {10, 10, "abcdef#abcdefghi#abcdefgh", {10, 10, 62, 44}},  // 6 * 9 + 8 by 12 * 3 + 8
        {10, 10, "A##B", {10, 10, 14, 32}},                       // empty pieces make no line
        {10, 10, "A# #B", {10, 10, 14, 44}},                      // a blank does
        {10, 10, "", {10, 10, 8, 20}},                            // one empty line
        {10, 10, std::string(32, 'w'), {10, 10, 200, 20}},        // fits where asked
        {10, 10, std::string(52, 'w'), {0, 10, 319, 20}},         // 320 wide: at x = 0, its right line off screen
        {310, 230, "x", {306, 220, 13, 19}},                      // pushed back inside: 14 by 20
        {-5, -7, "x", {0, 0, 14, 20}},
        // Texts are cut after 999 characters: the 'c' is the 999th, then the 1000th.
        {10, 10, "a#" + std::string(995, 'b') + "#c", {0, 10, 319, 44}},
        {10, 10, "a#" + std::string(996, 'b') + "#c", {0, 10, 319, 32}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.box, measure(c.x, c.y, c.text)) << "\"" << c.text << "\" at " << c.x;
}

TEST(TooltipTest, BoxIsBlackWithItsBorderOutsideAndTheLinesInset) {
    // The model: a black box whose white border's right and bottom lines lie
    // one pixel outside it, and line i at (x + 4, y + 12 i + 4).
    measure(10, 10, "abcdef#abcdefghi#abcdefgh");
    std::vector<Uint32> drawn = area(0, 0, 100, 70);
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 255));
    SDL_Rect border = {10, 10, 63, 45}, inside = {11, 11, 61, 43};
    SDL_FillRect(screen, &border, SDL_MapRGB(screen->format, 255, 255, 255));
    SDL_FillRect(screen, &inside, SDL_MapRGB(screen->format, 0, 0, 0));
    multiline_draw_text(10, 10, "abcdef#abcdefghi#abcdefgh", false, false);
    EXPECT_EQ(area(0, 0, 100, 70), drawn);
}

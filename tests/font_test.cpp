// Text where the rules put it, centred and kept on the screen, and text
// blocks cut to their buffers. (Ordinary text is in every golden frame; a
// missing glyph strip ends the game through the same load as a missing
// picture, see the start-up test.)
#include "gfx/font.h"
#include "gfx/screen.h"
#include "gfx/text_picture.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The screen's bytes after `draw` on a blue screen.
std::string drawn(const std::function<void()>& draw) {
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 255));
    draw();
    return std::string(static_cast<const char*>(screen->pixels), screen->pitch * screen->h);
}

// Each call draws what plain lines at the given corners draw.
TEST(FontTest, CentreClampAndBlocksPlaceTheirLinesAndEveryByteHasItsOwnGlyph) {
    using Lines = std::vector<std::tuple<int, int, const char*>>;
    const std::pair<std::function<void()>, Lines> cases[] = {
        {[] { draw_text(300, -5, "0123456789", 1, 1); }, {{260, 0, "0123456789"}}},
        {[] { draw_text(-3.5f, 231, "x", 0, 1); }, {{0, 228, "x"}}},
        {[] { multiline_draw_text(160, 120, "A##0123456789", true, true); }, {{130, 108, "A"}, {130, 120, "0123456789"}}},
        {[] { multiline_draw_text(-20, 300, "A", false, true); }, {{4, 224, "A"}}},
    };
    for (const auto& c : cases) {
        const Lines& lines = c.second;  // a named reference: clang 14 cannot capture a structured binding
        EXPECT_EQ(drawn([&] { for (auto [x, y, text] : lines) draw_text_at(x, y, text, 0, 0); }), drawn(c.first))
            << std::get<2>(lines[0]);
    }
    // A glyph is its shadow one pixel down-right, then the white glyph, from
    // the cell of its byte: 0xE9 at x = 1398, not a sign-extended one.
    auto glyph = [](int x, int y) {
        SDL_Rect cell = {1398, 0, 6, 12}, shadow = {Sint16(x + 1), Sint16(y + 1), 0, 0}, at = {Sint16(x), Sint16(y), 0, 0};
        SDL_BlitSurface(letters_black, &cell, screen, &shadow);
        SDL_BlitSurface(letters, &cell, screen, &at);
    };
    EXPECT_EQ(drawn([&] { glyph(10, 10); }), drawn([] { draw_text(10, 10, "\xE9", 0, 0); }));
}

TEST(TextLinesTest, SplitsLikeStrtokAndCutsWhatWouldNotFit) {
    std::string twelve;
    for (char c = 'a'; c < 'a' + 12; c++) twelve += std::string(1, c) + "#";
    const struct { std::string text; int count; std::string last; int width, height; } cases[] = {
        {"#A##B#", 2, "B", 14, 32},
        {"###", 1, "###", 26, 20},  // no piece at all: the whole text is the line
        {twelve, 10, "j", 14, 128},
        {std::string(600, 'x'), 1, std::string(399, 'x'), 2402, 20},
        {std::string(5000, '#'), 1, std::string(399, '#'), 2402, 20},
        {"a#" + std::string(995, 'b') + "#c", 3, "c", 2402, 44},  // the 999th character
        {"a#" + std::string(996, 'b') + "#c", 2, std::string(399, 'b'), 2402, 32},  // the 1000th
    };
    for (const auto& c : cases) {
        TextLines t;
        split_text_lines(c.text.c_str(), t);
        EXPECT_EQ(std::make_tuple(c.count, c.last, c.width, c.height),
                  std::make_tuple(t.count, std::string(t.line[t.count - 1]), int(t.width), t.height))
            << c.text.substr(0, 20);
    }
}

// A kept picture of a line shows what draw_text shows there: whole and
// fractional places, cut by the screen's edges, and the places where the
// glyphs do not stand 6 pixels apart (left of 0 between whole pixels),
// which it leaves to draw_text.
TEST(FontTest, TextPicturesDrawWhatDrawTextDraws) {
    draw_text(0, 0, "", 0, 0);  // loads the strips
    TextPictures pictures(2);
    const std::string wide(150, 'w');  // wider than the screen
    const struct { float x, y; const char* text; } cases[] = {
        {10, 20, "Level completed! Bonus: 7"}, {10.75f, 20.5f, "Level completed! Bonus: 7"},
        {250, 235, "Not enough money to buy Ridge Sniper!"}, {-3.5f, 100, "Slides out to the left"},
        {-0.4f, -5, "Above the top"}, {0, 0, ""}, {5, 5, wide.c_str()},
    };
    for (const auto& c : cases)
        for (int pass = 0; pass < 2; pass++)  // made, then kept
            EXPECT_TRUE(drawn([&] { draw_text(c.x, c.y, c.text, 0, 0); }) == drawn([&] { pictures.draw(c.x, c.y, c.text); }))
                << c.text << " at " << c.x << "," << c.y << ", pass " << pass;
    // One picture for lines that begin alike, as the ticker's counts do: each
    // replaces the other, and the shorter must not keep the longer's name.
    TextPictures one(1);
    for (const char* text : {"Wave 10 is coming!", "Wave 1", "Wave 10 is coming!", "Wave 1"})
        EXPECT_TRUE(drawn([&] { draw_text(10, 20, text, 0, 0); }) == drawn([&] { one.draw(10, 20, text); })) << text;
}

}  // namespace

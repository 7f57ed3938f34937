// Text drawing checked against a model built from the glyph strips
// themselves, so the tests hold whatever the glyphs look like.
#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "gfx/text_picture.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
const Uint32 kBackdrop = 0x0000FF;  // neither glyph colour

struct Model {
    std::vector<Uint32> px = std::vector<Uint32>(320 * 240, kBackdrop);
    void put(int x, int y, Uint32 c) {
        if (x >= 0 && y >= 0 && x < 320 && y < 240) px[y * 320 + x] = c;
    }
    // One glyph as the game draws it: shadow first, then the white glyph.
    void glyph(unsigned char c, int x, int y) {
        for (int gy = 0; gy < 12; gy++)
            for (int gx = 0; gx < 6; gx++)
                if (surface_rgb(letters_black, 6 * c + gx, gy) == 0x000000) put(x + gx + 1, y + gy + 1, 0x000000);
        for (int gy = 0; gy < 12; gy++)
            for (int gx = 0; gx < 6; gx++)
                if (surface_rgb(letters, 6 * c + gx, gy) == 0xFFFFFF) put(x + gx, y + gy, 0xFFFFFF);
    }
    void text(const char* s, int x, int y) {
        for (int i = 0; s[i]; i++) glyph(static_cast<unsigned char>(s[i]), x + 6 * i, y);
    }
};

void clear_screen() { SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 255)); }

// Compares the whole screen with the model; reports the first difference.
::testing::AssertionResult matches(const Model& m) {
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++)
            if (screen_rgb(x, y) != m.px[y * 320 + x])
                return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << std::hex << screen_rgb(x, y)
                                                     << ", expected " << m.px[y * 320 + x];
    return ::testing::AssertionSuccess();
}

class FontTest : public ::testing::Test {
protected:
    void SetUp() override {
        draw_text(0, 0, "", 0, 0);  // loads the strips
        clear_screen();
    }
};
}  // namespace

TEST_F(FontTest, CentredTextStartsHalfItsSizeUpAndLeft) {
    draw_text(100, 50, "Hello", 1, 0);
    Model m;
    m.text("Hello", 85, 44);
    EXPECT_TRUE(matches(m));
}

TEST_F(FontTest, ClampKeepsTheLineOnScreen) {
    draw_text(300, -5, "0123456789", 0, 1);
    Model m;
    m.text("0123456789", 260, 0);
    EXPECT_TRUE(matches(m));

    // Without clamp a line partly off the screen is clipped, not moved.
    clear_screen();
    draw_text(-9, 230, "abcdef", 0, 0);
    Model b;
    b.text("abcdef", -9, 230);
    EXPECT_TRUE(matches(b));
}

TEST_F(FontTest, BytesAbove127PickTheirOwnCell) {
    // 0xE9 must select the cell at x = 1398, not a sign-extended one.
    draw_text(10, 10, "\xE9", 0, 0);
    Model m;
    m.glyph(0xE9, 10, 10);
    EXPECT_TRUE(matches(m));
    bool inked = false;
    for (int x = 1398; x < 1404; x++)
        for (int y = 0; y < 12; y++) inked |= surface_rgb(letters, x, y) == 0xFFFFFF;
    EXPECT_TRUE(inked) << "the Latin-1 e-acute cell is drawn";
}

TEST_F(FontTest, MultilineSplitsAtHashesAndSkipsEmptyPieces) {
    multiline_draw_text(20, 30, "A##B", false, false);
    Model m;
    m.text("A", 24, 34);
    m.text("B", 24, 46);
    EXPECT_TRUE(matches(m));
}

TEST_F(FontTest, MultilineClampsTheWholeBlock) {
    multiline_draw_text(2, 226, "Level selector:#Press START to quit#B to select a level#Y to see help", false, true);
    Model m;
    m.text("Level selector:", 6, 188);
    m.text("Press START to quit", 6, 200);
    m.text("B to select a level", 6, 212);
    m.text("Y to see help", 6, 224);
    EXPECT_TRUE(matches(m));
}

TEST_F(FontTest, MultilineCentresTheBlock) {
    multiline_draw_text(160, 120, "0123456789", true, false);
    Model m;
    m.text("0123456789", 130, 114);
    EXPECT_TRUE(matches(m));
}

TEST_F(FontTest, OversizedBlocksAreCutNotOverrun) {
    // Twelve lines: the first ten are drawn. A 600-character line is cut to
    // 399 characters; a 5000-character text to its first 999.
    std::string text;
    for (int i = 0; i < 12; i++) text += std::string(1, static_cast<char>('a' + i)) + "#";
    multiline_draw_text(0, 0, text.c_str(), false, false);
    Model m;
    for (int i = 0; i < 10; i++) m.text(std::string(1, static_cast<char>('a' + i)).c_str(), 4, 4 + 12 * i);
    EXPECT_TRUE(matches(m));

    clear_screen();
    multiline_draw_text(0, 0, std::string(600, 'x').c_str(), false, false);
    multiline_draw_text(0, 0, std::string(5000, '#').c_str(), false, true);
    // No overrun: the sanitizer build checks these two calls.
}

// A kept picture of a line shows what draw_text shows there: whole and
// fractional places, cut by the screen's edges, and the places where the
// glyphs do not stand 6 pixels apart (left of 0 between whole pixels),
// which it leaves to draw_text.
TEST_F(FontTest, TextPicturesDrawWhatDrawTextDraws) {
    TextPictures pictures(2);
    const std::string wide(150, 'w');  // wider than the screen
    const struct { float x, y; const char* text; } cases[] = {
        {10, 20, "Level completed! Bonus: 7"}, {10.75f, 20.5f, "Level completed! Bonus: 7"},
        {250, 235, "Not enough money to buy Ridge Sniper!"}, {-3.5f, 100, "Slides out to the left"},
        {-0.4f, -5, "Above the top"}, {0, 0, ""}, {5, 5, wide.c_str()},
    };
    for (const auto& c : cases) {
        for (int pass = 0; pass < 2; pass++) {  // made, then kept
            std::vector<Uint32> want, got;
            for (auto* seen : {&want, &got}) {
                clear_screen();
                if (seen == &want) draw_text(c.x, c.y, c.text, 0, 0);
                else pictures.draw(c.x, c.y, c.text);
                for (int i = 0; i < 320 * 240; i++) seen->push_back(screen_rgb(i % 320, i / 320));
            }
            EXPECT_TRUE(want == got) << c.text << " at " << c.x << "," << c.y << ", pass " << pass;
        }
    }
}

TEST(FontDeathTest, MissingGlyphStripStopsLikeAMissingImage) {
    TempDir dir("nofont");
    std::string log = dir.file("out.txt");
    EXPECT_EXIT(
        {
            letters = nullptr;
            if (chdir(dir.path.c_str()) != 0) _exit(3);
            if (!freopen(log.c_str(), "w", stdout)) _exit(4);
            draw_text(0, 0, "x", 0, 0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ("couldnt load file: letters.bmp\n", read_file(log));
}

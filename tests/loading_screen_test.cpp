// The loading screen, pixel by pixel: frame, bar segments, the red error
// bar and the centred texts.
#include "app/globals.h"
#include "game/sim.h"
#include "gfx/font.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

Uint32 shown(Uint8 r, Uint8 g, Uint8 b) {
    Uint8 rr, gg, bb;
    SDL_GetRGB(SDL_MapRGB(screen->format, r, g, b), screen->format, &rr, &gg, &bb);
    return Uint32(rr) << 16 | Uint32(gg) << 8 | bb;
}

struct Box {
    int x0 = 10000, y0 = 10000, x1 = -1, y1 = -1, count = 0;
};

// Where the white glyph pixels are between rows y0 and y1 (inclusive).
Box white_in_rows(int y0, int y1) {
    Box b;
    for (int y = y0; y <= y1; y++)
        for (int x = 0; x < 320; x++)
            if (screen_rgb(x, y) == 0xFFFFFF) {
                b.x0 = std::min(b.x0, x);
                b.x1 = std::max(b.x1, x);
                b.y0 = std::min(b.y0, y);
                b.y1 = std::max(b.y1, y);
                b.count++;
            }
    return b;
}

// A text of n characters centred on x = 160 covers [160 - 3n, 160 + 3n).
void expect_centred(const Box& b, int n) {
    EXPECT_GT(b.count, 0);
    EXPECT_GE(b.x0, 160 - 3 * n);
    EXPECT_LE(b.x0, 160 - 3 * n + 2);
    EXPECT_LT(b.x1, 160 + 3 * n);
    EXPECT_GE(b.x1, 160 + 3 * n - 4);
}

class LoadingScreenTest : public ::testing::Test {
protected:
    std::unique_ptr<Sim> sim{new Sim};
    Uint32 head = 0, tail = 0;  // the bar's first column and its other three

    void SetUp() override {
        // A 4-pixel bar whose first column differs: segments overlap, and
        // each segment's start shows where it begins.
        SDL_Surface* bar = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 16, 16, 0xF800, 0x07E0, 0x001F, 0);
        SDL_FillRect(bar, nullptr, SDL_MapRGB(bar->format, 0, 200, 0));
        SDL_Rect first = {0, 0, 1, 16};
        SDL_FillRect(bar, &first, SDL_MapRGB(bar->format, 0, 0, 200));
        sim->bar = bar;
        sim->barloaded = true;
        head = shown(0, 0, 200);
        tail = shown(0, 200, 0);
        test_clock_reset();
    }
    std::vector<Uint32> snapshot() const {
        std::vector<Uint32> all;
        for (int y = 0; y < 240; y++)
            for (int x = 0; x < 320; x++) all.push_back(screen_rgb(x, y));
        return all;
    }
};

TEST_F(LoadingScreenTest, StartsWithFrameAndLoadingOnBlack) {
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 9, 99, 199));
    sim->updatescreen(0, "ignored without error", false);
    const Uint32 grey = shown(128, 128, 128);
    // The frame is 202x18 at (59, 111); no segment is drawn.
    for (int x = 59; x <= 260; x++) {
        EXPECT_EQ(grey, screen_rgb(x, 111)) << x;
        EXPECT_EQ(grey, screen_rgb(x, 128)) << x;
    }
    for (int y = 111; y <= 128; y++) {
        EXPECT_EQ(grey, screen_rgb(59, y)) << y;
        EXPECT_EQ(grey, screen_rgb(260, y)) << y;
        EXPECT_EQ(0u, screen_rgb(58, y)) << y;
        EXPECT_EQ(0u, screen_rgb(261, y)) << y;
    }
    EXPECT_EQ(grey, screen_rgb(60, 112));
    EXPECT_EQ(0u, screen_rgb(160, 110));
    EXPECT_EQ(0u, screen_rgb(160, 129));
    EXPECT_EQ(0u, screen_rgb(0, 0));
    EXPECT_EQ(0u, screen_rgb(319, 239));
    // "Loading..." centred on (160, 120), and no other text.
    Box status = white_in_rows(0, 239);
    expect_centred(status, 10);
    EXPECT_GE(status.y0, 114);
    EXPECT_LT(status.y1, 126);
    EXPECT_TRUE(test_delays().empty());
}

TEST_F(LoadingScreenTest, SegmentsStandTwoPixelsApartUpToAHundred) {
    const Uint32 grey = shown(128, 128, 128);
    sim->updatescreen(150, "", false);
    std::vector<Uint32> at150 = snapshot();
    // Row 112 is above the text: each segment starts at 60 + 2i, i < 100.
    for (int x = 60; x <= 258; x += 2) EXPECT_EQ(head, screen_rgb(x, 112)) << x;
    for (int x = 61; x <= 261; x += 2) EXPECT_EQ(tail, screen_rgb(x, 112)) << x;
    EXPECT_EQ(tail, screen_rgb(260, 127));
    EXPECT_EQ(0u, screen_rgb(262, 112));
    EXPECT_EQ(grey, screen_rgb(59, 112));

    sim->updatescreen(100, "", false);
    EXPECT_EQ(at150, snapshot());

    sim->updatescreen(7, "", false);
    EXPECT_EQ(head, screen_rgb(72, 112));
    EXPECT_EQ(tail, screen_rgb(75, 112));
    EXPECT_EQ(grey, screen_rgb(76, 112));
    EXPECT_EQ(grey, screen_rgb(200, 112));

    for (int none : {0, -5}) {
        sim->updatescreen(none, "", false);
        EXPECT_EQ(grey, screen_rgb(60, 112)) << none;
    }
}

TEST_F(LoadingScreenTest, AnErrorCoversTheBarInRedAndHoldsTwoSeconds) {
    const char* message = "Unable to open level.txt!";
    sim->updatescreen(7, message, true);
    const Uint32 red = shown(255, 0, 0);
    for (int x = 60; x <= 259; x++) {
        EXPECT_EQ(red, screen_rgb(x, 112)) << x;
        EXPECT_EQ(red, screen_rgb(x, 127)) << x;
    }
    EXPECT_EQ(shown(128, 128, 128), screen_rgb(260, 112));
    EXPECT_EQ(red, screen_rgb(62, 120));  // a covered segment
    expect_centred(white_in_rows(0, 239), static_cast<int>(std::strlen(message)));
    EXPECT_EQ((std::vector<Uint32>{2000}), test_delays());
}

TEST_F(LoadingScreenTest, NameCommentAndAuthorKeepTheirRows) {
    // Everything below the frame, against the same texts drawn on their own.
    auto below_frame = [] {
        std::vector<Uint32> rows;
        for (int y = 129; y < 240; y++)
            for (int x = 0; x < 320; x++) rows.push_back(screen_rgb(x, y));
        return rows;
    };
    std::strcpy(sim->levelinfo[2], "Ann");
    sim->updatescreen(3, "", false);
    std::vector<Uint32> author_only = below_frame();
    // Only the author, still on its own row at cy + 48.
    SDL_FillRect(screen, nullptr, 0);
    draw_text(160, 168, "By: Ann", 1, 0);
    EXPECT_EQ(below_frame(), author_only);
    expect_centred(white_in_rows(156, 239), 7);

    std::strcpy(sim->levelinfo[0], "Meadow");
    std::strcpy(sim->levelinfo[1], "Green and easy");
    sim->updatescreen(3, "", false);
    std::vector<Uint32> all_three = below_frame();
    SDL_FillRect(screen, nullptr, 0);
    draw_text(160, 136, "Meadow", 1, 0);
    draw_text(160, 152, "Green and easy", 1, 0);
    draw_text(160, 168, "By: Ann", 1, 0);
    EXPECT_EQ(below_frame(), all_three);
}

TEST_F(LoadingScreenTest, AnAuthorTooLongForTheLineIsCutAfter95Characters) {
    std::string author;
    for (int i = 0; i < 150; i++) author += static_cast<char>('A' + i % 26);
    std::strcpy(sim->levelinfo[2], author.c_str());
    sim->updatescreen(0, "", false);
    std::vector<Uint32> drawn;
    for (int y = 156; y < 180; y++)
        for (int x = 0; x < 320; x++) drawn.push_back(screen_rgb(x, y));

    SDL_FillRect(screen, nullptr, 0);
    draw_text(160, 168, ("By: " + author.substr(0, 95)).c_str(), 1, 0);
    std::vector<Uint32> expected;
    for (int y = 156; y < 180; y++)
        for (int x = 0; x < 320; x++) expected.push_back(screen_rgb(x, y));
    EXPECT_EQ(expected, drawn);
}

}  // namespace

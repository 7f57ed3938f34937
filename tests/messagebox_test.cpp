// The message ticker: copies, queueing, slide timing and where lines are drawn.
#include "support/test_env.h"

#include "app/globals.h"
#include "gfx/font.h"
#include "view/messagebox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

// What the box shows after a step: r rising, s standing, o sliding out, - nothing.
char phase(const Messagebox& b) {
    if (b.lines.empty()) return '-';
    if (b.animating) return b.incoming ? 'r' : 'o';
    return 's';
}

// Runs of equal phases over `frames` steps.
std::vector<std::pair<char, int>> phases(Messagebox& b, int frames) {
    std::vector<std::pair<char, int>> runs;
    for (int f = 0; f < frames; f++) {
        b.step();
        char p = phase(b);
        if (runs.empty() || runs.back().first != p)
            runs.push_back({p, 1});
        else
            runs.back().second++;
    }
    return runs;
}

void clear_screen() { SDL_FillRect(screen, nullptr, 0); }

std::vector<Uint32> snapshot() {
    std::vector<Uint32> pixels;
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++) pixels.push_back(screen_rgb(x, y));
    return pixels;
}

bool anything_drawn(const std::vector<Uint32>& pixels) {
    for (Uint32 p : pixels)
        if (p != 0) return true;
    return false;
}

// The box drawn by itself against the same lines drawn where they belong.
void expect_drawn_at(Messagebox& b, const std::vector<std::pair<double, double>>& at) {
    ASSERT_EQ(at.size(), b.lines.size());
    clear_screen();
    b.render();
    auto drawn = snapshot();
    clear_screen();
    for (size_t i = 0; i < at.size(); i++)
        draw_text(static_cast<float>(at[i].first), static_cast<float>(at[i].second), b.lines[i], 0,
                  0);
    auto expected = snapshot();
    EXPECT_TRUE(anything_drawn(expected));
    EXPECT_TRUE(drawn == expected);
}

TEST(MessageboxTest, EightCharacterMessageRisesStandsAndSlidesOut) {
    Messagebox b;
    b.add("12345678");
    EXPECT_TRUE(b.lines.empty()) << "nothing shows before a step";
    auto runs = phases(b, 80);
    std::vector<std::pair<char, int>> expected = {{'r', 19}, {'s', 33}, {'o', 19}, {'-', 9}};
    EXPECT_EQ(expected, runs);
}

TEST(MessageboxTest, AddKeepsItsOwnCutCopy) {
    Messagebox b;
    char text[] = "abc";
    b.add(text);
    text[0] = 'z';
    std::string longtext(250, 'q');
    longtext[198] = 'e';
    b.add(longtext.c_str());
    b.add("");
    ASSERT_EQ(3u, b.waiting.size());
    char* first = b.waiting.front();
    b.waiting.pop();
    EXPECT_STREQ("abc", first);
    delete[] first;
    char* second = b.waiting.front();
    b.waiting.pop();
    std::string cut = second;
    delete[] second;
    EXPECT_EQ(199u, cut.size());
    EXPECT_EQ('e', cut.back());
    b.step();
    EXPECT_STREQ("", b.lines.at(0));
}

TEST(MessageboxTest, SecondMessageRisesTheStepAfterTheFirstHasRisen) {
    Messagebox b;
    b.add("one");
    b.add("two");
    for (int f = 0; f < 20; f++) b.step();
    EXPECT_EQ(1u, b.lines.size());
    EXPECT_FALSE(b.animating);
    b.step();
    EXPECT_EQ(2u, b.lines.size());
    EXPECT_TRUE(b.animating && b.incoming);
    EXPECT_STREQ("two", b.lines[1]);
}

TEST(MessageboxTest, FourthMessageWaitsForTheOldestOfThreeToLeave) {
    Messagebox b;
    for (const char* m : {"Msg A.", "Msg B.", "Msg C.", "Msg D."}) b.add(m);
    for (int f = 0; f < 60; f++) b.step();
    EXPECT_EQ(3u, b.lines.size());
    EXPECT_EQ(1u, b.waiting.size());
    // Six characters among three lines stand 6 / 0.75 = 8 steps.
    for (int f = 61; f <= 68; f++) b.step();
    EXPECT_FALSE(b.animating);
    b.step();  // 69
    EXPECT_TRUE(b.animating && !b.incoming);
    for (int f = 70; f <= 88; f++) b.step();
    EXPECT_EQ(2u, b.lines.size());
    EXPECT_STREQ("Msg B.", b.lines[0]);
    EXPECT_EQ(1u, b.waiting.size());
    b.step();  // 89
    ASSERT_EQ(3u, b.lines.size());
    EXPECT_STREQ("Msg D.", b.lines[2]);
    EXPECT_TRUE(b.incoming);
}

TEST(MessageboxTest, EmptyMessageLeavesRightAfterItsSlideIn) {
    Messagebox b;
    b.add("");
    for (int f = 0; f < 20; f++) b.step();
    EXPECT_EQ('s', phase(b));
    b.step();
    EXPECT_EQ('o', phase(b));
}

TEST(MessageboxTest, ClearMidSlideShowsNothingAndTheNextRisesAsUsual) {
    Messagebox b;
    b.add("first");
    b.add("waiting");
    for (int f = 0; f < 5; f++) b.step();
    b.clear();
    EXPECT_TRUE(b.lines.empty());
    EXPECT_TRUE(b.waiting.empty());
    EXPECT_FALSE(b.animating);
    EXPECT_FALSE(b.incoming);
    EXPECT_EQ(0.0, b.anim);
    b.step();
    clear_screen();
    b.render();
    EXPECT_FALSE(anything_drawn(snapshot()));

    b.add("again");
    auto runs = phases(b, 20);
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(std::make_pair('r', 19), runs[0]);
}

TEST(MessageboxTest, LinesAreDrawnOnTheirRowsAndSlideFromThere) {
    Messagebox b;
    b.add("First line");
    b.add("Second");
    b.add("Third one");
    for (int f = 0; f < 45; f++) b.step();  // the third has risen a quarter
    ASSERT_TRUE(b.animating && b.incoming);
    ASSERT_NEAR(0.25, b.anim, 1e-9);
    double a = b.anim;
    expect_drawn_at(b, {{0, 240 - 12 * a - 24}, {0, 240 - 12 * a - 12}, {0, 240 - 12 * a}});

    for (int f = 45; f < 60; f++) b.step();
    ASSERT_FALSE(b.animating);
    expect_drawn_at(b, {{0, 204}, {0, 216}, {0, 228}});

    // "First line" stands 10 / 0.75 steps, then slides out to the left.
    for (int f = 60; f < 74; f++) b.step();
    ASSERT_TRUE(b.animating && !b.incoming);
    for (int f = 74; f < 80; f++) b.step();
    a = b.anim;
    ASSERT_NEAR(0.35, a, 1e-9);
    expect_drawn_at(b, {{-6 * a * 10, 204}, {0, 216}, {0, 228}});
}

}  // namespace

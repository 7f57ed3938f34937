// The message ticker: copies, queueing, slide timing and where lines are drawn.
#include "support/test_env.h"

#include "app/globals.h"
#include "gfx/font.h"
#include "view/messagebox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// Steps the box `frames` times and tells what it showed after each step, in
// runs: r rising, s standing, o sliding out, - nothing; e.g. "r19 s33 o19 -9".
std::string runs(Messagebox& b, int frames) {
    std::string shown, out;
    for (int f = 0; f < frames; f++) {
        b.step();
        shown += b.lines.empty() ? '-' : !b.animating ? 's' : b.incoming ? 'r' : 'o';
    }
    for (size_t i = 0, end; i < shown.size(); i = end) {
        end = std::min(shown.find_first_not_of(shown[i], i), shown.size());
        out += (i > 0 ? " " : "") + shown.substr(i, 1) + std::to_string(end - i);
    }
    return out;
}

// What the screen shows after `draw` ran on a black screen.
std::vector<Uint32> drawn(const std::function<void()>& draw) {
    SDL_FillRect(screen, nullptr, 0);
    draw();
    std::vector<Uint32> pixels;
    for (int i = 0; i < 320 * 240; i++) pixels.push_back(screen_rgb(i % 320, i / 320));
    return pixels;
}

// The box draws its lines exactly as draw_text does at the given positions.
void expect_drawn_at(Messagebox& b, const std::vector<std::pair<double, double>>& at) {
    ASSERT_EQ(at.size(), b.lines.size());
    auto expected = drawn([&] {
        for (size_t i = 0; i < at.size(); i++)
            draw_text(float(at[i].first), float(at[i].second), b.lines[i], 0, 0);
    });
    EXPECT_NE(drawn([] {}), expected);
    EXPECT_TRUE(drawn([&] { b.render(); }) == expected);
}

TEST(MessageboxTest, LineRisesStandsFourLOverNStepsAndSlidesOutAndTheTimerStopsAtItsMaximum) {
    Messagebox eight;
    eight.add("12345678");
    EXPECT_EQ("r19 s33 o19 -9", runs(eight, 80));
    eight.timer = INT_MAX;  // years without a message
    eight.step();
    EXPECT_EQ(INT_MAX, eight.timer);
}

TEST(MessageboxTest, LinesRiseInTurnStandOnTheirRowsAFourthWaitsAndClearEndsAnySlide) {
    Messagebox b;
    const std::string messages[] = {"First line", "Second", "Third one", std::string(250, 'q')};
    char text[300];
    for (const std::string& m : messages) {
        std::strcpy(text, m.c_str());
        b.add(text);  // the box keeps its own copy, cut to 199 characters
    }
    std::strcpy(text, "reused");
    EXPECT_EQ("r19 s1 r19 s1 r5", runs(b, 45));  // the third has risen a quarter
    const double& a = b.anim;  // follows the running slide
    expect_drawn_at(b, {{0, 240 - 12 * a - 24}, {0, 240 - 12 * a - 12}, {0, 240 - 12 * a}});
    EXPECT_EQ("r14 s1", runs(b, 15));
    expect_drawn_at(b, {{0, 204}, {0, 216}, {0, 228}});
    // Ten characters among three lines stand 10 / 0.75 steps, then slide left.
    EXPECT_EQ("s13 o7", runs(b, 20));
    expect_drawn_at(b, {{-6 * a * 10, 204}, {0, 216}, {0, 228}});
    EXPECT_EQ("o12 s1 r10", runs(b, 23));  // and only then the fourth rises
    EXPECT_EQ(std::vector<std::string>({"Second", "Third one", std::string(199, 'q')}),
              std::vector<std::string>(b.lines.begin(), b.lines.end()));
    b.clear();  // halfway up: nothing left, and the next line rises as usual
    b.add("again");
    EXPECT_EQ("r19 s1", runs(b, 20));
}

}  // namespace

// The message ticker: copies, queueing, slide timing and where lines are drawn.
#include "support/test_env.h"

#include "game/messagebox.h"
#include "gfx/font.h"
#include "gfx/screen.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

// Steps the box `frames` times and tells what it showed after each step, in
// runs: r rising, s standing, o sliding out, - nothing; e.g. "r19 s33 o19 -9".
std::string runs(Messagebox& b, int frames) {
    std::string shown, out;
    for (int f = 0; f < frames; f++) {
        b.step();
        shown += b.lines.empty() ? '-' : !b.animating ? 's' : b.incoming ? 'r' : 'o';
    }
    shown += '.';  // ends the last run
    for (size_t i = 0, end; shown[i] != '.'; i = end) {
        end = shown.find_first_not_of(shown[i], i);
        out += (i > 0 ? " " : "") + shown.substr(i, 1) + std::to_string(end - i);
    }
    return out;
}

// The box draws its lines exactly as draw_text does at the given positions.
void expect_drawn_at(Messagebox& b, const std::vector<std::pair<double, double>>& at) {
    ASSERT_EQ(at.size(), b.lines.size());
    auto drawn = [](auto draw) {  // the screen's bytes after `draw` on a black screen
        SDL_FillRect(screen, nullptr, 0);
        draw();
        return std::string(static_cast<const char*>(screen->pixels), screen->pitch * screen->h);
    };
    std::string expected = drawn([&] {
        for (size_t i = 0; i < at.size(); i++) draw_text(float(at[i].first), float(at[i].second), b.lines[i], 0, 0);
    });
    EXPECT_TRUE(drawn([&] { b.render(); }) == expected);
}

TEST(MessageboxTest, LinesRiseInTurnStandFourLOverNStepsAndSlideOutAFourthWaitsAndClearEndsAnySlide) {
    Messagebox b;
    char text[300];  // one buffer for all: the box keeps its own copies, cut to 199 characters
    const std::string messages[] = {"First line", "Second", "Third one", std::string(250, 'q')};
    for (const std::string& m : messages) b.add(std::strcpy(text, m.c_str()));
    EXPECT_EQ("r19 s1 r19 s1 r5", runs(b, 45));  // the third has risen a quarter
    expect_drawn_at(b, {{0, 240 - 12 * b.anim - 24}, {0, 240 - 12 * b.anim - 12}, {0, 240 - 12 * b.anim}});
    // Ten characters among three lines stand 10 / 0.75 steps, then slide left.
    EXPECT_EQ("r14 s14 o7", runs(b, 35));
    expect_drawn_at(b, {{-6 * b.anim * 10, 204}, {0, 216}, {0, 228}});
    EXPECT_EQ("o12 s1 r10", runs(b, 23));  // and only then the fourth rises
    EXPECT_EQ(std::vector<std::string>({"Second", "Third one", std::string(199, 'q')}),
              std::vector<std::string>(b.lines.begin(), b.lines.end()));
    b.clear();  // halfway up: nothing left, and the next line is timed as in a new box
    b.add("12345678");
    EXPECT_EQ("r19 s33 o19 -9", runs(b, 80));
    b.timer = INT_MAX;  // years without a message
    b.step();
    EXPECT_EQ(INT_MAX, b.timer);
}

}  // namespace

// Whole games of the four bundled levels played by a script through the
// cursor and the click codes, with a frame drawn and the state checked after
// every tick: the script gives exactly the recorded results.
#include "level/scripted_play.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// The fixed script whose results are recorded: buy the first two types by
// their icons; then before each wave spend everything on the strongest
// affordable type next to the path and play the wave out (none needs
// anywhere near 20000 ticks), until the game is lost or two waves past the
// last defined one. A line every 500 ticks and at each wave's end.
std::string golden_run(const std::string& level) {
    ScriptedPlay play("levels/" + level);
    std::ostringstream out;
    out << "# " << level << ": icons 0 and 1 bought first, then the strongest affordable next to the path\n";
    size_t next = 0;
    for (int type = 0; type < 2; type++) {
        if (!play.click_icon(type)) continue;
        while (next < play.cells.size() && !play.click_cell(play.cells[next])) next++;
        play.press(CLICK_CANCEL);
    }
    out << "opening " << play.summary() << "\n";
    for (size_t w = 0; w < play.sim.monstertypes.size() + 2 && !play.lost && play.problem.empty(); w++) {
        play.build_strongest();
        if (!play.start_wave()) break;
        for (long start = play.ticks; play.sim.waverunning && play.ticks - start < 20000 && play.step();)
            if (play.ticks % 500 == 0) out << "  " << play.summary() << "\n";
        out << (play.sim.waverunning ? "stopped " : "cleared ") << play.summary() << "\n";
    }
    if (play.lost) out << "lost at tick " << play.ticks << "\n";
    if (!play.problem.empty()) out << "broken: " << play.problem << "\n";
    return out.str();
}

class ScriptedPlayTest : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(ScriptedPlayTest, FixedScriptMatchesRecordedResults) {
    std::string actual = golden_run(GetParam());
    ASSERT_EQ(std::string::npos, actual.find("broken: ")) << actual;
    expect_recorded(std::string(GetParam()) + ".txt", actual);
}

INSTANTIATE_TEST_SUITE_P(Bundled, ScriptedPlayTest,
                         ::testing::Values("Meadow", "Canyon", "Frostmarsh", "Emberkeep"));

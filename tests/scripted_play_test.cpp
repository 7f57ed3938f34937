// The four levels shipped with the game, and whole games of them played by
// scripts through the cursor and the click codes with a frame drawn and the
// state checked after every tick: fixed scripts give exactly the recorded
// results, and a plain strategy finds the starter level winnable and the hard
// level hard.
#include "level/scripted_play.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

// The balance strategy: before each wave spend everything on the strongest
// affordable type next to the path, then play the wave out (no wave of a
// bundled level needs anywhere near 20000 ticks). With `out`, a line every
// 500 ticks and at each wave's end.
void play_waves(ScriptedPlay& play, size_t waves, std::ostream* out = nullptr) {
    for (size_t w = 0; w < waves && !play.lost && play.problem.empty(); w++) {
        play.build_strongest();
        if (!play.start_wave()) break;
        for (long start = play.ticks; play.sim.waverunning && play.ticks - start < 20000 && play.step();)
            if (out && play.ticks % 500 == 0) *out << "  " << play.summary() << "\n";
        if (out) *out << (play.sim.waverunning ? "stopped " : "cleared ") << play.summary() << "\n";
    }
}

// The fixed script whose results are recorded: buy the first two types by
// their icons, then the strategy until the game is lost or two waves past
// the last defined one.
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
    play_waves(play, play.sim.monstertypes.size() + 2, &out);
    if (play.lost) out << "lost at tick " << play.ticks << "\n";
    if (!play.problem.empty()) out << "broken: " << play.problem << "\n";
    return out.str();
}

class ScriptedPlayTest : public ::testing::TestWithParam<const char*> {};
class BundledLevelsTest : public ::testing::TestWithParam<const char*> {};

}  // namespace

// The checker must notice each kind of damage, or a clean run proves nothing.
TEST(ScriptedPlayTest, InvariantCheckNoticesBrokenState) {
    ScriptedPlay play("levels/Meadow");
    Sim& s = play.sim;
    ASSERT_TRUE(play.click_icon(0) && play.click_cell(play.cells[0]) && play.start_wave()) << play.problem;
    // Run until monsters, a turret and a bullet are all there at once.
    while (play.ticks < 2000 && play.step() && (s.turretstart == 0 || (int)s.objects.size() == s.bulletstart)) {}
    ASSERT_TRUE(s.turretstart > 0 && s.bulletstart < (int)s.objects.size()) << play.summary() << play.problem;
    ASSERT_EQ("", broken_invariant(s));
    // Each damage is undone before the next, so each is noticed alone.
    auto broken_with = [&](auto& field, auto bad) {
        auto keep = std::exchange(field, bad);
        std::string complaint = broken_invariant(s);
        field = keep;
        return complaint;
    };
    EXPECT_NE("", broken_with(s.turretstart, s.bulletstart + 1));
    EXPECT_NE("", broken_with(s.money, -1));
    EXPECT_NE("", broken_with(s.objects[0].type, (int)s.monstertypes.size()));
    EXPECT_NE("", broken_with(s.objects[s.bulletstart].y, -16.5));
}

// After a deliberate change of behaviour or of a level, rewrite the records
// with RAMPARTICA_UPDATE_GOLDEN=1 and review the difference.
TEST_P(ScriptedPlayTest, FixedScriptMatchesRecordedResults) {
    std::string actual = golden_run(GetParam());
    ASSERT_EQ(std::string::npos, actual.find("broken: ")) << actual;
    std::string path = std::string(RAMPARTICA_SOURCE_DIR) + "/tests/golden/" + GetParam() + ".txt";
    if (const char* update = getenv("RAMPARTICA_UPDATE_GOLDEN"); update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        GTEST_SKIP() << "rewrote " << path << "; review it and run again without RAMPARTICA_UPDATE_GOLDEN";
    }
    EXPECT_EQ(read_file(path), actual);
}

// Each level has enough to play, a comment that fits the loading screen (50
// glyphs), a road of straight runs that is never buildable, and what its
// place in the set promises. (That they load without a warning is the
// loader's own test.)
TEST_P(BundledLevelsTest, HasAnUnbuildableRoadAndWhatItPromises) {
    ScriptedPlay level("levels/" + std::string(GetParam()));
    ASSERT_TRUE(level.loaded) << level.problem;
    Sim& s = level.sim;
    EXPECT_TRUE(s.turrettypes.size() >= 3 && s.monstertypes.size() >= 6 && std::string(s.levelinfo[1]).size() <= 50);
    for (size_t i = 0; i + 1 < s.waypoints.size(); i++) {
        Sim::Waypoint a = s.waypoints[i], b = s.waypoints[i + 1];
        ASSERT_TRUE(a.x == b.x || a.y == b.y) << "diagonal step after waypoint " << i;
        for (Sim::Waypoint c = a;; c.x += (b.x > a.x) - (b.x < a.x), c.y += (b.y > a.y) - (b.y < a.y)) {
            EXPECT_FALSE(s.buildable[c.x][c.y]) << "buildable road cell " << c.x << "," << c.y;
            if (c.x == b.x && c.y == b.y) break;
        }
    }
    // The starter level shows centred in the map area, the large one scrolls
    // both ways, and the immunities level has a monster type immune to a
    // bullet type, one that barely feels the slow, and a slowing turret.
    const std::string name = GetParam();
    if (name == "Meadow") { EXPECT_TRUE(s.map->w < 240 && s.map->h < 240); }
    if (name == "Canyon") { EXPECT_TRUE(s.map->w > 320 && s.map->h > 240); }
    if (name != "Frostmarsh") return;
    bool immune = false, slow_resistant = false, slowing = false;
    for (size_t t = 0; t < s.monstertypes.size(); t++) {
        for (size_t b = 0; b < s.bullettypes.size(); b++) immune |= s.check_bullet_effectivity(t, b) == 0.0;
        slow_resistant |= s.check_effect(t, 1) <= 0.25;
    }
    for (const Sim::Turret& t : s.turrettypes) slowing |= s.bullettypes[t.bullet].effect == 1;
    EXPECT_TRUE(immune && slow_resistant && slowing) << immune << slow_resistant << slowing;
}

INSTANTIATE_TEST_SUITE_P(Bundled, ScriptedPlayTest,
                         ::testing::Values("Meadow", "Canyon", "Frostmarsh", "Emberkeep"));
INSTANTIATE_TEST_SUITE_P(Shipped, BundledLevelsTest,
                         ::testing::Values("Meadow", "Canyon", "Frostmarsh", "Emberkeep"));

TEST(ScriptedPlayTest, StrategyClearsEveryWaveOfMeadow) {
    ScriptedPlay play("levels/Meadow");
    play_waves(play, play.sim.monstertypes.size());
    ASSERT_EQ("", play.problem);
    EXPECT_FALSE(play.lost) << play.summary();
    EXPECT_EQ((int)play.sim.monstertypes.size(), play.cleared) << play.summary();
}

// The same strategy clears every defined wave of the hard level and holds
// out through several hardened repeats of the last one, but not forever.
TEST(ScriptedPlayTest, StrategyLosesEmberkeepOnlyAfterSeveralRepeats) {
    ScriptedPlay play("levels/Emberkeep");
    play_waves(play, play.sim.monstertypes.size() + 11);
    ASSERT_EQ("", play.problem);
    int defined = (int)play.sim.monstertypes.size();
    EXPECT_TRUE(play.lost) << play.summary();
    EXPECT_GE(play.cleared, defined + 3) << play.summary();
    EXPECT_LE(play.cleared, defined + 10) << play.summary();
}

// Reading level.txt: the log and warnings, the values stored, the progress
// reports, and every reason a level is refused. (The painted maps of the
// bundled levels are in the golden frames.)
#include "game/load_progress.h"
#include "game/sim.h"
#include "gfx/pixels.h"
#include "gfx/screen.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
std::string source_file(const std::string& path) { return read_file(std::string(RAMPARTICA_SOURCE_DIR) + path); }

// A progress report, and the white pixels at (10, 30) and on that the repaint before left.
struct Report { int progress, lit_before; std::string text; bool error; };

std::vector<std::string> lines_of(const std::string& text, const std::string& prefix = "") {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) if (l.rfind(prefix, 0) == 0) out.push_back(l);
    return out;
}

// s with its last a replaced by b (an empty a: b appended); s n times.
std::string replaced(std::string s, std::string a, std::string b) { return s.replace(s.rfind(a), a.size(), b); }
std::string repeat(const std::string& s, int n) { return n > 0 ? s + repeat(s, n - 1) : ""; }

// Records each progress report, then repaints the loading screen as the game does.
class LoaderTest : public ::testing::Test, public LoadProgress {
protected:
    TempDir dir{"level"};
    std::unique_ptr<Sim> sim;
    std::vector<Report> reports;
    std::string log;

    void report(int progress, const char* message, bool error) override {
        int lit = 0;
        for (int i = 0; i < 50 * 12; i++) lit += getpixel(screen, 10 + i % 50, 30 + i / 50) == SDL_MapRGB(screen->format, 255, 255, 255);
        reports.push_back({progress, lit, message ? message : "", error});
        sim->updatescreen(progress, message, error);
    }

    // The bundled 8x4 tile sheet of the first level.
    void SetUp() override { dir.write("tiles.bmp", read_file("levels/Meadow/tiles.bmp")); }
    // Into a fresh game, as the in-game loop does: this text as level.txt, or the level at path.
    bool load(const std::string& text, std::string path = "") {
        if (path.empty()) { dir.write("level.txt", text); path = dir.path; }
        sim.reset(new Sim);
        reports.clear();
        test_clock_reset();
        testing::internal::CaptureStdout();
        bool ok = sim->load_level(path.c_str(), *this);
        log = testing::internal::GetCapturedStdout();
        return ok;
    }
    // Pixel (x, y) of the tile-set cell (c, r); the tiles are opaque.
    Uint32 cell(int c, int r, int x = 3, int y = 3) const { return getpixel(sim->tileset, 16 * c + x, 16 * r + y); }
};

// 120 key lines put before it push the progress past 100, where only the
// Row and Waypoint reports stop; they change nothing else.
TEST_F(LoaderTest, ExampleLevelLoadsWithItsExactLogAndProgress) {
    const std::string example = source_file("/tests/data/example_level/level.txt");
    ASSERT_TRUE(load(repeat("Comment=c\n", 120) + example)) << log;
    EXPECT_NE(std::string::npos, source_file("/docs/levels.md").find(example));  // the format guide shows this very file
    EXPECT_EQ("Loading level \"" + dir.path + "\"...\n>Pond: reading the example level\nTile: 0/0, id: ., buildable\n"
              "Tile: 2/0, id: #, not buildable\nTile: 6/0, id: ~, not buildable\nWaypoint: 0/1\nWaypoint: 3/1\n"
              "Waypoint: 3/3\nWaypoint: 5/3\nSnail is immune to Slow\nSnail is immune to Pebble\n2 monster(s) loaded!\n"
              "2 turret(s) loaded!\n2 bullet(s) loaded!\nLevel successfully loaded!\n", log);
    // The start, 120 comments, Name ... LevelHeight; 4 rows and 4 waypoints at
    // 100; the 40 lines of the types (not NewBullet and the like); the end.
    std::vector<int> got, want(179, 100);
    for (int i = 0; i <= 129; i++) want[i] = i;
    for (int i = 138; i < 178; i++) want[i] = i - 37;
    for (const Report& r : reports) got.push_back(r.progress);
    EXPECT_EQ(want, got);
    // Each report carries the whole line as read, before its value is cut.
    EXPECT_EQ("level.txt...|Row=......|", reports[0].text + "|" + reports.at(130).text + "|" + reports.back().text);
    EXPECT_EQ((std::vector<Uint32>{100, 500}), test_delays());  // and no 2-second error hold
}

// The smallest complete level, as level authors write it from the format's
// own example: it sets no TurretRate, and loads all the same.
TEST_F(LoaderTest, FirstTestLevelLoadsWithItsExactLog) {
    ASSERT_TRUE(load(source_file("/tests/data/first_test_level/level.txt"))) << log;
    EXPECT_EQ("Loading level \"" + dir.path + "\"...\nTile: 0/0, id: ., buildable\nTile: 1/0, id: #, not buildable\n"
              "Waypoint: 1/0\nWaypoint: 2/0\nBeetle is immune to Slow\n1 monster(s) loaded!\n1 turret(s) loaded!\n"
              "1 bullet(s) loaded!\nLevel successfully loaded!\n", log);
    EXPECT_EQ(0, sim->turrettypes.at(0).rate);
}

TEST_F(LoaderTest, OddLinesGiveTheirExactValuesAndWarningsAndUndrawableCellsStayBlack) {
    // A row before the tile set, overlong lines, a last line without a line
    // feed, keys before their record, names defined twice, odd numbers.
    ASSERT_TRUE(load(source_file("/tests/data/odd_level/level.txt"))) << log;
    EXPECT_EQ((std::vector<std::string>{
                  "Warning! Line 11 needs a NewMonster before it, skipped",
                  "Warning: Non-null line ignored: NewBullet ",
                  "Warning! Couldn't understand line number16... Is the casing correct?",
                  "Warning! Bullet \"Later\"(line 30) could not be found! (Did you define it before the turrets? "
                  "Is the casing correct?)",
                  "Warning! Couldn't find a bullet or an effect on line 44",
                  "Warning! Line 47 is longer than 199 characters, skipped",
              }),
              lines_of(log, "Warning"));
    // Skipped lines change nothing. Values start after the first "=", untrimmed
    // (the whole line without one); whole numbers stop at the first non-digit,
    // a missing number is 0, the last bullet type of a name is the one named,
    // and an unknown one is type 0. A 199-character line still fits.
    std::ostringstream got;
    got << sim->levelinfo[0] << '|' << sim->levelinfo[1] << '|' << sim->levelinfo[2] << '|';
    for (const Sim::Bullet& b : sim->bullettypes)
        got << b.name << ' ' << b.damage << ' ' << b.speed << ' ' << b.effect << ' ' << b.imgx << ',' << b.imgy << '|';
    for (const Sim::Turret& t : sim->turrettypes) got << t.bullet << ' ' << t.imgx << ',' << t.imgy << '|';
    const Sim::Monster& m = sim->monstertypes.at(0);
    got << m.name << ' ' << m.health << ' ' << m.speed << ' ' << m.number << ' ' << m.imgx << ',' << m.imgy;
    for (const Sim::Effect& e : m.immunities) got << ' ' << e.kind << ':' << e.factor;
    EXPECT_EQ("Name Forest|a=b=c |" + std::string(192, 'a') + "|Arrow 0 2 0 0,0|Arrow 0 3 0 0,0|Frost 7 3 0 6,7|"
              "Later 9 4 0 0,0|1 5,0|0 0,0|Ogre 2 1.5 12 4,0 1:0.25 -1:0", got.str());
    // The row read before the tile set drew the error text, seen by the next
    // report (reports: 0 start, 1-3 Tile, LevelWidth, LevelHeight, 4 Row, 5 TileSet).
    EXPECT_TRUE(reports.at(4).lit_before == 0 && reports.at(5).lit_before > 5) << reports[5].lit_before;
    // That row, an undefined character, a cell far outside the sheet and the
    // row no line reaches show the cleared map's black; the first "." wins.
    ASSERT_TRUE(cell(0, 0) != cell(2, 0) && cell(0, 0) != 0u);  // black is 0 in the map's format
    for (int i = 0; i < 9; i++) EXPECT_EQ(i == 5 ? cell(0, 0) : 0u, getpixel(sim->map, i % 3 * 16 + 3, i / 3 * 16 + 3)) << i;
    EXPECT_TRUE(sim->buildable[0][0] && sim->buildable[1][1] && sim->buildable[2][1] && !sim->buildable[0][1]);
}

// `char` is signed on x86 and unsigned on ARM: map characters of 128 and
// above (a Latin-1 level) must name their tiles on both, and byte 0xFF must
// not pass for the end of the file.
TEST_F(LoaderTest, MapCharactersAbove127NameTheirTilesOnEveryCpu) {
    ASSERT_TRUE(load("TileSet=tiles.bmp\nTile\xe9=2,0,1\nTile\xff=6,0,0\nTile.=0,0,0\nLevelWidth=3\nLevelHeight=2\n"
                     "Row=\xe9\xff\xe9\nRow=...\nWaypoint=0,1\nWaypoint=2,1\n"
                     "NewMonster\nMonsterHealth=1\nMonsterSpeed=1\n")) << log;
    EXPECT_NE(std::string::npos, log.find("Tile: 6/0, id: \xff, not buildable")) << log;
    const int tiles[] = {2, 6, 2};
    for (int c = 0; c < 3; c++) {
        EXPECT_EQ(c != 1, sim->buildable[c][0]) << "column " << c;
        EXPECT_EQ(cell(tiles[c], 0), getpixel(sim->map, 16 * c + 5, 5)) << "column " << c;
    }
}

// The reason goes to the loading screen as an error and to the log with file and line.
TEST_F(LoaderTest, LevelsTheGameCannotPlayAreRefused) {
    const std::string level = "TileSet=tiles.bmp\nTile.=0,0,1\nTile#=2,0,0\nLevelWidth=4\nLevelHeight=2\n"  // 1-5
                              "Row=.##.\nRow=....\nWaypoint=1,0\nWaypoint=2,0\nNewBullet\nBulletName=Pebble\n"  // 6-11
                              "BulletSpeed=4\nNewTurret\nTurretBullet=Pebble\nTurretRate=10\nNewMonster\n"  // 12-16
                              "MonsterHealth=20\nMonsterSpeed=0.5\n";  // 17-18
    const std::string cases[][3] = {  // a change to that level, and the log line after the file's path
        {"LevelWidth=4\n", "", ":5: Row before LevelWidth and LevelHeight"},
        {"LevelWidth=4", "LevelWidth=0", ":4: LevelWidth must be 1 to 128"},
        {"LevelHeight=2", "LevelHeight=97", ":5: LevelHeight must be 1 to 96"},
        {"Row=....\n", repeat("Row=....\n", 96), ":102: Map row beyond 96 rows"},
        {"Row=....", "Row=" + std::string(129, '.'), ":7: Map row longer than 128 cells"},
        {"Row=.##.\nRow=....\n", "", ": No Row lines: the level has no map"},
        {"TileSet=tiles.bmp\n", "", ": No TileSet line: nothing can be drawn"},
        {"tiles.bmp", "missing.bmp", ":1: Tile set: cannot open"},
        {"tiles.bmp", "level.txt", ":1: Tile set: bad magic"},
        {"NewMonster\n", "", ": No monster type: add a NewMonster block"},
        {"NewBullet\n", "", ": Turrets but no bullet type: add a NewBullet block"},
        {"Waypoint=2,0\n", "", ": Fewer than two Waypoint lines"},
        {"Waypoint=2,0", "Waypoint=1004,0", ":9: Waypoint 1004/0 is over 1000 cells off the map"},
        {"BulletSpeed=4", "BulletSpeed=0", ":10: NewBullet #1: BulletSpeed must be above 0"},
        {"MonsterSpeed=0.5", "MonsterSpeed=inf", ":16: NewMonster #1: MonsterSpeed must be above 0"},
        {"", "NewTurret\nTurretAccuracy=-1\nTurretRate=1\n", ":19: NewTurret #2: TurretAccuracy must be 0 or more"},
        {"", "MonsterImmunity=Pebble,nan\n", ":19: MonsterImmunity factor must be a number"},
        {"", "MonsterImmunity=Slow,1.5\n", ":19: Slow immunity factor must be 1 or less"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[2]);
        ASSERT_FALSE(load(replaced(level, c[0], c[1]))) << log;
        EXPECT_EQ(dir.file("level.txt") + c[2], lines_of(log).back());
        EXPECT_TRUE(reports.back().error && reports.back().text == c[2].substr(c[2].find(": ") + 2)) << reports.back().text;
    }
    // Odd but playable: monsters that walk in from off the map or die to any
    // hit, a turret that fires every tick, immunities that heal or hurry.
    const std::string playable[][2] = {
        {"Waypoint=1,0", "Waypoint=-3,0"}, {"MonsterHealth=20", "MonsterHealth=0"}, {"TurretRate=10", "TurretRate=0"},
        {"", "MonsterImmunity=Pebble,-0.5\nMonsterImmunity=Slow,-1\n"},
    };
    for (const auto& c : playable) EXPECT_TRUE(load(replaced(level, c[0], c[1]))) << c[1] << log;
    // A second tile set replaces the first, for the rows and sprites after it.
    SDL_Surface* small = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 32, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_SaveBMP(small, dir.file("small.bmp").c_str());
    SDL_FreeSurface(small);
    ASSERT_TRUE(load("TileSet=small.bmp\n" + level)) << log;
    EXPECT_EQ(128, sim->tileset->w);
    ASSERT_TRUE(load(replaced(level, "Row=.##.", "TileSet=small.bmp\nRow=.##."))) << log;
    EXPECT_EQ(64, sim->tileset->w);
    // No level.txt at all: nothing logged on standard output and no map, the
    // red bar, and the file named on standard error.
    testing::internal::CaptureStderr();
    ASSERT_FALSE(load("", dir.file("nothing-here")));
    EXPECT_EQ(dir.file("nothing-here") + "/level.txt: cannot open: No such file or directory\n",
              testing::internal::GetCapturedStderr());
    EXPECT_TRUE(log.empty() && !sim->mapcreated && reports.back().error && reports.back().progress == 0) << log;
    EXPECT_EQ("Unable to open level.txt!", reports.back().text);
}

// The bundled levels load without a warning (what each offers is their own
// tests' matter); the fuzzer's findings load when named "loads-..." and are
// refused when named "refused-...".
TEST_F(LoaderTest, BundledLevelsLoadWithoutAWarningAndFuzzFindingsAsNamed) {
    const std::string findings = std::string(RAMPARTICA_SOURCE_DIR) + "/fuzz/regressions/level_loader";
    ASSERT_FALSE(fs::is_empty("levels") || fs::is_empty(findings));
    for (const auto& e : fs::directory_iterator("levels"))
        EXPECT_TRUE(load("", e.path()) && log.find("Warning") == std::string::npos) << log;
    for (const auto& e : fs::directory_iterator(findings))
        EXPECT_EQ(e.path().filename().string().rfind("loads-", 0) == 0, load(read_file(e.path()))) << e.path() << log;
}

}  // namespace

// Reading level.txt: the log and warnings, the values stored, the painted
// map, the progress reports, and every reason a level is refused.
#include "game/sim.h"
#include "gfx/pixels.h"
#include "support/test_env.h"
#include "view/loading_screen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
const std::string kExample = std::string(RAMPARTICA_SOURCE_DIR) + "/tests/data/example_level/level.txt";

// A loading-screen call, and the white pixels at (10, 30) and on that the call before left.
struct Report { int progress, lit_before; std::string text; bool error; };
std::vector<Report> reports;

void watch(int progress, const char* message, bool error) {
    int lit = 0;
    for (int i = 0; i < 50 * 12; i++) lit += screen_rgb(10 + i % 50, 30 + i / 50) == 0xFFFFFF;
    reports.push_back({progress, lit, message ? message : "", error});
}

// A small level that loads: lines 1-9, then lines 10-20.
const char* const kHead = "TileSet=tiles.bmp\nTile.=0,0,1\nTile#=2,0,0\nLevelWidth=4\nLevelHeight=2\n"
                          "Row=.##.\nRow=....\nWaypoint=1,0\nWaypoint=2,0\n";
const char* const kTypes = "NewBullet\nBulletName=Pebble\nBulletSpeed=4\n"
                           "NewTurret\nTurretName=Sling\nTurretBullet=Pebble\nTurretRate=10\n"
                           "NewMonster\nMonsterName=Beetle\nMonsterHealth=20\nMonsterSpeed=0.5\n";

std::vector<std::string> lines_of(const std::string& text, const std::string& prefix = "") {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        if (l.compare(0, prefix.size(), prefix) == 0) out.push_back(l);
    return out;
}

// The level's texts, type tables and path as text, for exact comparison.
std::string tables(const Sim& s) {
    std::ostringstream o;
    o << s.levelinfo[0] << '|' << s.levelinfo[1] << '|' << s.levelinfo[2] << '|' << s.levelinfo[3] << '|';
    for (const Sim::Bullet& b : s.bullettypes)
        o << b.name << ' ' << b.damage << ' ' << b.speed << ' ' << b.effect << ' ' << b.imgx << ',' << b.imgy << '|';
    for (const Sim::Turret& t : s.turrettypes)
        o << t.name << '/' << t.desc << ' ' << t.cost << ' ' << t.bullet << ' ' << t.range << ' ' << t.rate << ' '
          << t.accuracy << ' ' << t.imgx << ',' << t.imgy << '|';
    for (const Sim::Monster& m : s.monstertypes) {
        o << m.name << ' ' << m.health << ' ' << m.speed << ' ' << m.number << ' ' << m.money << ' ' << m.imgx << ','
          << m.imgy << " [";
        for (const Sim::Effect& e : m.immunities) o << e.kind << ':' << e.factor << ' ';
        o << "]|";
    }
    for (const Sim::Waypoint& w : s.waypoints) o << w.x << '/' << w.y << ' ';
    return o.str();
}

// s with a replaced by b; throws, failing the test, when a is missing.
std::string replaced(std::string s, const std::string& a, const std::string& b) { return s.replace(s.find(a), a.size(), b); }

class LoaderTest : public ::testing::Test {
protected:
    TempDir dir{"level"};
    std::unique_ptr<Sim> sim;
    std::string log;

    // The bundled 8x4 tile sheet of the first level.
    void SetUp() override { dir.write("tiles.bmp", read_file("levels/Meadow/tiles.bmp")); loading_screen_watch = watch; }
    void TearDown() override { loading_screen_watch = nullptr; }
    // Into a fresh game, as the in-game loop does: this text as level.txt, or the level at path.
    bool load(const std::string& text, std::string path = "") {
        if (path.empty()) { dir.write("level.txt", text); path = dir.path; }
        sim.reset(new Sim);
        reports.clear();
        test_clock_reset();
        testing::internal::CaptureStdout();
        bool ok = sim->load_level(path.c_str());
        log = testing::internal::GetCapturedStdout();
        return ok;
    }
    // Pixel (x, y) of the tile-set cell (c, r); the tiles are opaque.
    Uint32 cell(int c, int r, int x = 3, int y = 3) const { return getpixel(sim->tileset, 16 * c + x, 16 * r + y); }
    Uint32 map(int x, int y) const { return getpixel(sim->map, x, y); }
};
using LoaderBundledTest = LoaderTest;

TEST_F(LoaderTest, ExampleLevelLoadsWithItsExactLogAndMap) {
    ASSERT_TRUE(load(read_file(kExample))) << log;
    // The format guide shows this very file.
    const std::string guide = read_file(std::string(RAMPARTICA_SOURCE_DIR) + "/docs/levels.md");
    EXPECT_NE(std::string::npos, guide.find(read_file(kExample)));
    EXPECT_EQ("Loading level \"" + dir.path + "\"...\n>Pond: reading the example level\nTile: 0/0, id: ., buildable\n"
              "Tile: 2/0, id: #, not buildable\nTile: 6/0, id: ~, not buildable\nWaypoint: 0/1\nWaypoint: 3/1\n"
              "Waypoint: 3/3\nWaypoint: 5/3\nSnail is immune to Slow\nSnail is immune to Pebble\n2 monster(s) loaded!\n"
              "2 turret(s) loaded!\n2 bullet(s) loaded!\nLevel successfully loaded!\n", log);
    EXPECT_EQ((std::vector<Uint32>{100, 500}), test_delays());  // and no 2-second error hold
    EXPECT_EQ("Pond|A short path around a pond|A level designer|tiles.bmp|Pebble 4 5 -1 0,3|Frost 1 4 1 3,3|"
              "Sling/Cheap and steady 10 0 48 15 1 0,2|Frost Bell/Slows what it hits 25 1 40 20 0 3,2|"
              "Beetle 20 0.5 8 2 0,1 []|Snail 60 0.4 6 4 1,1 [-1:0 0:0.5 ]|0/1 3/1 3/3 5/3 ",
              tables(*sim));
    // Every counted line is reported in turn with the line as read, then 100.
    ASSERT_EQ(59u, reports.size());
    for (int k = 0; k < 59; k++) EXPECT_EQ(k < 58 ? k : 100, reports[k].progress) << k;
    EXPECT_EQ("level.txt...|Row=......|MonsterImmunity=Pebble,0.5|",
              reports[0].text + "|" + reports[10].text + "|" + reports[57].text + "|" + reports[58].text);
    // The map, pixel by pixel: the tiles (the tile set's bottom-left colour
    // transparent), the red frame, the marker (symbol cell 5,0, blue
    // transparent) on the first and the last waypoint, and over them all the
    // red path through the cell centres (8,24), (56,24), (56,56), (88,56).
    // Only "." cells are buildable.
    const char* rows[] = {"......", "####..", "...#~~", "...###"};
    ASSERT_TRUE(sim->map->w == 96 && sim->map->h == 64);
    EXPECT_EQ(getpixel(sim->tileset, 0, 63), sim->tileset->format->colorkey);
    const Uint32 red = SDL_MapRGB(sim->map->format, 255, 0, 0), blue = sim->symbols->format->colorkey;
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 96; x++) {
            char c = rows[y / 16][x / 16];
            ASSERT_EQ(c == '.', sim->buildable[x / 16][y / 16]) << x / 16 << "," << y / 16;
            Uint32 sym = getpixel(sim->symbols, 80 + x % 16, y % 16);
            Uint32 want = cell(c == '.' ? 0 : c == '#' ? 2 : 6, 0, x % 16, y % 16);
            if (x == 0 || y == 0 || x == 95 || y == 63) want = red;
            if (((x < 16 && y / 16 == 1) || (x >= 80 && y >= 48)) && sym != blue) want = sym;
            bool path = (y == 24 && x >= 8 && x <= 56) || (x == 56 && y >= 24 && y <= 56) || (y == 56 && x >= 56 && x <= 88);
            if (path) want = red;
            ASSERT_EQ(want, map(x, y)) << x << "," << y;
        }
}

TEST_F(LoaderTest, CellsThatCannotBeDrawnStayBlackAndARowBeforeTheTileSetShowsTheError) {
    ASSERT_TRUE(load("Tile.=0,0,1\nLevelWidth=4\nLevelHeight=3\nRow=..\nTileSet=tiles.bmp\nTile%=2147483647,-9,1\n"
                     "Tile.=2,0,0\nRow=?%.\nWaypoint=3,0\nWaypoint=3,1\n" + std::string(kTypes)))
        << log;
    // Reports: 0 start, 1 Tile, 2 LevelWidth, 3 LevelHeight, 4 Row, 5 TileSet:
    // the one after the row before the tile set sees the error text it drew.
    ASSERT_GT(reports.size(), 5u);
    EXPECT_TRUE(reports[4].lit_before == 0 && reports[5].lit_before > 5) << reports[5].lit_before;
    // That row, an undefined character, a cell far outside the sheet and the
    // row no line reaches show the cleared map's black; the first "." wins.
    const Uint32 black = SDL_MapRGB(sim->map->format, 0, 0, 0);
    ASSERT_TRUE(cell(0, 0) != cell(2, 0) && cell(0, 0) != black);
    for (int i = 0; i < 9; i++) EXPECT_EQ(i == 5 ? cell(0, 0) : black, map(16 * (i % 3) + 3, 16 * (i / 3) + 3)) << i;
    EXPECT_TRUE(sim->buildable[0][0] && sim->buildable[1][1] && sim->buildable[2][1] && !sim->buildable[0][1]);
}

TEST_F(LoaderTest, OddLinesGiveTheirExactValuesAndWarnings) {
    ASSERT_TRUE(load(std::string(kHead) +  // lines 1-9
                     "BulletName=Early\nMonsterSpeed=3\nTurretCost=5\nNewBullet \nNonsense\nNewBullet\n"  // 10-15
                     "BulletName=Arrow\nBulletSpeed=2\nBulletEffect=slow\nNewBullet\nBulletName=Arrow\n"  // 16-20
                     "BulletSpeed=3\nBulletEffect=Slow \nNewBullet\nBulletName=Frost\nBulletSpeed=3\n"  // 21-25
                     "BulletDamage= 7\nBulletImg=6,7,8\nNewTurret\nTurretBullet=Arrow\nTurretRate=1\n"  // 26-30
                     "TurretCost=abc\nTurretRange=60px\nTurretImg=,5\nNewTurret\nTurretBullet=Later\n"  // 31-35
                     "TurretRate=2\nNewBullet\nBulletName=Later\nBulletSpeed=4\nNewMonster\nMonsterName=Ogre\n"  // 36-41
                     "MonsterHealth=2.5\nMonsterSpeed=1.5\nMonsterNumberX=12\nMonsterMoney=-3\nMonsterImg=4\n"  // 42-46
                     "MonsterImmunity=Arrow,0.25\nMonsterImmunity=Slow\nMonsterImmunity=\nMonsterImmunity=,\n"  // 47-50
                     "MonsterImmunity=Fire,0\nMonsterImmunity=slow,0\nName Forest\nComment=a=b=c \n"  // 51-54
                     "Name=" + std::string(300, 'x') + "Comment=hidden\nAuthor=" + std::string(192, 'a') + "\n" +
                     std::string(1000, '#') + "\nBulletDamage=9"))  // 55-58, no final line feed
        << log;
    EXPECT_EQ((std::vector<std::string>{
                  "Warning! Line 10 needs a NewBullet before it, skipped",
                  "Warning! Line 11 needs a NewMonster before it, skipped",
                  "Warning! Line 12 needs a NewTurret before it, skipped",
                  "Warning: Non-null line ignored: NewBullet ", "Warning: Non-null line ignored: Nonsense",
                  "Warning! Couldn't understand line number18... Is the casing correct?",
                  "Warning! Couldn't understand line number22... Is the casing correct?",
                  "Warning! Bullet \"Later\"(line 35) could not be found! (Did you define it before the turrets? "
                  "Is the casing correct?)",
                  "Warning! Couldn't find a bullet or an effect on line 51",
                  "Warning! Couldn't find a bullet or an effect on line 52",
                  "Warning! Line 55 is longer than 199 characters, skipped",
                  "Warning! Line 57 is longer than 199 characters, skipped",
              }),
              lines_of(log, "Warning"));
    // Skipped lines change nothing. Values start after the first "=", untrimmed
    // (the whole line without one); whole numbers stop at the first non-digit,
    // a missing number is 0, the last bullet type of a name is the one named,
    // and an unknown one is type 0. A 199-character line still fits.
    EXPECT_EQ("Name Forest|a=b=c |" + std::string(192, 'a') + "|tiles.bmp|Arrow 0 2 0 0,0|Arrow 0 3 0 0,0|"
              "Frost 7 3 0 6,7|Later 9 4 0 0,0|/ 0 1 60 1 0 5,0|/ 0 0 0 2 0 0,0|Ogre 2 1.5 12 -3 4,0 [1:0.25 -1:0 ]|1/0 2/0 ",
              tables(*sim));
}

TEST_F(LoaderTest, ProgressCountsKeyLinesAndOnlyRowsAndWaypointsStopAt100) {
    std::string text;
    std::vector<int> got, want = {0};  // the start, 120 comments, TileSet, Tile, LevelWidth, LevelHeight, ...
    for (int i = 1; i <= 124; i++) want.push_back(i);
    for (int i = 0; i < 120; i++) text += "Comment=c\n";
    ASSERT_TRUE(load(text + "NewBullet\n# not counted\n\nWhatever\n>echo\nTileSet=tiles.bmp\nTile.=0,0,1\nLevelWidth=2\n"
                     "LevelHeight=2\nRow=..\nComment=after the row\nRow=..\nWaypoint=0,0\nWaypoint=1,1\nBulletSpeed=1\n"
                     "NewMonster\nMonsterSpeed=1\nMonsterHealth=1\n"))
        << log;
    for (const Report& r : reports) got.push_back(r.progress);
    want.insert(want.end(), {100, 101, 100, 100, 100, 101, 102, 103, 100});
    EXPECT_EQ(want, got);
    EXPECT_EQ("Row=..", reports[125].text);
}

// The reason goes to the loading screen as an error and to the log with file and line.
TEST_F(LoaderTest, LevelsTheGameCannotPlayAreRefused) {
    const std::string head(kHead), types(kTypes);
    std::string rows97 = "TileSet=tiles.bmp\nTile.=0,0,1\nLevelWidth=2\nLevelHeight=96\n";
    for (int i = 0; i < 97; i++) rows97 += "Row=..\n";
    const std::pair<std::string, std::string> cases[] = {  // the file, and the log line after the file's path
        {replaced(head, "LevelWidth=4\n", "") + types, ":5: Row before LevelWidth and LevelHeight"},
        {replaced(head, "LevelWidth=4", "LevelWidth=0") + types, ":4: LevelWidth must be 1 to 128"},
        {replaced(head, "LevelHeight=2", "LevelHeight=97") + types, ":5: LevelHeight must be 1 to 96"},
        {rows97 + types, ":101: Map row beyond 96 rows"},
        {replaced(head, "Row=....", "Row=" + std::string(129, '.')) + types, ":7: Map row longer than 128 cells"},
        {replaced(replaced(head, "Row=.##.\n", ""), "Row=....\n", "") + types, ": No Row lines: the level has no map"},
        {head + replaced(types, "NewMonster\nMonsterName=Beetle\nMonsterHealth=20\nMonsterSpeed=0.5\n", ""),
         ": No monster type: add a NewMonster block"},
        {head + replaced(types, "NewBullet\nBulletName=Pebble\nBulletSpeed=4\n", ""),
         ": Turrets but no bullet type: add a NewBullet block"},
        {replaced(head, "Waypoint=2,0\n", "") + types, ": Fewer than two Waypoint lines"},
        {replaced(head, "Waypoint=2,0", "Waypoint=4,0") + types, ":9: Waypoint 4/0 is outside the map"},
        {head + replaced(types, "BulletSpeed=4", "BulletSpeed=0"), ":10: NewBullet #1: BulletSpeed must be above 0"},
        {head + replaced(types, "MonsterSpeed=0.5", "MonsterSpeed=inf"), ":17: NewMonster #1: MonsterSpeed must be above 0"},
        {head + replaced(types, "MonsterHealth=20", "MonsterHealth=0"), ":17: NewMonster #1: MonsterHealth must be above 0"},
        {head + replaced(types, "TurretRate=10", "TurretRate=0"), ":13: NewTurret #1: TurretRate must be 1 or more"},
        {head + types + "NewTurret\nTurretAccuracy=-1\nTurretRate=1\n", ":21: NewTurret #2: TurretAccuracy must be 0 or more"},
        {head + types + "MonsterImmunity=Pebble,-0.5\n", ":21: MonsterImmunity factor must be 0 or more"},
        {head + types + "MonsterImmunity=Slow,1.5\n", ":21: Slow immunity factor must be 0 to 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.second);
        ASSERT_FALSE(load(c.first)) << log;
        const std::string reason = c.second.substr(c.second.find(": ") + 2);
        EXPECT_EQ(dir.file("level.txt") + c.second, lines_of(log).back());
        EXPECT_TRUE(reports.back().error && reports.back().text == reason) << reports.back().text;
        EXPECT_LE(reason.size(), 53u);  // fits the 320-pixel screen
    }
    // No level.txt at all: nothing logged and no map, only the red bar.
    ASSERT_FALSE(load("", dir.file("nothing-here")));
    EXPECT_TRUE(log.empty() && !sim->mapcreated) << log;
    EXPECT_TRUE(reports.back().error && reports.back().progress == 0 && reports.back().text == "Unable to open level.txt!");
    EXPECT_EQ((std::vector<Uint32>{100, 2000}), test_delays());
}

// Inputs the fuzzer found dangerous: "refused-..." must be refused, "loads-..." must load.
TEST_F(LoaderTest, FuzzRegressionsLoadOrAreRefusedAsNamed) {
    const std::string dirname = std::string(RAMPARTICA_SOURCE_DIR) + "/fuzz/regressions/level_loader";
    ASSERT_FALSE(fs::is_empty(dirname));
    for (const auto& e : fs::directory_iterator(dirname)) {
        std::string name = e.path().filename();
        bool refused = name.compare(0, 8, "refused-") == 0;
        ASSERT_TRUE(refused || name.compare(0, 6, "loads-") == 0) << name << ": name it refused-... or loads-...";
        EXPECT_EQ(!refused, load(read_file(e.path()))) << name << "\n" << log;
    }
}

// (What each of the four offers is checked by the bundled levels' own tests.)
TEST_F(LoaderBundledTest, EveryBundledLevelLoadsWithoutAWarning) {
    ASSERT_FALSE(fs::is_empty("levels"));
    for (const auto& e : fs::directory_iterator("levels")) {
        EXPECT_TRUE(load("", e.path())) << log;
        EXPECT_EQ(std::vector<std::string>{}, lines_of(log, "Warning")) << log;
        EXPECT_EQ("Level successfully loaded!", lines_of(log).back()) << e.path();
    }
}

}  // namespace

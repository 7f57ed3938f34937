// Reading level.txt: the log and warnings, the values stored, the painted
// map, the progress reports, and every reason a level is refused.
#include "app/globals.h"
#include "game/sim.h"
#include "gfx/pixels.h"
#include "support/test_env.h"
#include "view/loading_screen.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// A colour different for every sheet cell.
Uint32 cell_rgb(int c, int r) { return Uint32(16 + 24 * c) << 16 | Uint32(32 + 48 * r) << 8 | 0x40; }

// That colour as the 16-bit screen format gives it back.
Uint32 shown(Uint32 rgb) {
    Uint8 r, g, b;
    SDL_GetRGB(SDL_MapRGB(screen->format, rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF), screen->format, &r, &g, &b);
    return Uint32(r) << 16 | Uint32(g) << 8 | b;
}

// A 128x64 sheet in the bundled levels' 8x4 layout. The bottom-left pixel is
// magenta, the transparent colour, and so is pixel (5, 5) of the ground cell.
void write_tileset(const std::string& path) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 128, 64, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 8; c++) {
            SDL_Rect cell = {Sint16(16 * c), Sint16(16 * r), 16, 16};
            Uint32 rgb = cell_rgb(c, r);
            SDL_FillRect(s, &cell, SDL_MapRGB(s->format, rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
        }
    Uint32 magenta = SDL_MapRGB(s->format, 255, 0, 255);
    SDL_Rect corner = {0, 63, 1, 1}, inside = {5, 5, 1, 1};
    SDL_FillRect(s, &corner, magenta);
    SDL_FillRect(s, &inside, magenta);
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
}

struct Report {
    int progress;
    std::string text;
    bool error;
};
std::vector<Report> reports;
// White pixels where a blit error is written, (10, 30) onwards, as the
// screen stood when each report came: what the line before it drew.
std::vector<int> error_text_before;

void watch(int progress, const char* message, bool error) {
    int lit = 0;
    for (int y = 30; y < 42; y++)
        for (int x = 10; x < 60; x++) lit += screen_rgb(x, y) == 0xFFFFFF;
    error_text_before.push_back(lit);
    reports.push_back({progress, message ? message : "", error});
}

// A small level that loads; tests change or add lines.
const char* const kHead =
    "TileSet=tiles.bmp\n"
    "Tile.=0,0,1\n"
    "Tile#=2,0,0\n"
    "LevelWidth=4\n"
    "LevelHeight=2\n"
    "Row=.##.\n"
    "Row=....\n"
    "Waypoint=1,0\n"
    "Waypoint=2,0\n";  // lines 1-9
const char* const kTypes =
    "NewBullet\n"
    "BulletName=Pebble\n"
    "BulletSpeed=4\n"
    "NewTurret\n"
    "TurretName=Sling\n"
    "TurretBullet=Pebble\n"
    "TurretRate=10\n"
    "NewMonster\n"
    "MonsterName=Beetle\n"
    "MonsterHealth=20\n"
    "MonsterSpeed=0.5\n";  // lines 10-20

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// Type tables as text, one record after another, for exact comparison.
std::string types(const std::vector<Sim::Bullet>& all) {
    std::string out;
    char buf[300];
    for (const Sim::Bullet& b : all) {
        std::snprintf(buf, sizeof buf, "%s %g %g %d %d,%d|", b.name, b.damage, b.speed, b.effect, b.imgx, b.imgy);
        out += buf;
    }
    return out;
}
std::string types(const std::vector<Sim::Turret>& all) {
    std::string out;
    char buf[500];
    for (const Sim::Turret& t : all) {
        std::snprintf(buf, sizeof buf, "%s/%s %d %d %d %d %d %d,%d|", t.name, t.desc, t.cost, t.bullet, t.range,
                      t.rate, t.accuracy, t.imgx, t.imgy);
        out += buf;
    }
    return out;
}
std::string types(const std::vector<Sim::Monster>& all) {
    std::string out;
    char buf[300];
    for (const Sim::Monster& m : all) {
        std::snprintf(buf, sizeof buf, "%s %g %g %d %d %d,%d [", m.name, m.health, m.speed, m.number, m.money,
                      m.imgx, m.imgy);
        out += buf;
        for (const Sim::Effect& e : m.immunities) {
            std::snprintf(buf, sizeof buf, "%d:%g ", e.kind, e.factor);
            out += buf;
        }
        out += "]|";
    }
    return out;
}

bool has_line(const std::string& log, const std::string& line) {
    std::vector<std::string> all = lines_of(log);
    return std::find(all.begin(), all.end(), line) != all.end();
}

class LoaderTest : public ::testing::Test {
protected:
    TempDir dir{"level"};
    std::unique_ptr<Sim> sim{new Sim};
    std::string log;

    void SetUp() override { write_tileset(dir.file("tiles.bmp")); }

    bool load(const std::string& text) {
        dir.write("level.txt", text);
        return load_written();
    }
    bool load_written() {
        reports.clear();
        error_text_before.clear();
        test_clock_reset();
        loading_screen_watch = watch;
        testing::internal::CaptureStdout();
        bool ok = sim->load_level(dir.path.c_str());
        log = testing::internal::GetCapturedStdout();
        loading_screen_watch = nullptr;
        return ok;
    }
    std::string at(int line) const { return dir.file("level.txt") + ":" + std::to_string(line) + ": "; }
    Uint32 map_raw(int x, int y) const { return getpixel(sim->map, x, y); }
    Uint32 map_rgb(int x, int y) const { return surface_rgb(sim->map, x, y); }
};

TEST_F(LoaderTest, ExampleLevelLoadsWithItsExactLog) {
    std::string example = read_file(std::string(RAMPARTICA_SOURCE_DIR) + "/tests/data/example_level/level.txt");
    // The format guide shows this very file.
    EXPECT_NE(std::string::npos, read_file(std::string(RAMPARTICA_SOURCE_DIR) + "/docs/levels.md").find(example));
    ASSERT_TRUE(load(example)) << log;
    EXPECT_EQ("Loading level \"" + dir.path + "\"...\n>Pond: reading the example level\n"
              "Tile: 0/0, id: ., buildable\nTile: 2/0, id: #, not buildable\nTile: 6/0, id: ~, not buildable\n"
              "Waypoint: 0/1\nWaypoint: 3/1\nWaypoint: 3/3\nWaypoint: 5/3\n"
              "Snail is immune to Slow\nSnail is immune to Pebble\n"
              "2 monster(s) loaded!\n2 turret(s) loaded!\n2 bullet(s) loaded!\nLevel successfully loaded!\n",
              log);
    EXPECT_EQ((std::vector<Uint32>{100, 500}), test_delays());
    const char* info[] = {"Pond", "A short path around a pond", "A level designer", "tiles.bmp"};
    for (int i = 0; i < 4; i++) EXPECT_STREQ(info[i], sim->levelinfo[i]);
    EXPECT_EQ("Pebble 4 5 -1 0,3|Frost 1 4 1 3,3|", types(sim->bullettypes));
    EXPECT_EQ("Sling/Cheap and steady 10 0 48 15 1 0,2|Frost Bell/Slows what it hits 25 1 40 20 0 3,2|",
              types(sim->turrettypes));
    EXPECT_EQ("Beetle 20 0.5 8 2 0,1 []|Snail 60 0.4 6 4 1,1 [-1:0 0:0.5 ]|", types(sim->monstertypes));
    ASSERT_EQ(4u, sim->waypoints.size());
    EXPECT_EQ(5, sim->waypoints[3].x);
    EXPECT_EQ(3, sim->waypoints[3].y);

    // Only "." cells are buildable, and nothing outside the 6x4 map.
    const char* rows[] = {"......", "####..", "...#~~", "...###"};
    for (int x = 0; x < 128; x++)
        for (int y = 0; y < 96; y++)
            ASSERT_EQ(x < 6 && y < 4 && rows[y][x] == '.', sim->buildable[x][y]) << x << "," << y;

    // Every counted line is reported in turn, with the line as read.
    ASSERT_EQ(59u, reports.size());
    EXPECT_EQ("level.txt...", reports[0].text);
    for (int k = 0; k <= 57; k++) EXPECT_EQ(k, reports[k].progress);
    EXPECT_EQ("Name=Pond", reports[1].text);
    EXPECT_EQ("Row=......", reports[10].text);
    EXPECT_EQ("MonsterImmunity=Pebble,0.5", reports[57].text);
    EXPECT_EQ(100, reports[58].progress);
    EXPECT_EQ("", reports[58].text);
    for (const Report& r : reports) EXPECT_FALSE(r.error);
}

TEST_F(LoaderTest, PaintsTilesFrameAndPathOnAClearedMap) {
    // The path is given before the rows: it is still drawn over them.
    ASSERT_TRUE(load("Waypoint=0,1\nWaypoint=3,1\nWaypoint=3,3\n"
                     "TileSet=tiles.bmp\nTile.=0,0,1\nTile#=2,0,0\nTile~=6,0,0\nTile.=5,0,0\n"
                     "Tile%=2147483647,-9,1\nLevelWidth=6\nLevelHeight=4\n"
                     "Row=....~.\nRow=####..\nRow=...#?%\nRow=...#\n" +
                     std::string(kTypes)))
        << log;
    ASSERT_TRUE(sim->mapcreated);
    ASSERT_EQ(96, sim->map->w);
    ASSERT_EQ(64, sim->map->h);
    // The tile set's colour key is its bottom-left pixel.
    ASSERT_NE(0u, sim->tileset->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(getpixel(sim->tileset, 0, 63), sim->tileset->format->colorkey);

    // Tiles: the first definition of "." wins; its magenta pixel shows the
    // black of the cleared map.
    EXPECT_EQ(shown(cell_rgb(0, 0)), map_rgb(20, 3));
    EXPECT_EQ(0x000000u, map_rgb(16 + 5, 5));
    EXPECT_EQ(shown(cell_rgb(6, 0)), map_rgb(64 + 7, 7));
    EXPECT_EQ(shown(cell_rgb(2, 0)), map_rgb(16 + 3, 16 + 3));
    // An undefined character and cells no row reaches stay black.
    EXPECT_EQ(0x000000u, map_rgb(64 + 3, 32 + 3));
    EXPECT_EQ(0x000000u, map_rgb(80 + 3, 48 + 3));
    EXPECT_FALSE(sim->buildable[4][2]);
    // A cell outside the tile set draws nothing, however far out it is.
    EXPECT_EQ(0x000000u, map_rgb(80 + 3, 32 + 3));
    EXPECT_TRUE(sim->buildable[5][2]);

    // The frame, where the markers (cells 0,1 and 3,3) do not cover it.
    const Uint32 red = 0xFF0000;
    for (int x = 0; x < 96; x += 5) {
        EXPECT_EQ(red, map_rgb(x, 0)) << x;
        if (x < 48 || x >= 64) {
            EXPECT_EQ(red, map_rgb(x, 63)) << x;
        }
    }
    for (int y = 0; y < 64; y += 5) {
        if (y < 16 || y >= 32) {
            EXPECT_EQ(red, map_rgb(0, y)) << y;
        }
        EXPECT_EQ(red, map_rgb(95, y)) << y;
    }
    // The path runs through the cell centres: (8,24) to (56,24) to (56,56).
    for (int x = 8; x <= 56; x++) EXPECT_EQ(red, map_rgb(x, 24)) << x;
    for (int y = 24; y <= 56; y++) EXPECT_EQ(red, map_rgb(56, y)) << y;
    EXPECT_NE(red, map_rgb(57, 20));

    // The marker (symbol cell 5,0, blue transparent) sits under the path on
    // the first and the last waypoint; its blue parts show the tile below.
    const Uint32 blue = sim->symbols->format->colorkey;
    struct Spot { int cx, cy; Uint32 below; } spots[] = {{0, 1, shown(cell_rgb(2, 0))}, {3, 3, shown(cell_rgb(2, 0))}};
    int marker_pixels = 0;
    for (const Spot& s : spots)
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++) {
                int mx = 16 * s.cx + x, my = 16 * s.cy + y;
                bool on_line = (my == 24 && mx >= 8 && mx <= 56) || (mx == 56 && my >= 24 && my <= 56);
                if (on_line || mx == 0 || my == 63) continue;
                Uint32 sym = getpixel(sim->symbols, 80 + x, y);
                if (sym == blue) {
                    EXPECT_EQ(s.below, map_rgb(mx, my)) << mx << "," << my;
                } else {
                    EXPECT_EQ(sym, map_raw(mx, my)) << mx << "," << my;
                    marker_pixels++;
                }
            }
    EXPECT_GT(marker_pixels, 20);
}

TEST_F(LoaderTest, ValuesLineClassesAndNameReferences) {
    ASSERT_TRUE(load(std::string(kHead) +
                     "# a comment, Name=Nope\n>echoed as it is \n\n"
                     "NewBullet\nBulletName=Arrow\nBulletSpeed=2\nNewBullet\nBulletName=Arrow\nBulletSpeed=3\n"
                     "NewBullet\nBulletName=Frost\nBulletSpeed=3\nBulletDamage= 7\nBulletImg=6,7,8\n"
                     "NewTurret\nTurretBullet=Arrow\nTurretRate=1\nTurretCost=abc\nTurretRange=60px\nTurretImg=,5\n"
                     "NewTurret\nTurretBullet=Frost\nTurretRate=1\n"
                     "NewMonster\nMonsterName=Ogre\nMonsterHealth=2.5\nMonsterSpeed=1.5\nMonsterNumberX=12\n"
                     "MonsterMoney=-3\nMonsterImg=4\n"
                     "MonsterImmunity=Arrow,0.25\nMonsterImmunity=Slow\nMonsterImmunity=\nMonsterImmunity=,\n"
                     "Name Forest\nComment=a=b=c \nAuthor=\nTile\nTile=\n"))
        << log;
    // Values: after the first "=", untrimmed; the whole line without one.
    EXPECT_STREQ("Name Forest", sim->levelinfo[0]);
    EXPECT_STREQ("a=b=c ", sim->levelinfo[1]);
    EXPECT_STREQ("", sim->levelinfo[2]);
    EXPECT_TRUE(has_line(log, ">echoed as it is ")) << log;
    // Whole numbers stop at the first non-digit, a missing number of a pair
    // is 0, and the last bullet type of a name is the one referred to.
    EXPECT_EQ("Arrow 0 2 0 0,0|Arrow 0 3 0 0,0|Frost 7 3 0 6,7|", types(sim->bullettypes));
    EXPECT_EQ("/ 0 1 60 1 0 5,0|/ 0 2 0 1 0 0,0|", types(sim->turrettypes));
    EXPECT_EQ("Ogre 2 1.5 12 -3 4,0 [1:0.25 -1:0 ]|", types(sim->monstertypes));
    EXPECT_TRUE(has_line(log, "Ogre is immune to Arrow"));
    EXPECT_TRUE(has_line(log, "Ogre is immune to Slow"));
    // A Tile line's character is at position 4, even the terminator.
    EXPECT_TRUE(has_line(log, std::string("Tile: 0/0, id: ", 15) + '\0' + ", not buildable"));
    EXPECT_TRUE(has_line(log, "Tile: 0/0, id: =, not buildable"));
    EXPECT_EQ(std::string::npos, log.find("Warning"));
}

TEST_F(LoaderTest, WarningsNameTheirLinesExactly) {
    ASSERT_TRUE(load(std::string(kHead) +  // lines 1-9
                     "BulletName=Early\nMonsterSpeed=3\nTurretCost=5\nNewBullet \nNonsense\n"           // 10-14
                     "NewBullet\nBulletName=Pebble\nBulletSpeed=4\nBulletEffect=slow\nBulletEffect=Slow \n"  // 15-19
                     "NewTurret\nTurretBullet=Later\nTurretRate=2\nNewBullet\nBulletName=Later\n"          // 20-24
                     "BulletSpeed=4\nNewMonster\nMonsterName=Rat\nMonsterHealth=3\nMonsterSpeed=1\n"       // 25-29
                     "MonsterImmunity=Fire,0\nMonsterImmunity=slow,0\n"))                                 // 30-31
        << log;
    std::vector<std::string> warnings;
    for (const std::string& l : lines_of(log))
        if (l.compare(0, 7, "Warning") == 0) warnings.push_back(l);
    EXPECT_EQ((std::vector<std::string>{
                  "Warning! Line 10 needs a NewBullet before it, skipped",
                  "Warning! Line 11 needs a NewMonster before it, skipped",
                  "Warning! Line 12 needs a NewTurret before it, skipped",
                  "Warning: Non-null line ignored: NewBullet ",
                  "Warning: Non-null line ignored: Nonsense",
                  "Warning! Couldn't understand line number18... Is the casing correct?",
                  "Warning! Couldn't understand line number19... Is the casing correct?",
                  "Warning! Bullet \"Later\"(line 21) could not be found! (Did you define it before the turrets? "
                  "Is the casing correct?)",
                  "Warning! Couldn't find a bullet or an effect on line 30",
                  "Warning! Couldn't find a bullet or an effect on line 31",
              }),
              warnings);
    // A wrong effect leaves the value as it was, a missing bullet falls back
    // to the first type, and a skipped property changes nothing.
    EXPECT_EQ("Pebble 0 4 0 0,0|Later 0 4 0 0,0|", types(sim->bullettypes));
    EXPECT_EQ(0, sim->turrettypes[0].bullet);
    EXPECT_TRUE(sim->monstertypes[0].immunities.empty());
}

TEST_F(LoaderTest, OverlongLinesAreSkippedWholeAndTheLastLineNeedsNoLineFeed) {
    std::string longname = "Name=" + std::string(300, 'x') + "Comment=hidden";
    std::string exact = "Author=" + std::string(192, 'a');  // 199 characters: fits
    std::string text = std::string(kHead) + kTypes + longname + "\n" + exact + "\n" + std::string(1000, '#') +
                       "\nMonsterNumber=9";
    ASSERT_TRUE(load(text)) << log;
    EXPECT_TRUE(has_line(log, "Warning! Line 21 is longer than 199 characters, skipped")) << log;
    EXPECT_TRUE(has_line(log, "Warning! Line 23 is longer than 199 characters, skipped")) << log;
    EXPECT_STREQ("", sim->levelinfo[0]);
    EXPECT_STREQ("", sim->levelinfo[1]);  // the rest of the long line is not a line of its own
    EXPECT_EQ(std::string(192, 'a'), sim->levelinfo[2]);
    EXPECT_EQ(9, sim->monstertypes[0].number);

    // An overlong last line without a line feed ends the file cleanly.
    sim.reset(new Sim);
    ASSERT_TRUE(load(std::string(kHead) + kTypes + std::string(5000, 'z'))) << log;
    EXPECT_TRUE(has_line(log, "Warning! Line 21 is longer than 199 characters, skipped")) << log;
}

TEST_F(LoaderTest, ProgressCountsKeyLinesAndOnlyRowsAndWaypointsStopAt100) {
    std::string text;
    for (int i = 0; i < 120; i++) text += "Comment=c\n";
    text += "NewBullet\n# not counted\n\nWhatever\n>echo\n";
    text += "TileSet=tiles.bmp\nTile.=0,0,1\nLevelWidth=2\nLevelHeight=2\nRow=..\nComment=after the row\n";
    text += "Row=..\nWaypoint=0,0\nWaypoint=1,1\nBulletSpeed=1\nNewMonster\nMonsterSpeed=1\nMonsterHealth=1\n";
    ASSERT_TRUE(load(text)) << log;
    std::vector<int> got;
    for (const Report& r : reports) got.push_back(r.progress);
    std::vector<int> want = {0};
    for (int k = 1; k <= 124; k++) want.push_back(k);  // 120 comments, TileSet, Tile, LevelWidth, LevelHeight
    want.insert(want.end(), {100, 101, 100, 100, 100, 101, 102, 103, 100});
    EXPECT_EQ(want, got);
    EXPECT_EQ("Row=..", reports[125].text);
}

TEST_F(LoaderTest, ARowBeforeTheTileSetShowsTheBlitErrorAndLoadingGoesOn) {
    ASSERT_TRUE(load("Tile.=0,0,1\nLevelWidth=2\nLevelHeight=1\nRow=..\nTileSet=tiles.bmp\nWaypoint=0,0\n"
                     "Waypoint=1,0\n" + std::string(kTypes)))
        << log;
    // Reports: 0 start, 1 Tile, 2 LevelWidth, 3 LevelHeight, 4 Row, 5 TileSet.
    // The one after the row sees the text the failed blits wrote.
    ASSERT_GT(error_text_before.size(), 5u);
    EXPECT_EQ(0, error_text_before[4]);
    EXPECT_GT(error_text_before[5], 5);
    EXPECT_TRUE(sim->buildable[0][0]);
}

TEST_F(LoaderTest, AMissingFileIsReportedOnTheRedBar) {
    test_clock_reset();
    reports.clear();
    loading_screen_watch = watch;
    testing::internal::CaptureStdout();
    bool ok = sim->load_level(dir.file("nothing-here").c_str());
    log = testing::internal::GetCapturedStdout();
    loading_screen_watch = nullptr;
    EXPECT_FALSE(ok);
    EXPECT_EQ("", log);
    ASSERT_EQ(2u, reports.size());
    EXPECT_EQ(0, reports[1].progress);
    EXPECT_EQ("Unable to open level.txt!", reports[1].text);
    EXPECT_TRUE(reports[1].error);
    EXPECT_EQ((std::vector<Uint32>{100, 2000}), test_delays());
    EXPECT_FALSE(sim->mapcreated);
    EXPECT_EQ(0xFF0000u, screen_rgb(62, 113));
}

// Every level the game could not play is refused at load: the reason on the
// red bar (held 2 s) and in the log with the file and line.
TEST_F(LoaderTest, LevelsTheGameCannotPlayAreRefused) {
    const std::string head(kHead), types(kTypes);
    auto replace = [](std::string s, const std::string& from, const std::string& to) {
        size_t at = s.find(from);
        EXPECT_NE(std::string::npos, at) << from;
        if (at != std::string::npos) s.replace(at, from.size(), to);
        return s;
    };
    std::string rows97 = "TileSet=tiles.bmp\nTile.=0,0,1\nLevelWidth=2\nLevelHeight=96\n";
    for (int i = 0; i < 97; i++) rows97 += "Row=..\n";
    struct Case {
        std::string text;
        int line;  // 0: no line
        std::string reason;
    } cases[] = {
        {replace(head, "LevelWidth=4\n", "") + types, 5, "Row before LevelWidth and LevelHeight"},
        {replace(head, "LevelWidth=4", "LevelWidth=0") + types, 4, "LevelWidth must be 1 to 128"},
        {replace(head, "LevelHeight=2", "LevelHeight=-1") + types, 5, "LevelHeight must be 1 to 96"},
        {replace(head, "LevelWidth=4", "LevelWidth=129") + types, 4, "LevelWidth must be 1 to 128"},
        {replace(head, "LevelHeight=2", "LevelHeight=97") + types, 5, "LevelHeight must be 1 to 96"},
        {rows97 + types, 101, "Map row beyond 96 rows"},
        {replace(head, "Row=....", "Row=" + std::string(129, '.')) + types, 7, "Map row longer than 128 cells"},
        {replace(replace(head, "Row=.##.\n", ""), "Row=....\n", "") + types, 0, "No Row lines: the level has no map"},
        {head + replace(types, "NewMonster\nMonsterName=Beetle\nMonsterHealth=20\nMonsterSpeed=0.5\n", ""), 0,
         "No monster type: add a NewMonster block"},
        {head + replace(types, "NewBullet\nBulletName=Pebble\nBulletSpeed=4\n", ""), 0,
         "Turrets but no bullet type: add a NewBullet block"},
        {replace(head, "Waypoint=2,0\n", "") + types, 0, "Fewer than two Waypoint lines"},
        {replace(head, "Waypoint=2,0", "Waypoint=4,0") + types, 9, "Waypoint 4/0 is outside the map"},
        {replace(head, "Waypoint=1,0", "Waypoint=1,-1") + types, 8, "Waypoint 1/-1 is outside the map"},
        {replace(head, "Waypoint=2,0", "Waypoint=0,2") + types, 9, "Waypoint 0/2 is outside the map"},
        {head + replace(types, "BulletSpeed=4", "BulletSpeed=0"), 10, "NewBullet #1: BulletSpeed must be above 0"},
        {head + replace(types, "BulletSpeed=4", "BulletSpeed=nan"), 10, "NewBullet #1: BulletSpeed must be above 0"},
        {head + replace(types, "MonsterSpeed=0.5", "MonsterSpeed=-1"), 17,
         "NewMonster #1: MonsterSpeed must be above 0"},
        {head + replace(types, "MonsterSpeed=0.5", "MonsterSpeed=inf"), 17,
         "NewMonster #1: MonsterSpeed must be above 0"},
        {head + replace(types, "MonsterHealth=20", "MonsterHealth=0"), 17,
         "NewMonster #1: MonsterHealth must be above 0"},
        {head + replace(types, "TurretRate=10", "TurretRate=0"), 13, "NewTurret #1: TurretRate must be 1 or more"},
        {head + types + "NewTurret\nTurretAccuracy=-1\nTurretRate=1\n", 21,
         "NewTurret #2: TurretAccuracy must be 0 or more"},
        {head + types + "MonsterImmunity=Pebble,-0.5\n", 21, "MonsterImmunity factor must be 0 or more"},
        {head + types + "MonsterImmunity=Slow,nan\n", 21, "MonsterImmunity factor must be 0 or more"},
        {head + types + "MonsterImmunity=Slow,1.5\n", 21, "Slow immunity factor must be 0 to 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        sim.reset(new Sim);
        ASSERT_FALSE(load(c.text)) << log;
        std::string where = dir.file("level.txt") + (c.line ? ":" + std::to_string(c.line) : "") + ": ";
        std::vector<std::string> all = lines_of(log);
        ASSERT_FALSE(all.empty());
        EXPECT_EQ(where + c.reason, all.back());
        EXPECT_EQ(std::string::npos, log.find("successfully"));
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(c.reason, reports.back().text);
        EXPECT_TRUE(reports.back().error);
        EXPECT_LE(c.reason.size(), 53u);
        EXPECT_EQ(2000u, test_delays().back());
        EXPECT_EQ(0xFF0000u, screen_rgb(62, 113));
    }
}

using LoaderDeathTest = LoaderTest;

TEST_F(LoaderDeathTest, ATileSetThatFailsTheBitmapCheckEndsTheGameLikeAMissingImage) {
    // A run-length compressed bitmap: SDL 1.2 cannot read it.
    std::string rle = "BM" + std::string(8, '\0') +
                      std::string("\x3e\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x08\0\x01\0\0\0", 24);
    rle += std::string(62 - rle.size(), '\0') + std::string(16, '\x01');
    dir.write("bad.bmp", rle);
    dir.write("level.txt", "Name=Bad pack\nTileSet=bad.bmp\n" + std::string(kHead) + kTypes);
    std::string out = dir.file("out.txt");
    EXPECT_EXIT(
        {
            if (!freopen(out.c_str(), "w", stdout)) _exit(4);
            sim->load_level(dir.path.c_str());
            _exit(5);
        },
        ::testing::ExitedWithCode(0), "");
    std::vector<std::string> all = lines_of(read_file(out));
    ASSERT_FALSE(all.empty());
    EXPECT_EQ("couldnt load file: " + dir.file("bad.bmp"), all.back());
}

// Inputs the fuzzer (or a reviewer) found dangerous, kept as files: the
// name says whether the level must be refused or must load.
TEST_F(LoaderTest, FuzzRegressionsLoadOrAreRefusedAsNamed) {
    std::string dirname = std::string(RAMPARTICA_SOURCE_DIR) + "/fuzz/regressions/level_loader";
    std::vector<std::string> names;
    if (DIR* d = opendir(dirname.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
    }
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        bool refused = name.compare(0, 8, "refused-") == 0;
        ASSERT_TRUE(refused || name.compare(0, 6, "loads-") == 0) << "name it refused-... or loads-...";
        sim.reset(new Sim);
        EXPECT_EQ(!refused, load(read_file(dirname + "/" + name))) << log;
    }
}

// The levels that come with the game load with no warning at all.
TEST(LoaderBundledTest, EveryBundledLevelLoadsCleanly) {
    std::vector<std::string> names;
    if (DIR* d = opendir("levels")) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
    }
    for (const char* required : {"Meadow", "Canyon", "Frostmarsh", "Emberkeep"})
        EXPECT_NE(names.end(), std::find(names.begin(), names.end(), required)) << required << " is missing";
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        Sim sim;
        std::string path = "levels/" + name;
        testing::internal::CaptureStdout();
        bool ok = sim.load_level(path.c_str());
        std::string log = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(ok) << log;
        EXPECT_EQ(std::string::npos, log.find("Warning")) << log;
        EXPECT_TRUE(has_line(log, "Level successfully loaded!"));
        EXPECT_NE('\0', sim.levelinfo[0][0]);
        EXPECT_NE('\0', sim.levelinfo[1][0]);
        EXPECT_NE('\0', sim.levelinfo[2][0]);
    }
}

}  // namespace

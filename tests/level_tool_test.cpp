// rampartica-level: `check` finds each class of mistake on its line, in one
// run and without a cascade; the tool runs from any folder and exits with
// the status editors and scripts expect; `balance` plays a level through.
#include "level/level_check.h"
#include "support/test_env.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// A small level that checks clean; the cases below break it one way each.
const std::string kLevel =
    "TileSet=tiles.bmp\nTile.=0,0,1\nTile#=2,0,0\nLevelWidth=4\nLevelHeight=2\n"                       // 1-5
    "Row=.###\nRow=....\nWaypoint=1,0\nWaypoint=3,0\nNewBullet\nBulletName=Pebble\nBulletSpeed=4\n"     // 6-12
    "NewTurret\nTurretBullet=Pebble\nTurretRate=10\nTurretRange=40\nTurretCost=10\nNewMonster\n"        // 13-18
    "MonsterHealth=20\nMonsterSpeed=0.5\nMonsterNumber=5\n";                                            // 19-21

struct Case {
    std::vector<std::pair<std::string, std::string>> edits;  // each replaces the first match
    std::vector<std::string> want;                           // "LINE kind start-of-text", in line order
};

std::string edited(std::string text, const Case& c) {
    for (const auto& e : c.edits) text.replace(text.find(e.first), e.first.size(), e.second);
    return text;
}

// Findings as "LINE kind text", to compare with the start of what a case wants.
std::vector<std::string> found(const LevelCheck& check) {
    std::vector<std::string> out;
    for (const Finding& f : check.findings)
        out.push_back(std::to_string(f.line) + (f.error ? " error " : " warning ") + f.text);
    return out;
}

std::string tool() { return std::string(RAMPARTICA_RUN_DIR) + "/rampartica-level"; }

}  // namespace

TEST(LevelCheckTest, EachMistakeIsFoundOnItsLine) {
    TempDir dir("check");
    dir.write("tiles.bmp", read_file("levels/Meadow/tiles.bmp"));
    dir.write("fake.bmp", "\x89PNG\r\n\x1a\n but called a bitmap");
    SDL_Surface* small = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 32, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_SaveBMP(small, dir.file("small.bmp").c_str());
    SDL_FreeSurface(small);

    std::string crlf;
    for (char c : kLevel) crlf += c == '\n' ? "\r\n" : std::string(1, c);
    const Case cases[] = {
        {{}, {}},
        {{{"TurretRange", "TurretRnage"}},
         {"13 warning turret \"\" has no range", "16 warning unknown line \"TurretRnage=40\", ignored: did you mean TurretRange?"}},
        {{{"NewTurret\n", "NewTurret \n"}},
         {"10 warning bullet type \"Pebble\" is fired by no turret",
          "13 warning \"NewTurret \" is not a record line: NewTurret must stand alone",
          "14 warning \"TurretBullet=Pebble\" comes before any NewTurret", "15 warning", "16 warning", "17 warning",
          "21 warning no NewTurret block"}},
        {{{"TurretBullet=Pebble", "TurretBullet=Pebbel"}}, {"14 warning TurretBullet names \"Pebbel\", which is no bullet type above it; the turret fires \"Pebble\" "
                                                        "instead: did you mean \"Pebble\"?"}},
        {{{"Row=....", "Row=...x."}},
         {"7 warning Row of 5 cells for LevelWidth 4: the game cuts it", "7 warning map characters \"x\" have no Tile line"}},
        {{{"Row=....\n", ""}}, {"5 warning LevelHeight 2 but only 1 Row lines"}},
        {{{"Waypoint=3,0", "Waypoint=7,0"}}, {"9 warning waypoint 7/0 lies outside the 4x2 map: monsters walk off the map"}},
        {{{"Waypoint=3,0", "Waypoint=3,1"}},
         {"9 warning the path from 1/0 to 3/1 is diagonal", "9 warning the path from 1/0 to 3/1 crosses 2 buildable cells (first 2/1)"}},
        {{{"Row=.###", "Row=.#.#"}}, {"9 warning the path from 1/0 to 3/0 crosses 1 buildable cells (first 2/0)"}},
        {{{"LevelWidth=4\nLevelHeight=2\nRow=.###\nRow=....\nWaypoint=1,0\nWaypoint=3,0",
           "LevelWidth=20\nLevelHeight=2\nRow=.###################\nRow=" + std::string(20, '.') + "\nWaypoint=19,0\nWaypoint=1,0"}},
         {"8 warning the path starts at 19/0, under the open sidebar in the opening view"}},
        {{{"MonsterNumber=5", "MonsterNumber=0"}, {"MonsterHealth=20", "MonsterHealth=-1"}},
         {"19 warning wave 1 (\"\") has no health", "21 warning wave 1 (\"\") sends no monsters"}},
        {{{"TurretCost=10", "TurretCost=31"}, {"", "NewBullet\nBulletName=Spare\nBulletSpeed=1\n"}},
         {"1 warning bullet type \"Spare\" is fired by no turret", "20 warning the cheapest turret costs 31"}},
        {{{"TileSet=tiles.bmp", "TileSet=small.bmp"}, {"MonsterNumber", "MonsterImg=4,1\nMonsterNumber"}},
         {"1 warning the tile sheet is 64x32 pixels", "21 warning MonsterImg 4/1 of \"\" lies outside the tile sheet (4x2 cells)"}},
        {{{"Row=....", "Row=....\nRow=...."}}, {"8 warning Row beyond LevelHeight 2: it is not shown"}},
        {{{"Tile#=2,0,0\n", ""}, {"Row=....\n", "Row=....\nTile#=2,0,0\n"}},
         {"5 warning map characters \"#\" are defined by Tile lines below this row"}},
        {{{"Tile#=2,0,0", "Tile#=8,0,0"}}, {"3 warning Tile '#' uses cell 8/0, outside the tile sheet (8x4 cells)"}},
        {{{"TurretRate=10", "TurretRate=-1"}, {"MonsterNumber=5", "MonsterNumber=5\nMonsterImmunity=Pebble,-0.5"}},
         {"15 warning TurretRate below 0 acts as 0", "22 warning a factor below 0 makes hits heal"}},
        {{{"TileSet=tiles.bmp\n", ""}}, {"20 error No TileSet line"}},
        {{{"tiles.bmp", "missing.bmp"}}, {"1 error Tile set: cannot open"}},
        {{{"tiles.bmp", "fake.bmp"}}, {"1 error Tile set: bad magic"}},
        {{{"NewMonster\n", ""}},
         {"18 warning \"MonsterHealth=20\" comes before any NewMonster", "19 warning", "20 warning",
          "20 error No monster type"}},
        {{{kLevel, crlf}}, {"1 error carriage return (CRLF line ends)"}},
    };
    for (const Case& c : cases) {
        std::string text = edited(kLevel, c);
        SCOPED_TRACE(text);
        dir.write("level.txt", text);
        std::vector<std::string> got = found(check_level_dir("any", dir.path));
        ASSERT_EQ(c.want.size(), got.size()) << ::testing::PrintToString(got);
        for (size_t i = 0; i < got.size(); i++) EXPECT_EQ(0u, got[i].rfind(c.want[i], 0)) << got[i];
    }
}

// Run from another folder, as an author would: the pictures are found next
// to the tool, the levels by the paths given, and the status tells.
TEST(LevelToolTest, ChecksFromAnyFolderWithTheStatusScriptsNeed) {
    TempDir dir("tool");
    dir.write("Bad/level.txt", "Name=Bad\n");
    int status = -1;
    std::string clean = run_command("cd '" + std::string(RAMPARTICA_RUN_DIR) + "/levels' && " + program_command(tool()) +
                                        " check Meadow Frostmarsh Canyon Emberkeep 2>&1",
                                    &status);
    EXPECT_TRUE(clean.empty() && status == 0) << clean;
    std::string bad = run_command("cd '" + dir.path + "' && " + program_command(tool()) + " check Bad/ Missing 2>&1", &status);
    EXPECT_EQ(1, status);
    EXPECT_EQ(0u, bad.find("Bad/level.txt:1: error: ")) << bad;
    EXPECT_NE(std::string::npos, bad.find("Bad/level.txt:1: error: No TileSet line")) << bad;
    EXPECT_NE(std::string::npos, bad.find("\nMissing/level.txt: error: cannot open it: No such file")) << bad;
    run_command(program_command(tool()) + " 2>/dev/null", &status);
    EXPECT_EQ(2, status);
}

// One row per wave through the defined waves and on, each row's total the
// count times the health, the summary last, and the plot beside it.
TEST(LevelToolTest, BalancePlaysALevelThroughAndPlotsIt) {
    TempDir dir("balance");
    int status = -1;
    std::string out = run_command(program_command(tool()) + " balance '" + std::string(RAMPARTICA_RUN_DIR) +
                                      "/levels/Meadow' --svg '" + dir.file("m.svg") + "'",
                                  &status);
    ASSERT_EQ(0, status) << out;
    std::istringstream in(out);
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    ASSERT_EQ(0u, line.find(" wave  monster")) << out;
    int rows = 0;
    while (std::getline(in, line) && line.find("defined waves") == std::string::npos) {
        std::istringstream row(line);
        std::string wave, name, word;
        double count, health, total;
        row >> wave >> name;
        while (row >> word && !std::isdigit(static_cast<unsigned char>(word[0]))) name += " " + word;
        count = std::stod(word);
        row >> health >> total;
        rows++;
        EXPECT_EQ(std::to_string(rows) + (rows > 8 ? "+" : ""), wave) << line;
        EXPECT_DOUBLE_EQ(count * health, total) << line;
    }
    EXPECT_GT(rows, 8);
    EXPECT_EQ(0u, line.find("cleared 8 of 8 defined waves; lost in endless repeat " + std::to_string(rows - 8))) << line;
    const std::string svg = read_file(dir.file("m.svg"));
    EXPECT_EQ(0u, svg.find("<svg "));
    int lines = 0;
    for (size_t at = svg.find("<polyline"); at != std::string::npos; at = svg.find("<polyline", at + 1)) lines++;
    EXPECT_EQ(2, lines) << "threat and defence";
}

// Every frame the player would see, recorded as a hash: the menu with each
// level highlighted, each level's loading screen repaints, and a scripted
// game of each bundled level (tooltips, buying, the placement preview,
// placing, waves, scrolling, the sidebar sliding shut and open) with the
// message box stepped and drawn every frame as the in-game loop does. A
// change meant to keep the pictures must keep every line; the first line
// that differs names the frame. The game's standard output during play is
// recorded the same way on the last line.
//
// After a deliberate change of the pictures, rewrite the records with
// RAMPARTICA_UPDATE_GOLDEN=1 and look at the frames that changed.
#include "app/globals.h"
#include "app/menu.h"
#include "game/messagebox.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "level/scripted_play.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// 64-bit FNV-1a over bytes.
struct Fnv {
    uint64_t h = 14695981039346656037ull;
    void byte(unsigned b) { h = (h ^ (b & 0xFF)) * 1099511628211ull; }
};

// The visible pixels of the screen row by row, each as its two bytes low
// first, whatever the machine's byte order.
uint64_t screen_hash() {
    Fnv f;
    for (int y = 0; y < screen->h; y++) {
        const Uint16* row = reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(screen->pixels) + y * screen->pitch);
        for (int x = 0; x < screen->w; x++) f.byte(row[x]), f.byte(row[x] >> 8);
    }
    return f.h;
}

struct FrameLog {
    std::ostringstream out;
    void frame(const std::string& label) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016" PRIx64, screen_hash());
        out << label << ' ' << hash << '\n';
    }
};

// Compares with the record, line by line, so a failure names the first frame that differs.
void expect_recorded(const std::string& name, const std::string& actual) {
    const std::string path = std::string(RAMPARTICA_SOURCE_DIR) + "/tests/golden/frames/" + name + ".txt";
    if (const char* update = std::getenv("RAMPARTICA_UPDATE_GOLDEN"); update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        GTEST_SKIP() << "rewrote " << path << "; review it and run again without RAMPARTICA_UPDATE_GOLDEN";
    }
    std::istringstream want(read_file(path)), got(actual);
    for (int line = 1;; line++) {
        std::string w, g;
        bool more = static_cast<bool>(std::getline(want, w));
        more = static_cast<bool>(std::getline(got, g)) || more;
        if (!more) break;
        ASSERT_EQ(w, g) << path << " line " << line << " (expected first)";
    }
}

// A scripted game of one level, as the player would play it: the cursor
// moves between frames, clicks come after the frame has been drawn.
class Game {
public:
    Game(ScriptedPlay& play, FrameLog& log) : play_(play), s_(play.sim), log_(log) {}

    void frames(int n, const std::string& label) {
        for (int i = 0; i < n; i++) frame(label + " " + std::to_string(i));
    }
    void frame(const std::string& label) {
        ticks_++;
        alive_ = alive_ && s_.step();
        s_.render();
        box.step();
        box.render();
        log_.frame(label);
    }
    bool alive() const { return alive_; }
    void wave_frame() { frame("wave " + std::to_string(s_.wave + 1) + " tick " + std::to_string(ticks_ + 1)); }

    void point_at(Square square) { play_.point(square.left + kCell / 2, square.top + kCell / 2); }

    // Places the selected type on the free cells nearest to the path that
    // can be clicked without scrolling, a frame after each, until the money
    // runs out or no such cell is left; then cancels what is left selected.
    void build(const std::string& label) {
        for (size_t i = 0; i < play_.cells.size() && s_.buildmode == BUILD_PLACING; i++) {
            const ScriptedPlay::Cell c = play_.cells[i];
            // The click takes column floor((x + 8) / 16) - mapx / 16, truncated.
            int x = 16 * (c.x + s_.mapx / 16), y = 16 * (c.y + s_.mapy / 16);
            if (!s_.buildable[c.x][c.y] || x < 16 || y < 12 || x >= 304 - s_.sidebarwidth || y > 228) continue;
            play_.point(x, y);
            s_.cursorclick(CLICK_PRESS);
            frame(label + " " + std::to_string(c.x) + "," + std::to_string(c.y));
        }
        s_.cursorclick(CLICK_CANCEL);
    }

private:
    ScriptedPlay& play_;
    Sim& s_;
    FrameLog& log_;
    bool alive_ = true;
    int ticks_ = 0;
};

std::string play_level(const std::string& level) {
    FrameLog log;
    int repaints = 0;
    ScriptedPlay play("levels/" + level, [&] { log.frame("load " + std::to_string(repaints++)); });
    if (!play.loaded) return play.problem;

    testing::internal::CaptureStdout();
    Sim& s = play.sim;
    Game game(play, log);
    play.point(120, 120);
    game.frames(3, "start");
    const int types = std::min(6, static_cast<int>(s.turrettypes.size()));
    for (int i = 0; i < types; i++) {  // the tooltips, green or red as the money allows
        game.point_at(icon_square(i, s.sidebarwidth));
        game.frames(2, "tip " + std::to_string(i));
    }
    game.point_at(icon_square(0, s.sidebarwidth));
    s.cursorclick(CLICK_PRESS);  // bought by its icon
    game.frame("bought");
    for (int k = 0; k < 12; k++) {  // the preview over buildable and other tiles
        play.point(20 + 18 * k, 20 + 16 * k);
        game.frame("preview " + std::to_string(k));
    }
    game.build("built");
    s.cursorclick(CLICK_STRONGEST);
    game.build("strongest");

    // The first wave is played out, the sidebar sliding shut and open and
    // the view scrolling while it runs; the second is started by the Ready
    // button and watched for a while.
    s.cursorclick(CLICK_NEXT_WAVE);
    play.point(120, 120);
    for (int t = 0; t < 900 && s.waverunning && game.alive(); t++) {
        if (t == 100) s.toggle_sidebar(false);  // R: shut, then open again
        if (t == 140) s.toggle_sidebar(true);
        if (t == 200) play.point(319, 239);  // to the far corner and back
        if (t == 260) play.point(0, 0);
        if (t == 320) play.point(120, 120);
        game.wave_frame();
    }
    s.cursorclick(CLICK_NEXT_TYPE);  // the type built last
    game.build("rebuilt");
    s.cursorclick(CLICK_STRONGEST);
    game.build("strongest");
    game.point_at(ready_square(s.sidebarwidth));
    s.cursorclick(CLICK_PRESS);
    play.point(120, 120);
    for (int t = 0; t < 150 && s.waverunning && game.alive(); t++) game.wave_frame();
    const std::string printed = testing::internal::GetCapturedStdout();
    Fnv f;
    for (char c : printed) f.byte(static_cast<unsigned char>(c));
    char last[80];
    std::snprintf(last, sizeof last, "stdout %d lines %016" PRIx64 "\n",
                  static_cast<int>(std::count(printed.begin(), printed.end(), '\n')), f.h);
    return log.out.str() + last;
}

class GoldenFramesTest : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST(GoldenFramesTest, MenuWithEachLevelHighlighted) {
    if (mainmenu == nullptr) mainmenu = load_image("img/mainmenu.bmp");
    Menu menu;
    scan_levels(menu.list, "levels");
    // The directory's own order differs between file systems.
    std::vector<std::string> names(menu.list.levelnames, menu.list.levelnames + menu.list.levelcount);
    std::sort(names.begin(), names.end());
    for (size_t i = 0; i < names.size(); i++) std::snprintf(menu.list.levelnames[i], 100, "%s", names[i].c_str());
    FrameLog log;
    for (int i = 0; i < menu.list.levelcount; i++) {
        menu.selection = i;
        menu_draw(menu);
        log.frame("menu " + names[i]);
    }
    expect_recorded("menu", log.out.str());
}

TEST_P(GoldenFramesTest, ScriptedGame) { expect_recorded(GetParam(), play_level(GetParam())); }

INSTANTIATE_TEST_SUITE_P(Bundled, GoldenFramesTest, ::testing::Values("Meadow", "Canyon", "Frostmarsh", "Emberkeep"));

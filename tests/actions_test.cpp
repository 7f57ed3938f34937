// The player's actions: sidebar icons, Ready, placing, choosing types and
// starting waves with their announcements in the message box.
#include "support/sim_builder.h"

#include <climits>
#include <tuple>

namespace {

class ActionsTest : public EmptyBoxTest {};

// Turret type i fires bullet type i, dealing 2, 2, 3 and 0 a tick; every
// tile is buildable.
std::unique_ptr<Sim> shop_sim(int mapw = 400, int maph = 240) {
    auto s = make_sim(mapw, maph);
    s->bullettypes = {bullet_type("Pellet", 10, 4, EFFECT_NONE), bullet_type("Shell", 20, 4, EFFECT_NONE),
                      bullet_type("Big", 30, 4, EFFECT_NONE), bullet_type("Blank", 0, 4, EFFECT_NONE)};
    s->turrettypes = {turret_type("Gun", 10, 0, 50, 5, 0), turret_type("Mortar", 10, 1, 50, 10, 0),
                      turret_type("Cannon", 50, 2, 50, 10, 0), turret_type("Dud", 1, 3, 50, 10, 0)};
    s->monstertypes = {monster_type("Goblin", 40.7, 1, 1, 2)};
    std::memset(s->buildable, 1, sizeof s->buildable);
    return s;
}

// The selected type, or -1 while idle.
int selected(const Sim& s) { return s.buildmode == BUILD_PLACING ? s.selectedturret : -1; }

// Code 0 at screen (x, y) with `type` selected first (-1: idle); what is selected after.
int click(Sim& s, int x, int y, int type = -1) {
    s.buildmode = type >= 0 ? BUILD_PLACING : BUILD_IDLE, s.selectedturret = type;
    s.cursorx = x, s.cursory = y;
    s.cursorclick(CLICK_PRESS);
    return selected(s);
}

TEST_F(ActionsTest, IconsSellStrictlyInsideOnlyWhatIsAffordableAndReadyHasInclusiveEdges) {
    auto s = shop_sim();
    s->money = 100;
    const int left[] = {251, 272, 293, 251}, top[] = {98, 98, 98, 119};
    const int points[][3] = {{1, 1, 1}, {15, 15, 1}, {0, 1, 0}, {1, 0, 0}, {16, 1, 0}, {1, 16, 0}};  // dx, dy, hit
    for (int i = 0; i < 4; i++)
        for (const auto& [dx, dy, hit] : points)
            EXPECT_EQ(hit ? i : -1, click(*s, left[i] + dx, top[i] + dy)) << i << " at +" << dx << ",+" << dy;
    EXPECT_EQ(CURSOR_BUILDABLE, s->cursorframe);  // set by selecting
    s->money = 49;
    EXPECT_EQ(-1, click(*s, 294, 99));
    EXPECT_EQ(Lines({"Not enough money to buy Cannon!"}), drain_messages());

    // Ready at (252, 216); the last press comes while placing.
    const std::tuple<int, int, int, bool> presses[] = {
        {252, 216, -1, true},  {267, 231, -1, true},  {251, 216, -1, false}, {252, 215, -1, false},
        {268, 216, -1, false}, {252, 232, -1, false}, {252, 216, 0, false}};
    for (auto [x, y, type, starts] : presses) {
        s->waverunning = false;
        click(*s, x, y, type);
        EXPECT_EQ(starts, s->waverunning) << x << "," << y << " with " << type;
    }
    s->sidebarwidth = 40;  // half open: the icons stand 40 pixels further right
    EXPECT_EQ(0, click(*s, 292, 99));
}

TEST_F(ActionsTest, PlacingBuildsOnTheTileUnderThePreviewWithinTheMapAreaMapAndGrid) {
    struct Case { int mapw, maph, mapx, mapy, x, y, tx, ty; };  // tx -1: nothing built
    // Screen offsets truncated toward zero; the area's edges; beyond the map's
    // columns, a column -2, beyond its rows; the grid's last row and beyond.
    const Case cases[] = {
        {400, 240, -20, 30, 0, 40, 1, 2},
        {400, 32, 0, 0, 240, 8, -1, 0}, {400, 300, 0, 0, 8, 239, 1, 15}, {400, 300, 0, 0, 8, 240, -1, 0},
        {32, 32, 0, 0, 24, 8, -1, 0},   {400, 32, 50, 0, 10, 8, -1, 0},  {400, 32, 0, 0, 8, 24, -1, 0},
        {32, 1700, 0, -1504, 8, 8, 1, 95}, {32, 1700, 0, -1536, 8, 8, -1, 0},
    };
    for (const Case& c : cases) {
        auto s = shop_sim(c.mapw, c.maph);
        s->mapx = c.mapx, s->mapy = c.mapy;
        click(*s, c.x, c.y, 0);
        auto built = s->objects.empty() ? std::make_pair(-16.0, 0.0) : std::make_pair(s->objects[0].x, s->objects[0].y);
        EXPECT_EQ(std::make_pair(16.0 * c.tx, 16.0 * c.ty), built) << "case " << &c - cases;
    }
}

TEST_F(ActionsTest, NextWaveIsAnnouncedLineByLineAndTheBoxKeepsShortCopiesOfItsOwn) {
    auto s = shop_sim();
    s->monstertypes = {monster_type("Goblin", 40.7, 1, 1, 2), monster_type("Orc", 1e300, 1, 5, 2)};
    s->monstertypes[0].immunities = {{1, 0.5}, {-1, 0.0}, {3, 0.333}, {-2, 0.5}, {9, 0.5}};  // no effect 2, no type 9
    s->cursorclick(CLICK_NEXT_WAVE);
    EXPECT_EQ(Lines({"Level: 1", "A Goblin! HP: 40", "Shell: 50% Damage", "Slow: 0% effectivity", "Blank: 33% Damage"}),
              drain_messages());
    s->waverunning = false;
    s->wave = 1;
    s->cursorclick(CLICK_NEXT_WAVE);  // health beyond the int range is shown held to it
    EXPECT_EQ(Lines({"Level: 2", "5 Orcs! HP: 2147483647"}), drain_messages());
    // The box keeps a copy of at most 199 characters, and a box cleared mid-slide starts afresh.
    box.add(std::string(250, 'q').c_str());
    box.step();
    EXPECT_EQ(Lines({std::string(199, 'q')}), Lines(box.lines.begin(), box.lines.end()));
    box.clear();
    box.add("x");
    box.step();
    EXPECT_EQ(0.05, box.anim);
}

TEST_F(ActionsTest, TypeCodesPickTheStrongestTheNextOrTheLastBuiltAmongAffordableTypes) {
    auto s = shop_sim();  // costs 10, 10, 50 and 1
    s->lastturret = 2;
    // Idle, the Cannon built last out of reach: the type nearest in worth (damage
    // per tick per money: 0.2, 0.2, 0.06, 0) is the Dud. On round, back round,
    // back past the Cannon and on past it; only the current type affordable:
    // kept; none: dropped, and none to take up; the Cannon affordable: taken up.
    // Strongest: Gun and Mortar both deal 2 a tick, the lower index; while
    // placing, dropped first, then the Cannon's 3; cancel; none, as the Dud
    // deals nothing.
    const int next = CLICK_NEXT_TYPE, back = CLICK_PREVIOUS_TYPE, best = CLICK_STRONGEST, cancel = CLICK_CANCEL;
    const int presses[][3] = {  // money, code, the type selected after
        {20, next, 3}, {20, next, 0}, {20, back, 3}, {20, back, 1}, {20, next, 3}, {1, next, 3}, {0, back, -1},
        {0, next, -1}, {50, back, 2}, {20, best, 0}, {50, best, 2}, {50, cancel, -1}, {5, best, -1},
    };
    for (const auto& [money, code, type] : presses) {
        s->money = money;
        s->cursorclick(code);
        EXPECT_EQ(type, selected(*s)) << "code " << code << " with " << money;
    }
}

// A type that fires every tick (rate 0) counts as rate 1: the strongest for
// its damage, and its worth a number to compare, not a division by zero.
TEST_F(ActionsTest, RateZeroCountsAsOneForStrengthAndWorth) {
    auto s = make_sim();
    s->bullettypes = {bullet_type("Shot", 3, 4, -1)};
    // Strength 1.5, 1.5 and 3; worth 0.3, 0.15 and 0.15.
    s->turrettypes = {turret_type("Cheap", 5, 0, 40, 2, 0), turret_type("Slow", 10, 0, 40, 2, 0),
                      turret_type("Rapid", 20, 0, 40, 0, 0)};
    s->money = 30;
    s->cursorclick(2);
    EXPECT_EQ(2, selected(*s));
    s->money = 15;
    EXPECT_EQ(1, s->similarturret(2));
}

TEST_F(ActionsTest, LevelsWithoutTypesAndUnknownCodesChangeNothing) {
    auto s = make_sim();
    for (int code : {2, 3, 4, 5, -1, 6, INT_MIN}) s->cursorclick(code);  // the four that need a type, and no codes
    click(*s, 252, 216);  // the Ready button
    EXPECT_EQ(std::make_pair(int(BUILD_IDLE), false), std::make_pair(s->buildmode, s->waverunning));
    EXPECT_TRUE(drain_messages().empty());
}

}  // namespace

// The player's actions: cursor, sidebar icons, Ready, placing, choosing
// types and starting waves.
#include "support/sim_builder.h"

#include <climits>
#include <tuple>

namespace {

class ActionsTest : public EmptyBoxTest {};

// Turret type i fires bullet type i, dealing 2, 2, 3 and 0 a tick; every
// tile is buildable.
std::unique_ptr<Sim> shop_sim(int mapw = 400, int maph = 240) {
    auto s = make_sim(mapw, maph);
    s->bullettypes = {bullet_type("Pellet", 10, 4, -1), bullet_type("Shell", 20, 4, -1),
                      bullet_type("Big", 30, 4, -1), bullet_type("Blank", 0, 4, -1)};
    s->turrettypes = {turret_type("Gun", 10, 0, 50, 5, 0), turret_type("Mortar", 10, 1, 50, 10, 0),
                      turret_type("Cannon", 50, 2, 50, 10, 0), turret_type("Dud", 1, 3, 50, 10, 0)};
    s->monstertypes = {monster_type("Goblin", 40.7, 1, 1, 2)};
    std::memset(s->buildable, 1, sizeof s->buildable);
    return s;
}

using XY = std::pair<int, int>;

// The selected type, or -1 while idle.
int selected(const Sim& s) { return s.buildmode == 1 ? s.selectedturret : -1; }

// Code 0 at screen (x, y) with `type` selected first (-1: idle); what is selected after.
int click(Sim& s, int x, int y, int type = -1) {
    s.buildmode = type >= 0;
    s.selectedturret = type;
    s.cursorx = x;
    s.cursory = y;
    s.cursorclick(0);
    return selected(s);
}

TEST_F(ActionsTest, CursorClampsToTheScreenBothBoundsInclusiveAndIsKeyedOnPureBlue) {
    auto s = make_sim();
    s->set_cursor("img/cursor.bmp");
    EXPECT_EQ(SDL_MapRGB(s->cursor->format, 0, 0, 255), s->cursor->format->colorkey);
    const int moves[][4] = {{3, 4, 3, 4}, {-50, -50, 0, 0}, {320, 240, 320, 240},
                            {1, 1, 320, 240}, {INT_MAX, INT_MIN, 320, 0}};
    for (const auto& m : moves) {
        s->addcursor(m[0], m[1]);
        EXPECT_EQ(std::make_pair(m[2], m[3]), std::make_pair(s->cursorx, s->cursory));
    }
}

TEST_F(ActionsTest, IconsSellStrictlyInsideOnlyWhatIsAffordableAndReadyHasInclusiveEdges) {
    auto s = shop_sim();
    s->money = 100;
    const int left[] = {251, 272, 293, 251}, top[] = {98, 98, 98, 119};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(i, click(*s, left[i] + 1, top[i] + 1));
        EXPECT_EQ(3, s->cursorframe);
        EXPECT_EQ(i, click(*s, left[i] + 15, top[i] + 15));
        for (XY edge : {XY{0, 1}, XY{1, 0}, XY{16, 1}, XY{1, 16}})
            EXPECT_EQ(-1, click(*s, left[i] + edge.first, top[i] + edge.second)) << i;
    }
    s->money = 49;
    EXPECT_EQ(-1, click(*s, 294, 99));
    EXPECT_EQ(Lines({"Not enough money to buy Cannon!"}), drain_messages());
    s->sidebarwidth = 40;  // half open: the icons stand 40 pixels further right
    EXPECT_EQ(-1, click(*s, 252, 99));
    EXPECT_EQ(0, click(*s, 292, 99));

    s->sidebarwidth = 80;  // Ready at (252, 216); the last press comes while placing
    const std::tuple<int, int, int, bool> presses[] = {
        {252, 216, -1, true},  {267, 231, -1, true},  {251, 216, -1, false}, {252, 215, -1, false},
        {268, 216, -1, false}, {252, 232, -1, false}, {252, 216, 0, false}};
    for (auto [x, y, type, starts] : presses) {
        s->waverunning = false;
        click(*s, x, y, type);
        EXPECT_EQ(starts, s->waverunning) << x << "," << y << " with " << type;
    }
}

TEST_F(ActionsTest, PlacingBuildsOnTheTileUnderThePreviewWithinTheMapAreaMapAndGrid) {
    struct Case { int mapw, maph, mapx, mapy, x, y, sidebar, tx, ty; };  // tx -1: nothing
    const Case cases[] = {
        {400, 240, -20, 30, 0, 40, 80, 1, 2},  // screen offsets truncated toward zero
        {400, 32, 0, 0, 239, 8, 80, 15, 1},  {400, 32, 0, 0, 240, 8, 80, -1, 0},   // area's edge
        {400, 300, 0, 0, 8, 239, 0, 1, 15},  {400, 300, 0, 0, 8, 240, 0, -1, 0},   // last row
        {32, 32, 0, 0, 23, 8, 80, 1, 1},     {32, 32, 0, 0, 24, 8, 80, -1, 0},     // map's edge
        {400, 32, 50, 0, 10, 8, 80, -1, 0},  {400, 32, 0, 0, 8, 24, 80, -1, 0},    // col -2, row 2
        {32, 1700, 0, -1504, 8, 8, 80, 1, 95},  {32, 1700, 0, -1536, 8, 8, 80, -1, 0},  // grid
    };
    for (const Case& c : cases) {
        auto s = shop_sim(c.mapw, c.maph);
        s->sidebarwidth = c.sidebar;
        s->mapx = c.mapx;
        s->mapy = c.mapy;
        click(*s, c.x, c.y, 0);
        auto built = s->objectnum(2) == 1 ? at(s->objects[0]) : std::make_pair(-16.0, 0.0);
        EXPECT_EQ(std::make_pair(16.0 * c.tx, 16.0 * c.ty), built) << "case " << &c - cases;
    }
}

TEST_F(ActionsTest, PlacingTakesTileAndMoneyAndKeepsTheTypeWhileAnotherIsAffordable) {
    auto s = shop_sim();
    add_monster(*s, 0, 0, 0, 1);
    add_turret(*s, 64, 64, 3);
    add_bullet(*s, 0, 0, 0, 1, 0, 0, 1);
    EXPECT_EQ(1, click(*s, 8, 8, 1));
    EXPECT_EQ(1, click(*s, 8, 8, 1));  // taken now
    click(*s, 24, 8);                  // idle: a built turret is never picked up
    ASSERT_EQ(std::make_pair(1, 3), std::make_pair(s->turretstart, s->bulletstart));
    const Sim::Object& t = s->objects[1];  // the front of the turrets
    EXPECT_EQ(std::make_tuple(16.0, 16.0, 2, 1, 0.0),
              std::make_tuple(t.x, t.y, t.kind, t.type, t.vy));
    EXPECT_EQ(std::make_pair(20, 1), std::make_pair(s->money, s->lastturret));

    s->money = 10;  // exactly the cost: built, and the selection is dropped
    click(*s, 100, 8, 0);
    EXPECT_EQ(std::vector<int>({0, 0, -1, 0}),
              std::vector<int>({s->money, s->buildmode, s->selectedturret, s->cursorframe}));
    s->turrettypes[3].cost = 0;  // a free type stays selected
    EXPECT_EQ(3, click(*s, 120, 8, 3));
}

TEST_F(ActionsTest, NextWaveStartsOnceAndAnnouncesItLineByLine) {
    auto s = shop_sim();
    s->monstertypes = {monster_type("Goblin", 40.7, 1, 1, 2), monster_type("Orc", 100, 1, 5, 2),
                       monster_type("Wisp", 1e300, 1, 0, 2)};
    s->monstertypes[0].immunities = {{1, 0.5}, {-1, 0.0}, {3, 0.333}, {-2, 0.5}, {9, 0.5}};
    auto announced = [&](int wave) {
        s->waverunning = false;
        s->wave = wave;
        s->cursorclick(3);
        return drain_messages();
    };
    EXPECT_EQ(Lines({"Level: 1", "A Goblin! HP: 40", "Shell: 50% Damage", "Slow: 0% effectivity",
                     "Blank: 33% Damage"}),
              announced(0));
    s->spawnleft = 0;
    s->cursorclick(3);  // while it runs: nothing
    EXPECT_EQ(std::make_pair(0, Lines()), std::make_pair(s->spawnleft, drain_messages()));
    EXPECT_EQ(Lines({"Level: 2", "5 Orcs! HP: 100"}), announced(1));
    // None is plural too; health beyond the int range is shown held to it.
    EXPECT_EQ(Lines({"Level: 3", "0 Wisps! HP: 2147483647"}), announced(2));
}

TEST_F(ActionsTest, TypeCodesPickTheStrongestTheNextOrTheLastBuiltAmongAffordableTypes) {
    auto s = shop_sim();  // costs 10, 10, 50 and 1
    struct Press { int money, code, selected; };
    // Idle with nothing built: type 0; then on, past the Cannon, round and back
    // round; only the current type affordable: kept; none: dropped, and none to
    // take up (the last built, type 0, or one like it). Strongest:
    // Gun and Mortar both deal 2 a tick, the lower index; while placing, dropped
    // first, then the Cannon's 3, or none, as the Dud deals nothing. Cancel.
    const Press presses[] = {
        {20, 4, 0}, {20, 4, 1}, {20, 4, 3}, {20, 4, 0}, {20, 5, 3}, {1, 4, 3}, {0, 5, -1},
        {0, 4, -1}, {20, 2, 0}, {50, 2, 2}, {5, 2, -1}, {50, 2, 2}, {50, 1, -1},
    };
    for (const Press& p : presses) {
        s->money = p.money;
        s->cursorclick(p.code);
        EXPECT_EQ(p.selected, selected(*s)) << "press " << &p - presses;
    }
    EXPECT_EQ(std::make_pair(-1, 0), std::make_pair(s->selectedturret, s->cursorframe));
    // The Cannon built last is out of reach: the type nearest in worth (damage
    // per tick per money: 0.2, 0.2, 0.06, 0) is the Dud.
    s->lastturret = 2;
    s->money = 20;
    s->cursorclick(5);
    EXPECT_EQ(3, selected(*s));
}

TEST_F(ActionsTest, LevelsWithoutTypesAndUnknownCodesChangeNothing) {
    auto s = make_sim();
    for (int code : {2, 3, 4, 5, -1, 6, INT_MIN}) s->cursorclick(code);
    click(*s, 252, 216);  // the Ready button
    EXPECT_EQ(std::make_pair(0, false), std::make_pair(s->buildmode, s->waverunning));
    EXPECT_TRUE(drain_messages().empty());
}

}  // namespace

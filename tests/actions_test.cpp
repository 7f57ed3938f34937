// The player's actions: cursor, sidebar icons, Ready, placing, choosing
// types and starting waves.
#include "support/sim_builder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

namespace {

class ActionsTest : public ::testing::Test {
protected:
    void SetUp() override { box.clear(); }
    void TearDown() override { box.clear(); }
};

// Turret type i fires bullet type i; damage per tick: 2, 2, 3, 0.
std::unique_ptr<Sim> shop_sim(int mapw = 400, int maph = 240) {
    auto s = make_sim(mapw, maph);
    s->bullettypes = {bullet_type("Pellet", 10, 4, -1), bullet_type("Shell", 20, 4, -1),
                      bullet_type("Big", 30, 4, -1), bullet_type("Blank", 0, 4, -1)};
    s->turrettypes = {turret_type("Gun", 10, 0, 50, 5, 0), turret_type("Mortar", 10, 1, 50, 10, 0),
                      turret_type("Cannon", 50, 2, 50, 10, 0), turret_type("Dud", 1, 3, 50, 10, 0)};
    s->monstertypes = {monster_type("Goblin", 40.7, 1, 1, 2)};
    s->waypoints = {{0, 0}, {5, 0}};
    return s;
}

void idle(Sim& s) {
    s.buildmode = 0;
    s.selectedturret = -1;
}

// The type a click at (x, y) selects while idle, or -1.
int clicked(Sim& s, int x, int y) {
    idle(s);
    s.cursorx = x;
    s.cursory = y;
    s.cursorclick(0);
    return s.buildmode == 1 ? s.selectedturret : -1;
}

TEST_F(ActionsTest, CursorClampsToTheScreenBothBoundsInclusive) {
    auto s = make_sim();
    auto moved = [&](int dx, int dy) {
        s->addcursor(dx, dy);
        return std::make_pair(s->cursorx, s->cursory);
    };
    EXPECT_EQ(std::make_pair(3, 4), moved(3, 4));
    EXPECT_EQ(std::make_pair(0, 0), moved(-50, -50));
    EXPECT_EQ(std::make_pair(320, 240), moved(320, 240));
    EXPECT_EQ(std::make_pair(320, 240), moved(1, 1));
    EXPECT_EQ(std::make_pair(320, 0), moved(INT_MAX, INT_MIN));
}

TEST_F(ActionsTest, SidebarToggleAndObjectCounts) {
    auto s = shop_sim();
    s->toggle_sidebar(false);
    EXPECT_EQ(-1, s->sidebarmove);
    s->toggle_sidebar(true);
    EXPECT_EQ(1, s->sidebarmove);
    for (int k = 0; k < 2; k++) add_monster(*s, 0, 0, 0, 1);
    add_turret(*s, 0, 0, 0);
    for (int k = 0; k < 3; k++) add_bullet(*s, 0, 0, 0, 1, 0, 0, 1);
    EXPECT_EQ(std::vector<int>({0, 2, 1, 3, 0}),
              std::vector<int>({s->objectnum(0), s->objectnum(1), s->objectnum(2),
                                s->objectnum(3), s->objectnum(4)}));
}

TEST_F(ActionsTest, IconsAreHitStrictlyInside) {
    auto s = shop_sim();
    s->money = 100;
    const int left[] = {251, 272, 293, 251};
    const int top[] = {98, 98, 98, 119};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(i, clicked(*s, left[i] + 1, top[i] + 1)) << "type " << i;
        EXPECT_EQ(3, s->cursorframe);
        EXPECT_EQ(i, clicked(*s, left[i] + 15, top[i] + 15)) << "type " << i;
        EXPECT_EQ(-1, clicked(*s, left[i], top[i] + 1)) << "type " << i;
        EXPECT_EQ(-1, clicked(*s, left[i] + 1, top[i])) << "type " << i;
        EXPECT_EQ(-1, clicked(*s, left[i] + 16, top[i] + 1)) << "type " << i;
        EXPECT_EQ(-1, clicked(*s, left[i] + 1, top[i] + 16)) << "type " << i;
    }
    // The icons follow the sidebar as it slides.
    s->sidebarwidth = 40;
    EXPECT_EQ(-1, clicked(*s, 252, 99));
    EXPECT_EQ(0, clicked(*s, 292, 99));
    EXPECT_EQ(0, s->objectnum(2)) << "a click on an icon never places";
}

TEST_F(ActionsTest, BuyingWithoutMoneyExplainsAndSelectsNothing) {
    auto s = shop_sim();
    s->money = 49;
    EXPECT_EQ(-1, clicked(*s, 294, 99));
    EXPECT_EQ(std::vector<std::string>({"Not enough money to buy Cannon!"}), drain_messages());

    std::string longname(199, 'x');
    std::strcpy(s->turrettypes[2].name, longname.c_str());
    EXPECT_EQ(-1, clicked(*s, 294, 99));
    auto lines = drain_messages();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(("Not enough money to buy " + longname).substr(0, 199), lines[0]);
}

TEST_F(ActionsTest, ReadyButtonHasInclusiveLeftAndTopEdges) {
    auto s = shop_sim();
    auto presses = [&](int x, int y) {
        s->waverunning = false;
        clicked(*s, x, y);
        drain_messages();
        return s->waverunning;
    };
    EXPECT_TRUE(presses(252, 216));
    EXPECT_TRUE(presses(267, 231));
    EXPECT_FALSE(presses(251, 216));
    EXPECT_FALSE(presses(252, 215));
    EXPECT_FALSE(presses(268, 216));
    EXPECT_FALSE(presses(252, 232));

    // Not while placing, and not twice.
    s->waverunning = false;
    s->cursorx = 252;
    s->cursory = 216;
    s->buildmode = 1;
    s->selectedturret = 0;
    s->cursorclick(0);
    EXPECT_FALSE(s->waverunning);
    s->waverunning = true;
    s->spawnleft = 7;
    clicked(*s, 252, 216);
    EXPECT_TRUE(drain_messages().empty());
    EXPECT_EQ(7, s->spawnleft);
}

TEST_F(ActionsTest, PlacingUsesTheTileUnderThePreview) {
    auto s = shop_sim();
    add_monster(*s, 0, 0, 0, 1);
    add_turret(*s, 64, 64, 3);
    add_bullet(*s, 0, 0, 0, 1, 0, 0, 1);
    s->buildable[1][0] = true;
    s->buildable[2][0] = true;
    s->mapx = -20;  // column offset truncates toward zero: -1, not -2
    s->mapy = 0;
    s->money = 30;
    s->buildmode = 1;
    s->selectedturret = 1;
    s->cursorx = 0;
    s->cursory = 0;
    s->cursorclick(0);
    ASSERT_EQ(4u, s->objects.size());
    EXPECT_EQ(1, s->turretstart);
    EXPECT_EQ(3, s->bulletstart);
    const Sim::Object& t = s->objects[1];
    EXPECT_EQ(2, t.kind);
    EXPECT_EQ(1, t.type);
    EXPECT_EQ(16.0, t.x);
    EXPECT_EQ(0.0, t.y);
    EXPECT_EQ(0.0, t.vy);
    EXPECT_EQ(3, s->objects[2].type);
    EXPECT_FALSE(s->buildable[1][0]);
    EXPECT_TRUE(s->buildable[2][0]);
    EXPECT_EQ(20, s->money);
    EXPECT_EQ(1, s->lastturret);

    s->buildable[2][2] = true;
    s->mapy = 30;
    s->cursorx = 23;  // floor(31 / 16) + 1 = 2
    s->cursory = 40;  // floor(48 / 16) - 1 = 2
    s->cursorclick(0);
    EXPECT_EQ(32.0, s->objects[1].x);
    EXPECT_EQ(32.0, s->objects[1].y);
}

TEST_F(ActionsTest, PlacingWithExactlyTheCostDropsTheSelection) {
    auto s = shop_sim();
    s->mapx = s->mapy = 0;
    for (int c = 0; c < 4; c++) s->buildable[c][0] = true;
    s->money = 25;
    s->buildmode = 1;
    s->selectedturret = 0;
    s->cursorx = 0;  // tiles 0, 1, 2, 3 follow at x = 0, 16, 32, 48
    s->cursorclick(0);
    EXPECT_EQ(15, s->money);
    EXPECT_EQ(1, s->buildmode);
    s->cursorx = 16;
    s->cursorclick(0);
    EXPECT_EQ(5, s->money);
    EXPECT_EQ(0, s->buildmode);
    EXPECT_EQ(-1, s->selectedturret);
    EXPECT_EQ(0, s->cursorframe);

    s->money = 10;
    s->buildmode = 1;
    s->selectedturret = 0;
    s->cursorx = 32;
    s->cursorclick(0);
    EXPECT_EQ(0, s->money);
    EXPECT_EQ(0, s->buildmode);

    s->turrettypes[3].cost = 0;  // a free type stays selected
    s->buildmode = 1;
    s->selectedturret = 3;
    s->cursorx = 48;
    s->cursorclick(0);
    EXPECT_EQ(1, s->buildmode);
    EXPECT_EQ(4, s->objectnum(2));
}

TEST_F(ActionsTest, PlacingOutsideTheMapOrOnABusyTileDoesNothing) {
    auto tries = [](int mapw, int maph, int mapx, int x, int y, int sidebar) {
        auto s = shop_sim(mapw, maph);
        for (int c = 0; c < 128; c++)
            for (int r = 0; r < 96; r++) s->buildable[c][r] = true;
        s->sidebarwidth = sidebar;
        s->mapx = mapx;
        s->mapy = 0;
        s->buildmode = 1;
        s->selectedturret = 0;
        s->cursorx = x;
        s->cursory = y;
        s->cursorclick(0);
        return s->objectnum(2);
    };
    EXPECT_EQ(1, tries(400, 32, 0, 8, 8, 80));
    EXPECT_EQ(0, tries(400, 32, 0, 240, 8, 80));  // right of the map area
    EXPECT_EQ(1, tries(400, 32, 0, 239, 8, 80));
    EXPECT_EQ(1, tries(400, 300, 0, 8, 239, 0));
    EXPECT_EQ(0, tries(400, 300, 0, 8, 240, 0));  // below the last screen row
    EXPECT_EQ(1, tries(32, 32, 0, 23, 8, 80));    // last column of a two-tile map
    EXPECT_EQ(0, tries(32, 32, 0, 24, 8, 80));    // one beyond it
    EXPECT_EQ(0, tries(400, 32, 50, 10, 8, 80));  // column -2
    EXPECT_EQ(0, tries(400, 32, 0, 8, 24, 80));   // row 2 of a two-row map

    auto s = shop_sim();
    s->buildable[0][0] = true;
    s->money = 100;
    s->buildmode = 1;
    s->selectedturret = 0;
    s->cursorclick(0);
    s->cursorclick(0);
    EXPECT_EQ(1, s->objectnum(2));
    EXPECT_EQ(90, s->money);
}

TEST_F(ActionsTest, CancelDropsOnlyWhilePlacing) {
    auto s = shop_sim();
    s->buildmode = 1;
    s->selectedturret = 2;
    s->cursorframe = 3;
    s->cursorclick(1);
    EXPECT_EQ(0, s->buildmode);
    EXPECT_EQ(-1, s->selectedturret);
    EXPECT_EQ(0, s->cursorframe);
    s->cursorframe = 1;
    s->cursorclick(1);
    EXPECT_EQ(1, s->cursorframe);
}

TEST_F(ActionsTest, StrongestAffordableWithTiesToTheLowerIndex) {
    auto s = shop_sim();
    s->money = 20;
    s->cursorclick(2);
    EXPECT_EQ(1, s->buildmode);
    EXPECT_EQ(0, s->selectedturret);  // Gun and Mortar both deal 2 a tick
    s->money = 50;
    s->cursorclick(2);
    EXPECT_EQ(2, s->selectedturret);
    s->cursorclick(2);  // drops and takes the same again
    EXPECT_EQ(1, s->buildmode);
    EXPECT_EQ(2, s->selectedturret);
    s->money = 5;  // only the Dud, which deals nothing
    s->cursorclick(2);
    EXPECT_EQ(0, s->buildmode);
    EXPECT_EQ(-1, s->selectedturret);
}

TEST_F(ActionsTest, NextWaveAnnouncesTheWaveLineByLine) {
    auto s = shop_sim();
    s->monstertypes = {monster_type("Goblin", 40.7, 1, 1, 2), monster_type("Orc", 100, 1, 5, 2),
                       monster_type("Wisp", 1e300, 1, 0, 2)};
    s->monstertypes[0].immunities = {{1, 0.5}, {-1, 0.0}, {3, 0.333}, {-2, 0.5}, {9, 0.5}};
    s->cursorclick(3);
    EXPECT_EQ(std::vector<std::string>({"Level: 1", "A Goblin! HP: 40", "Shell: 50% Damage",
                                        "Slow: 0% effectivity", "Blank: 33% Damage"}),
              drain_messages());
    EXPECT_FALSE(s->ready);
    EXPECT_TRUE(s->waverunning);
    EXPECT_EQ(1, s->spawnleft);

    s->spawnleft = 0;
    s->cursorclick(3);
    EXPECT_TRUE(drain_messages().empty());
    EXPECT_EQ(0, s->spawnleft);

    s->waverunning = false;
    s->wave = 1;
    s->cursorclick(3);
    EXPECT_EQ(std::vector<std::string>({"Level: 2", "5 Orcs! HP: 100"}), drain_messages());
    s->waverunning = false;
    s->wave = 2;
    s->cursorclick(3);
    EXPECT_EQ(std::vector<std::string>({"Level: 3", "0 Wisps! HP: 2147483647"}), drain_messages());
}

TEST_F(ActionsTest, StepsCyclicallyThroughAffordableTypes) {
    auto s = shop_sim();
    for (auto& t : s->turrettypes) t.cost = 10;
    s->turrettypes[1].cost = 50;
    s->turrettypes[3].cost = 50;
    s->money = 20;
    s->cursorclick(4);  // idle: nothing built yet, so type 0
    EXPECT_EQ(0, s->selectedturret);
    s->cursorclick(4);
    EXPECT_EQ(2, s->selectedturret);
    s->cursorclick(4);
    EXPECT_EQ(0, s->selectedturret);
    s->cursorclick(5);
    EXPECT_EQ(2, s->selectedturret);
    s->cursorclick(5);
    EXPECT_EQ(0, s->selectedturret);

    s->turrettypes[2].cost = 50;  // only the current one left
    s->cursorclick(4);
    EXPECT_EQ(0, s->selectedturret);
    s->cursorclick(5);
    EXPECT_EQ(0, s->selectedturret);
    EXPECT_EQ(1, s->buildmode);

    s->money = 5;
    s->cursorclick(5);
    EXPECT_EQ(0, s->buildmode);
    EXPECT_EQ(-1, s->selectedturret);
    s->cursorclick(4);
    EXPECT_EQ(0, s->buildmode);
}

TEST_F(ActionsTest, IdleStepTakesUpTheLastTypeOrTheMostSimilar) {
    auto s = shop_sim();
    // Worth (damage per tick per money): 0.25, 0.5, 0.75, and 0 for the Dud.
    s->turrettypes[0] = turret_type("A", 8, 0, 50, 5, 0);
    s->turrettypes[1] = turret_type("B", 40, 1, 50, 1, 0);
    s->turrettypes[2] = turret_type("C", 4, 2, 50, 10, 0);
    s->lastturret = 1;
    s->money = 10;
    // B is out of reach; A (0.25) and C (0.75) lie equally far from 0.5.
    EXPECT_EQ(0, s->similarturret(1));
    s->cursorclick(5);
    EXPECT_EQ(1, s->buildmode);
    EXPECT_EQ(0, s->selectedturret);

    s->money = 7;  // A out of reach too: C is nearer in worth than the Dud
    EXPECT_EQ(2, s->similarturret(1));
    s->money = 0;
    EXPECT_EQ(-1, s->similarturret(1));
    idle(*s);
    s->cursorclick(4);
    EXPECT_EQ(0, s->buildmode);

    s->money = 40;
    s->cursorclick(4);
    EXPECT_EQ(1, s->selectedturret);
}

TEST_F(ActionsTest, LevelsWithoutTypesAndUnknownCodesChangeNothing) {
    auto s = make_sim();
    s->cursorx = 252;
    s->cursory = 99;
    for (int code : {0, 2, 4, 5}) {
        s->cursorclick(code);
        EXPECT_EQ(0, s->buildmode) << "code " << code;
    }
    s->cursorclick(3);
    s->cursorx = 252;
    s->cursory = 216;
    s->cursorclick(0);
    EXPECT_FALSE(s->waverunning);
    EXPECT_TRUE(drain_messages().empty());

    auto shop = shop_sim();
    for (int code : {-1, 6, 100, INT_MIN}) {
        shop->cursorclick(code);
        EXPECT_EQ(0, shop->buildmode);
        EXPECT_FALSE(shop->waverunning);
        EXPECT_EQ(30, shop->money);
    }
}

TEST_F(ActionsTest, CursorAndBarImagesAreLoadedAndReplaced) {
    auto s = make_sim();
    s->set_cursor("img/cursor.bmp");
    EXPECT_EQ(0, s->cursorframe);
    ASSERT_NE(nullptr, s->cursor);
    EXPECT_TRUE(s->cursor->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(SDL_MapRGB(s->cursor->format, 0, 0, 255), s->cursor->format->colorkey);
    s->cursorframe = 4;
    s->set_cursor("img/cursor.bmp");
    EXPECT_EQ(0, s->cursorframe);
    s->set_bar("img/bar.bmp");
    s->set_bar("img/bar.bmp");
    EXPECT_TRUE(s->barloaded);
    EXPECT_NE(nullptr, s->bar);
}

}  // namespace

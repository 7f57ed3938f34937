// A fresh game state, what it owns and how its type tables copy.
#include "game/sim.h"
#include "gfx/image.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(SimStateTest, NewGameStartsAsTheRulesSay) {
    Sim sim;
    EXPECT_EQ(30, sim.money);
    EXPECT_EQ(20, sim.lives);
    EXPECT_EQ(80, sim.sidebarwidth);
    EXPECT_EQ(30, sim.spawntimer);
    EXPECT_EQ(-1, sim.cursorframe);
    EXPECT_TRUE(sim.ready);
    EXPECT_FALSE(sim.waverunning || sim.mapcreated || sim.barloaded);
    EXPECT_EQ(0, sim.wave + sim.spawnleft + sim.sidebarmove + sim.buildmode + sim.lastturret + sim.monstersalive +
                     sim.turretstart + sim.bulletstart + sim.scrollx + sim.scrolly);
    EXPECT_EQ(nullptr, sim.tileset);
    for (auto& text : sim.levelinfo) EXPECT_STREQ("", text);
    for (auto& column : sim.buildable)
        for (bool cell : column) ASSERT_FALSE(cell);
    ASSERT_TRUE(sim.symbols->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(SDL_MapRGB(sim.symbols->format, 0, 0, 255), sim.symbols->format->colorkey);
}

TEST(SimStateTest, DestructorFreesWhatItOwnsOnceAndNothingElse) {
    // An extra reference on each surface shows how often the game released it.
    SDL_Surface* owned[5];
    SDL_Surface* lent = load_image("img/back.bmp");
    {
        Sim sim;
        sim.map = load_image("img/back.bmp");
        sim.mapcreated = true;
        sim.tileset = load_image("img/back.bmp");
        SDL_Surface* list[5] = {sim.sidebar, sim.symbols, sim.back, sim.map, sim.tileset};
        for (int i = 0; i < 5; i++) (owned[i] = list[i])->refcount++;

        Sim without_map;
        without_map.map = lent;  // not marked created: not the game's to free
    }
    for (SDL_Surface* s : owned) {
        EXPECT_EQ(1, s->refcount);
        SDL_FreeSurface(s);
    }
    EXPECT_EQ(1, lent->refcount);
    SDL_FreeSurface(lent);
}

TEST(SimStateTest, MonsterTypesCopyTheirImmunitiesDeeply) {
    Sim::Monster a;
    std::strcpy(a.name, "Beetle");
    a.immunities = {{0, 0.5}, {-1, 0.0}};
    std::vector<Sim::Monster> table(1, a);
    Sim::Monster b = a;
    b.immunities[0].factor = 1.0;
    b.immunities.push_back({2, 0.25});
    for (int i = 0; i < 40; i++) table.push_back(b);  // grows and copies
    EXPECT_EQ(0.5, a.immunities[0].factor);
    EXPECT_EQ(2u, table[0].immunities.size());
    EXPECT_EQ(-1, table[0].immunities[1].kind);
    EXPECT_EQ(3u, table[40].immunities.size());
    EXPECT_STREQ("Beetle", table[40].name);
}

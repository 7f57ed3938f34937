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
    EXPECT_EQ(0, sim.wave);
    EXPECT_FALSE(sim.waverunning);
    EXPECT_TRUE(sim.ready);
    EXPECT_EQ(80, sim.sidebarwidth);
    EXPECT_EQ(0, sim.sidebarmove);
    EXPECT_EQ(30, sim.spawntimer);
    EXPECT_EQ(0, sim.spawnleft);
    EXPECT_EQ(-1, sim.cursorframe);
    EXPECT_FALSE(sim.mapcreated);
    EXPECT_FALSE(sim.barloaded);
    EXPECT_EQ(nullptr, sim.map);
    EXPECT_EQ(nullptr, sim.tileset);
    EXPECT_EQ(0, sim.buildmode);
    EXPECT_EQ(0, sim.lastturret);
    EXPECT_EQ(0, sim.monstersalive);
    EXPECT_EQ(0, sim.turretstart);
    EXPECT_EQ(0, sim.bulletstart);
    for (auto& text : sim.levelinfo) EXPECT_STREQ("", text);
    for (auto& column : sim.buildable)
        for (bool cell : column) ASSERT_FALSE(cell);
    EXPECT_TRUE(sim.objects.empty() && sim.waypoints.empty() && sim.monstertypes.empty());
}

TEST(SimStateTest, SymbolsAreKeyedOnPureBlue) {
    Sim sim;
    ASSERT_NE(nullptr, sim.symbols);
    EXPECT_TRUE(sim.symbols->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(SDL_MapRGB(sim.symbols->format, 0, 0, 255), sim.symbols->format->colorkey);
}

TEST(SimStateTest, DestructorFreesEachOwnedSurfaceOnce) {
    // Holding an extra reference shows how often the game released each one.
    SDL_Surface* held[3];
    SDL_Surface* map = load_image("img/back.bmp");
    SDL_Surface* tiles = load_image("img/back.bmp");
    {
        Sim sim;
        held[0] = sim.sidebar;
        held[1] = sim.symbols;
        held[2] = sim.back;
        for (SDL_Surface* s : held) s->refcount++;
        sim.map = map;
        sim.mapcreated = true;
        sim.tileset = tiles;
        map->refcount++;
        tiles->refcount++;
    }
    for (SDL_Surface* s : held) {
        EXPECT_EQ(1, s->refcount);
        SDL_FreeSurface(s);
    }
    EXPECT_EQ(1, map->refcount);
    EXPECT_EQ(1, tiles->refcount);
    SDL_FreeSurface(map);
    SDL_FreeSurface(tiles);
}

TEST(SimStateTest, AMapNotMarkedCreatedIsNotFreed) {
    SDL_Surface* map = load_image("img/back.bmp");
    {
        Sim sim;
        sim.map = map;  // not owned: mapcreated stays false
    }
    EXPECT_EQ(1, map->refcount);
    SDL_FreeSurface(map);
}

TEST(SimStateTest, MonsterTypesCopyTheirImmunitiesDeeply) {
    Sim::Monster a;
    std::strcpy(a.name, "Beetle");
    a.immunities.push_back({0, 0.5});
    a.immunities.push_back({-1, 0.0});
    Sim::Monster b = a;
    b.immunities[0].factor = 1.0;
    b.immunities.push_back({2, 0.25});
    EXPECT_EQ(2u, a.immunities.size());
    EXPECT_EQ(0.5, a.immunities[0].factor);
    EXPECT_STREQ("Beetle", b.name);

    std::vector<Sim::Monster> table(1, a);
    for (int i = 0; i < 40; i++) table.push_back(b);  // grows and copies
    EXPECT_EQ(2u, table[0].immunities.size());
    EXPECT_EQ(3u, table[40].immunities.size());
    EXPECT_EQ(-1, table[0].immunities[1].kind);
}

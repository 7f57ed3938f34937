#include "game/sim.h"

#include "gfx/image.h"

#include <cstring>

Sim::Sim() {
    tileset = nullptr;
    sidebar = nullptr;
    symbols = nullptr;
    back = nullptr;
    sidebar = load_image("img/sidebar.bmp");
    symbols = load_image("img/symbol.bmp");
    back = load_image("img/back.bmp");
    map = nullptr;
    mapcreated = false;
    barloaded = false;
    cursorframe = -1;
    cursorx = 0;
    cursory = 0;
    std::memset(levelinfo, 0, sizeof levelinfo);
    money = 30;
    lives = 20;
    scrollx = 0;
    scrolly = 0;
    SDL_SetColorKey(symbols, SDL_SRCCOLORKEY, SDL_MapRGB(symbols->format, 0, 0, 255));
    buildmode = 0;
    sidebarmove = 0;
    sidebarwidth = 80;
    wave = 0;
    spawnleft = 0;
    waverunning = false;
    spawntimer = 30;
    ready = true;
    lastturret = 0;
    monstersalive = 0;
    bulletstart = 0;
    turretstart = 0;
    std::memset(buildable, 0, sizeof buildable);
}

Sim::~Sim() {
    if (mapcreated) SDL_FreeSurface(map);
    if (cursorframe != -1) SDL_FreeSurface(cursor);
    if (barloaded) SDL_FreeSurface(bar);
    if (sidebar != nullptr) SDL_FreeSurface(sidebar);
    if (symbols != nullptr) SDL_FreeSurface(symbols);
    if (tileset != nullptr) SDL_FreeSurface(tileset);
    if (back != nullptr) SDL_FreeSurface(back);
    // The lists go with the members: types, objects, waypoints.
}

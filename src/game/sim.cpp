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
    cursorframe = CURSOR_NONE;
    cursorx = 0;
    cursory = 0;
    std::memset(levelinfo, 0, sizeof levelinfo);
    money = 30;
    lives = 20;
    scrollx = 0;
    scrolly = 0;
    SDL_SetColorKey(symbols, SDL_SRCCOLORKEY, SDL_MapRGB(symbols->format, 0, 0, 255));
    buildmode = BUILD_IDLE;
    sidebarmove = 0;
    sidebarwidth = kSidebarWidth;
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
    if (cursorframe != CURSOR_NONE) SDL_FreeSurface(cursor);
    if (barloaded) SDL_FreeSurface(bar);
    if (sidebar != nullptr) SDL_FreeSurface(sidebar);
    if (symbols != nullptr) SDL_FreeSurface(symbols);
    if (tileset != nullptr) SDL_FreeSurface(tileset);
    if (back != nullptr) SDL_FreeSurface(back);
    // The lists go with the members: types, objects, waypoints.
}

void Sim::insert_monster(const Object& monster) {
    objects.insert(objects.begin(), monster);
    turretstart += 1;
    bulletstart += 1;
    monstersalive += 1;
}

void Sim::insert_turret(const Object& turret) {
    objects.insert(objects.begin() + turretstart, turret);
    bulletstart += 1;
}

void Sim::insert_bullet(const Object& bullet) { objects.insert(objects.begin() + bulletstart, bullet); }

void Sim::remove_object(int i) {
    if (i < turretstart) {
        turretstart -= 1;
        monstersalive -= 1;
    }
    if (i < bulletstart) bulletstart -= 1;
    objects.erase(objects.begin() + i);
}

bool Sim::free_to_build(int column, int row) const {
    if (!mapcreated || column < 0 || row < 0) return false;
    if (column >= map->w / kCell || row >= map->h / kCell) return false;
    if (column >= kMaxMapColumns || row >= kMaxMapRows) return false;
    return buildable[column][row];
}

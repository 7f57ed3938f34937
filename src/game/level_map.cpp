// Painting the level's map surface: the tile set, the rows of map
// characters, and at the end the red frame and the path.
#include "game/level_load.h"

#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/pixels.h"
#include "gfx/screen.h"

#include <SDL.h>

#include <cstring>

bool handle_tileset(LevelLoad& l, const char* value) {
    Sim& sim = l.sim;
    std::snprintf(sim.levelinfo[3], sizeof sim.levelinfo[3], "%s", value);
    l.tilesetline = l.lineno;
    // Tile sets come with downloaded levels: a broken one refuses the level,
    // it does not end the game the way a missing picture of its own does.
    const char* why = nullptr;
    SDL_Surface* loaded = try_load_image(std::string(l.dir) + "/" + value, &why);
    if (loaded == nullptr) return refuse(l, l.lineno, "Tile set: %s", why);
    if (sim.tileset != nullptr) SDL_FreeSurface(sim.tileset);
    sim.tileset = loaded;
    // The sheet's bottom-left pixel is its transparent colour.
    SDL_SetColorKey(loaded, SDL_SRCCOLORKEY, getpixel(loaded, 0, loaded->h - 1));
    return true;
}

// Made once, with the LevelWidth and LevelHeight read before the first Row
// line; cleared so that cells no row draws are black.
bool create_map(LevelLoad& l) {
    // Without a size there is no map to draw the rows on: the first reason is
    // reported, and every later row skipped.
    l.mapfailed = true;
    if (l.widthline == 0 || l.heightline == 0) return refuse(l, l.lineno, "Row before LevelWidth and LevelHeight");
    if (l.levelwidth < 1 || l.levelwidth > kMaxMapColumns)
        return refuse(l, l.widthline, "LevelWidth must be 1 to %d", kMaxMapColumns);
    if (l.levelheight < 1 || l.levelheight > kMaxMapRows)
        return refuse(l, l.heightline, "LevelHeight must be 1 to %d", kMaxMapRows);
    l.mapfailed = false;
    SDL_Surface* made = SDL_CreateRGBSurface(SDL_SWSURFACE, l.levelwidth * kCell, l.levelheight * kCell, kScreenDepth, 0, 0, 0, 0);
    SDL_Surface* map = made ? SDL_DisplayFormat(made) : nullptr;
    if (made) SDL_FreeSurface(made);
    if (map == nullptr) {
        l.mapfailed = true;
        return refuse(l, l.lineno, "Could not make the map image");
    }
    SDL_FillRect(map, nullptr, SDL_MapRGB(map->format, 0, 0, 0));
    l.sim.map = map;
    l.sim.mapcreated = true;
    l.mapcolumns = l.levelwidth;
    l.maprows = l.levelheight;
    return true;
}

namespace {

const Sim::Tile* find_tile(const LevelLoad& l, char c) {
    for (const Sim::Tile& t : l.tiles)
        if (t.id == c) return &t;
    return nullptr;
}

void blit_cell(SDL_Surface* from, int cx, int cy, SDL_Surface* to, int x, int y) {
    // A cell outside the sheet draws nothing, as SDL's clipping would; far
    // out ones are caught here before kCell * cell overflows.
    if (from != nullptr && (cx < -1 || cy < -1 || cx > from->w / kCell || cy > from->h / kCell)) return;
    // A row before the TileSet line has nothing to draw from; not every
    // SDL 1.2 takes a null surface gracefully, so that failure is ours (and
    // its cells, of any size, are never multiplied out).
    int result = -1;
    if (from == nullptr) {
        SDL_SetError("No TileSet before this Row");
    } else {
        SDL_Rect src = {static_cast<Sint16>(kCell * cx), static_cast<Sint16>(kCell * cy), kCell, kCell};
        SDL_Rect dst = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
        result = SDL_BlitSurface(from, &src, to, &dst);
    }
    if (result == -1) draw_sdl_error(10, 30);
}

}  // namespace

bool draw_row(LevelLoad& l, char* value) {
    const int n = l.rows++;  // a row takes its place on the map, drawn or not
    if (n >= kMaxMapRows) return n == kMaxMapRows ? refuse(l, l.lineno, "Map row beyond %d rows", kMaxMapRows) : false;
    int length = static_cast<int>(std::strlen(value));
    if (length > kMaxMapColumns) return refuse(l, l.lineno, "Map row longer than %d cells", kMaxMapColumns);
    for (int i = 0; i < length; i++) {
        const Sim::Tile* tile = find_tile(l, value[i]);
        if (tile == nullptr) continue;  // an undefined character leaves its cell alone
        l.sim.buildable[i][n] = tile->buildable;
        blit_cell(l.sim.tileset, tile->x, tile->y, l.sim.map, kCell * i, kCell * n);
    }
    return true;
}

void draw_frame_and_path(LevelLoad& l) {
    Sim& sim = l.sim;
    SDL_Surface* map = sim.map;
    const int w = map->w, h = map->h;
    const Uint32 red = SDL_MapRGB(map->format, 255, 0, 0);
    line16(map, 0, 0, w - 1, 0, red);
    line16(map, 0, 0, 0, h - 1, red);
    line16(map, w - 1, h - 1, w - 1, 0, red);
    line16(map, w - 1, h - 1, 0, h - 1, red);

    const int count = static_cast<int>(sim.waypoints.size());
    for (int i = 0; i + 1 < count; i++) {
        const Sim::Waypoint& a = sim.waypoints[i];
        const Sim::Waypoint& b = sim.waypoints[i + 1];
        // The start and end markers go under the path line.
        if (i == 0) blit_cell(sim.symbols, 5, 0, map, kCell * a.x, kCell * a.y);
        if (i == count - 2) blit_cell(sim.symbols, 5, 0, map, kCell * b.x, kCell * b.y);
        const int half = kCell / 2;
        line16(map, kCell * a.x + half, kCell * a.y + half, kCell * b.x + half, kCell * b.y + half, red);
    }
}

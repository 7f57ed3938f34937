// What the loader lets pass about the tile set, the map and the path, though
// it shows on screen: sprites and tiles outside the sheet, rows of the wrong
// length, characters without a tile, and a path that is hard to follow.
#include "game/layout.h"
#include "game/sim.h"
#include "level/level_facts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {

std::string cell(int x, int y) { return std::to_string(x) + "/" + std::to_string(y); }

// The numbers of a pair or triple as the loader reads them: comma-separated,
// empty places skipped, a missing number 0.
void numbers(const std::string& value, int* out, int count) {
    size_t at = 0;
    for (int i = 0; i < count; i++) {
        while (at < value.size() && value[at] == ',') at++;
        out[i] = at < value.size() ? std::atoi(value.c_str() + at) : 0;
        at = value.find(',', at);
        if (at == std::string::npos) at = value.size();
    }
}

struct Sheet {
    int w, h;
    // A negative cell hides a sprite on purpose; past the sheet it is a slip.
    bool outside(int x, int y) const { return x >= 0 && y >= 0 && (kCell * (x + 1LL) > w || kCell * (y + 1LL) > h); }
    std::string size() const { return std::to_string(w / kCell) + "x" + std::to_string(h / kCell) + " cells"; }
};

template <class Type>
void check_sprites(const LevelFacts& facts, const std::vector<Type>& types, const char* key, const Sheet& sheet,
                   std::vector<Finding>& out) {
    for (size_t i = 0; i < types.size(); i++)
        if (sheet.outside(types[i].imgx, types[i].imgy))
            out.push_back({facts.line_of(key, static_cast<int>(i)), false,
                           std::string(key) + " " + cell(types[i].imgx, types[i].imgy) + " of \"" + types[i].name +
                               "\" lies outside the tile sheet (" + sheet.size() + "): it is invisible"});
}

}  // namespace

void check_tileset(const LevelFacts& facts, const Sim& sim, std::vector<Finding>& out) {
    if (sim.tileset == nullptr) return;  // the loader refused the level
    const Sheet sheet{sim.tileset->w, sim.tileset->h};
    std::vector<const KeyLine*> tilesets = facts.all("TileSet");
    if (sheet.w != 128 || sheet.h != 64)
        out.push_back({tilesets.empty() ? 0 : tilesets.back()->line, false,
                       "the tile sheet is " + std::to_string(sheet.w) + "x" + std::to_string(sheet.h) +
                           " pixels, not the 128x64 of the usual 8 by 4 cells"});
    check_sprites(facts, sim.bullettypes, "BulletImg", sheet, out);
    check_sprites(facts, sim.monstertypes, "MonsterImg", sheet, out);
    check_sprites(facts, sim.turrettypes, "TurretImg", sheet, out);
    for (const KeyLine* t : facts.all("Tile")) {
        int xyb[3];
        numbers(t->value, xyb, 3);
        if (sheet.outside(xyb[0], xyb[1]) || xyb[0] < 0 || xyb[1] < 0)
            out.push_back({t->line, false, std::string("Tile '") + t->tilechar + "' uses cell " + cell(xyb[0], xyb[1]) +
                                               ", outside the tile sheet (" + sheet.size() + "): its cells stay black"});
    }
}

void check_map(const LevelFacts& facts, const Sim& sim, std::vector<Finding>& out) {
    const int columns = sim.map->w / kCell, rows = sim.map->h / kCell;
    const std::vector<const KeyLine*> row_lines = facts.all("Row"), tile_lines = facts.all("Tile");
    const int first_row = row_lines.empty() ? 0 : row_lines[0]->line;
    for (const char* key : {"LevelWidth", "LevelHeight", "TileSet"})
        for (const KeyLine* k : facts.all(key))
            if (k->line > first_row)
                out.push_back({k->line, false, std::string(key) + " after the first Row (line " +
                                                   std::to_string(first_row) + ") " +
                                                   (std::strcmp(key, "TileSet") == 0 ? "leaves the rows above it undrawn"
                                                                                      : "changes nothing")});
    for (size_t n = 0; n < row_lines.size(); n++) {
        const KeyLine& row = *row_lines[n];
        const int length = static_cast<int>(row.value.size());
        if (static_cast<int>(n) == rows)
            out.push_back({row.line, false, "Row beyond LevelHeight " + std::to_string(rows) + ": it is not shown"});
        if (length > columns)
            out.push_back({row.line, false, "Row of " + std::to_string(length) + " cells for LevelWidth " +
                                                std::to_string(columns) + ": the game cuts it at the map's edge"});
        else if (length < columns)
            out.push_back({row.line, false, "Row of " + std::to_string(length) + " cells for LevelWidth " +
                                                std::to_string(columns) + ": the cells past it stay black"});
        // The first Tile line of a character counts, if it stands above the row.
        std::string undefined, later;
        std::set<char> seen;
        for (char c : row.value) {
            if (!seen.insert(c).second) continue;
            const KeyLine* def = nullptr;
            for (const KeyLine* t : tile_lines)
                if (t->tilechar == c) {
                    def = t;
                    break;
                }
            if (def == nullptr) undefined += c;
            else if (def->line > row.line) later += c;
        }
        if (!undefined.empty())
            out.push_back({row.line, false, "map characters \"" + undefined +
                                                "\" have no Tile line: their cells stay black and cannot be built on"});
        if (!later.empty())
            out.push_back({row.line, false, "map characters \"" + later +
                                                "\" are defined by Tile lines below this row: move those above it"});
    }
    if (static_cast<int>(row_lines.size()) < rows)
        out.push_back({facts.all("LevelHeight").empty() ? 0 : facts.all("LevelHeight").back()->line, false,
                       "LevelHeight " + std::to_string(rows) + " but only " + std::to_string(row_lines.size()) +
                           " Row lines: the rows below stay black"});
}

void check_path(const LevelFacts& facts, Sim& sim, std::vector<Finding>& out) {
    const std::vector<const KeyLine*> lines = facts.all("Waypoint");
    const std::vector<Sim::Waypoint>& path = sim.waypoints;
    const int columns = sim.map->w / kCell, rows = sim.map->h / kCell;
    auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < columns && y < rows; };
    for (size_t i = 0; i < path.size() && i < lines.size(); i++) {
        const Sim::Waypoint& w = path[i];
        if (!inside(w.x, w.y))
            out.push_back({lines[i]->line, false,
                           "waypoint " + cell(w.x, w.y) + " lies outside the " + std::to_string(columns) + "x" +
                               std::to_string(rows) + " map: monsters walk " +
                               (i == 0 ? "in from off the map" : "off the map there")});
        if (i == 0) continue;
        const Sim::Waypoint& a = path[i - 1];
        if (a.x != w.x && a.y != w.y)
            out.push_back({lines[i]->line, false, "the path from " + cell(a.x, a.y) + " to " + cell(w.x, w.y) +
                                                      " is diagonal: monsters walk straight across what lies between"});
        // The cells the road runs through, one step of a cell at a time.
        const int steps = std::max(std::abs(w.x - a.x), std::abs(w.y - a.y));
        int buildable = 0;
        std::string first;
        for (int s = 0; s <= steps; s++) {
            const int x = static_cast<int>(std::lround(a.x + (w.x - a.x) * static_cast<double>(s) / std::max(steps, 1)));
            const int y = static_cast<int>(std::lround(a.y + (w.y - a.y) * static_cast<double>(s) / std::max(steps, 1)));
            if (inside(x, y) && x < 128 && y < 96 && sim.buildable[x][y] && buildable++ == 0) first = cell(x, y);
        }
        if (buildable > 0)
            out.push_back({lines[i]->line, false, "the path from " + cell(a.x, a.y) + " to " + cell(w.x, w.y) +
                                                      " crosses " + std::to_string(buildable) +
                                                      " buildable cells (first " + first +
                                                      "): turrets can be built on the road"});
    }
    // The opening view: the sidebar open, nothing scrolled. A frame drawn
    // now tells where the map stands on the screen; the cell's centre must
    // be in the map area.
    if (path.empty() || lines.empty()) return;
    sim.render();
    const int x = sim.mapx + kCell * path[0].x + 8, y = sim.mapy + kCell * path[0].y + 8;
    const char* where = x >= sidebar_left(sim.sidebarwidth) && x < kScreenWidth ? "under the open sidebar"
                        : !in_map_area(x, y, sim.sidebarwidth)                 ? "off the screen"
                                                                                : nullptr;
    if (where != nullptr)
        out.push_back({lines[0]->line, false, "the path starts at " + cell(path[0].x, path[0].y) + ", " + where +
                                                  " in the opening view: the first wave comes out of hiding"});
}

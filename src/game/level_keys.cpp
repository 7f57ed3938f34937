// The lines of level.txt: comments, echoes, record-opening lines and the key
// table. Keys are matched by prefix in table order ("TileSet" before "Tile"),
// the value is everything after the first '=', and names compare exactly.
#include "game/level_load.h"

#include "game/level_keys.h"
#include "game/string_scan.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Numbers separated by commas; a missing number is 0.
void read_numbers(char* value, int* out, int count) {
    char* rest = nullptr;
    char* token = strtok_r(value, ",", &rest);
    for (int i = 0; i < count; i++) {
        out[i] = token ? std::atoi(token) : 0;
        if (token) token = strtok_r(nullptr, ",", &rest);
    }
}

void copy_text(char (&field)[200], const char* value) { std::snprintf(field, sizeof field, "%s", value); }

// A sprite cell: column and row in the tile set.
bool read_cell(char* value, int& x, int& y) {
    int xy[2];
    read_numbers(value, xy, 2);
    x = xy[0];
    y = xy[1];
    return true;
}

// The last type of that name, or -1.
int find_bullet(const Sim& sim, const char* name) {
    for (int i = static_cast<int>(sim.bullettypes.size()) - 1; i >= 0; i--)
        if (std::strcmp(sim.bullettypes[i].name, name) == 0) return i;
    return -1;
}

Sim::Bullet& bullet(LevelLoad& l) { return l.sim.bullettypes.back(); }
Sim::Monster& monster(LevelLoad& l) { return l.sim.monstertypes.back(); }
Sim::Turret& turret(LevelLoad& l) { return l.sim.turrettypes.back(); }

bool key_name(LevelLoad& l, char* v) { copy_text(l.sim.levelinfo[0], v); return true; }
bool key_comment(LevelLoad& l, char* v) { copy_text(l.sim.levelinfo[1], v); return true; }
bool key_author(LevelLoad& l, char* v) { copy_text(l.sim.levelinfo[2], v); return true; }
bool key_tileset(LevelLoad& l, char* v) { return handle_tileset(l, v); }

bool key_bulletname(LevelLoad& l, char* v) { copy_text(bullet(l).name, v); return true; }
bool key_bulletimg(LevelLoad& l, char* v) { return read_cell(v, bullet(l).imgx, bullet(l).imgy); }
bool key_bulletdamage(LevelLoad& l, char* v) { bullet(l).damage = std::atoi(v); return true; }
bool key_bulletspeed(LevelLoad& l, char* v) { bullet(l).speed = std::atof(v); return true; }
bool key_bulleteffect(LevelLoad& l, char* v) {
    if (std::strcmp(v, "Slow") == 0) bullet(l).effect = EFFECT_SLOW;
    else if (v[0] == '\0') bullet(l).effect = EFFECT_NONE;
    else warn(l, LevelProblem::UnknownEffect, v, "Warning! Couldn't understand line number%d... Is the casing correct?", l.lineno);
    return true;
}

bool key_monstername(LevelLoad& l, char* v) { copy_text(monster(l).name, v); return true; }
bool key_monsterimg(LevelLoad& l, char* v) { return read_cell(v, monster(l).imgx, monster(l).imgy); }
bool key_monsterhealth(LevelLoad& l, char* v) { monster(l).health = std::atoi(v); return true; }
bool key_monsternumber(LevelLoad& l, char* v) { monster(l).number = std::atoi(v); return true; }
bool key_monstermoney(LevelLoad& l, char* v) { monster(l).money = std::atoi(v); return true; }
bool key_monsterspeed(LevelLoad& l, char* v) { monster(l).speed = std::atof(v); return true; }
bool key_monsterimmunity(LevelLoad& l, char* v) {
    char* rest = nullptr;
    char* name = strtok_r(v, ",", &rest);
    if (name == nullptr) return true;  // nothing named: skipped silently
    char* number = strtok_r(nullptr, ",", &rest);
    Sim::Effect effect;
    effect.factor = number ? std::atof(number) : 0.0;
    int b = find_bullet(l.sim, name);
    const char* what;
    if (b >= 0) {
        effect.kind = b;
        what = l.sim.bullettypes[b].name;
    } else if (std::strcmp(name, "Slow") == 0) {
        effect.kind = -EFFECT_SLOW;
        what = "Slow";
    } else {
        warn(l, LevelProblem::UnknownImmunity, name, "Warning! Couldn't find a bullet or an effect on line %d", l.lineno);
        return true;
    }
    // The factor scales damage and speed every tick: it must be a number, or
    // a monster's health or position stops being one and it can never die
    // or arrive. Against Slow more than 1 would slow harder than the effect
    // itself; past 2 the monster walks backwards, so far for a large factor
    // that its wave never ends. A factor below 0 only heals (or hurries) the
    // monster: odd, but playable.
    if (!std::isfinite(effect.factor)) return refuse(l, l.lineno, "MonsterImmunity factor must be a number");
    if (effect.kind == -EFFECT_SLOW && effect.factor > 1.0) return refuse(l, l.lineno, "Slow immunity factor must be 1 or less");
    monster(l).immunities.push_back(effect);
    log_line("%s is immune to %s", monster(l).name, what);
    return true;
}

bool key_turretname(LevelLoad& l, char* v) { copy_text(turret(l).name, v); return true; }
bool key_turretimg(LevelLoad& l, char* v) { return read_cell(v, turret(l).imgx, turret(l).imgy); }
bool key_turretcost(LevelLoad& l, char* v) { turret(l).cost = std::atoi(v); return true; }
bool key_turretaccuracy(LevelLoad& l, char* v) { turret(l).accuracy = std::atoi(v); return true; }
bool key_turretdesc(LevelLoad& l, char* v) { copy_text(turret(l).desc, v); return true; }
bool key_turretbullet(LevelLoad& l, char* v) {
    int b = find_bullet(l.sim, v);
    if (b < 0) {
        warn(l, LevelProblem::UnknownBullet, v, "Warning! Bullet \"%s\"(line %d) could not be found! (Did you define it "
             "before the turrets? Is the casing correct?)", v, l.lineno);
        b = 0;
    }
    turret(l).bullet = b;
    return true;
}
bool key_turretrange(LevelLoad& l, char* v) { turret(l).range = std::atoi(v); return true; }
bool key_turretrate(LevelLoad& l, char* v) { turret(l).rate = std::atoi(v); return true; }

bool key_tile(LevelLoad& l, char* v) {
    int xyb[3];
    read_numbers(v, xyb, 3);
    Sim::Tile tile;
    tile.x = xyb[0];
    tile.y = xyb[1];
    tile.id = l.tilechar;
    tile.buildable = xyb[2] != 0;
    l.tiles.push_back(tile);
    log_line("Tile: %d/%d, id: %c, %s", tile.x, tile.y, tile.id, tile.buildable ? "buildable" : "not buildable");
    return true;
}

bool key_levelwidth(LevelLoad& l, char* v) {
    l.levelwidth = std::atoi(v);
    l.widthline = l.lineno;
    return true;
}
bool key_levelheight(LevelLoad& l, char* v) {
    l.levelheight = std::atoi(v);
    l.heightline = l.lineno;
    return true;
}
bool key_row(LevelLoad& l, char* v) { return draw_row(l, v); }
bool key_waypoint(LevelLoad& l, char* v) {
    int xy[2];
    read_numbers(v, xy, 2);
    log_line("Waypoint: %d/%d", xy[0], xy[1]);
    Sim::Waypoint w;
    w.x = xy[0];
    w.y = xy[1];
    l.sim.waypoints.push_back(w);
    l.waypointlines.push_back(l.lineno);
    return true;
}

// Which record a property key fills; its values need that record to exist.
enum Owner { kLevel, kBullet, kMonster, kTurret };

// How the key reports progress: counted, or counted and then capped at 100.
enum Progress { kCounted, kCapped };

struct Key {
    const char* name;
    Owner owner;
    Progress progress;
    bool (*handle)(LevelLoad&, char*);
};

// In the order of testing: a key that is the prefix of another comes after it.
const Key kKeys[] = {
    {"Name", kLevel, kCounted, key_name},
    {"Comment", kLevel, kCounted, key_comment},
    {"Author", kLevel, kCounted, key_author},
    {"TileSet", kLevel, kCounted, key_tileset},
    {"BulletName", kBullet, kCounted, key_bulletname},
    {"BulletImg", kBullet, kCounted, key_bulletimg},
    {"BulletDamage", kBullet, kCounted, key_bulletdamage},
    {"BulletSpeed", kBullet, kCounted, key_bulletspeed},
    {"BulletEffect", kBullet, kCounted, key_bulleteffect},
    {"MonsterName", kMonster, kCounted, key_monstername},
    {"MonsterImg", kMonster, kCounted, key_monsterimg},
    {"MonsterHealth", kMonster, kCounted, key_monsterhealth},
    {"MonsterNumber", kMonster, kCounted, key_monsternumber},
    {"MonsterMoney", kMonster, kCounted, key_monstermoney},
    {"MonsterSpeed", kMonster, kCounted, key_monsterspeed},
    {"MonsterImmunity", kMonster, kCounted, key_monsterimmunity},
    {"TurretName", kTurret, kCounted, key_turretname},
    {"TurretImg", kTurret, kCounted, key_turretimg},
    {"TurretCost", kTurret, kCounted, key_turretcost},
    {"TurretAccuracy", kTurret, kCounted, key_turretaccuracy},
    {"TurretDesc", kTurret, kCounted, key_turretdesc},
    {"TurretBullet", kTurret, kCounted, key_turretbullet},
    {"TurretRange", kTurret, kCounted, key_turretrange},
    {"TurretRate", kTurret, kCounted, key_turretrate},
    {"Tile", kLevel, kCounted, key_tile},
    {"LevelWidth", kLevel, kCounted, key_levelwidth},
    {"LevelHeight", kLevel, kCounted, key_levelheight},
    {"Row", kLevel, kCapped, key_row},
    {"Waypoint", kLevel, kCapped, key_waypoint},
};

// The record-opening line that a property key of this owner needs, or null
// when that record exists.
const char* missing_record(const LevelLoad& l, Owner owner) {
    switch (owner) {
    case kBullet: return l.sim.bullettypes.empty() ? "NewBullet" : nullptr;
    case kMonster: return l.sim.monstertypes.empty() ? "NewMonster" : nullptr;
    case kTurret: return l.sim.turrettypes.empty() ? "NewTurret" : nullptr;
    default: return nullptr;
    }
}

bool open_record(LevelLoad& l, const char* line) {
    std::vector<int>* lines;
    if (std::strcmp(line, "NewBullet") == 0) {
        l.sim.bullettypes.push_back(Sim::Bullet());
        lines = &l.bulletlines;
    } else if (std::strcmp(line, "NewMonster") == 0) {
        l.sim.monstertypes.push_back(Sim::Monster());
        lines = &l.monsterlines;
    } else if (std::strcmp(line, "NewTurret") == 0) {
        l.sim.turrettypes.push_back(Sim::Turret());
        lines = &l.turretlines;
    } else {
        return false;
    }
    lines->push_back(l.lineno);
    l.progressview.line_taken(l.lineno, line, "", 0);
    return true;
}

}  // namespace

void count_progress(LevelLoad& l, bool capped) {
    l.progress++;
    if (capped && l.progress > 100) l.progress = 100;
    l.progressview.report(l.progress, l.line, false);
}

const char* level_key_name(int i) {
    const int count = static_cast<int>(sizeof kKeys / sizeof kKeys[0]);
    return i >= 0 && i < count ? kKeys[i].name : nullptr;
}

// The key handlers say false when they refused the level; reading goes on
// either way.
void handle_level_line(LevelLoad& l) {
    char* line = l.line;
    if (line[0] == '#' || line[0] == '\0') return;
    if (line[0] == '>') {
        log_line("%s", line);
        return;
    }
    if (open_record(l, line)) return;
    for (const Key& key : kKeys) {
        if (!startswith(line, key.name)) continue;
        // The first Row makes the map before it is reported; without a map
        // (refused already) rows are skipped.
        if (key.handle == key_row && !l.sim.mapcreated && (l.mapfailed || !create_map(l))) return;
        count_progress(l, key.progress == kCapped);
        if (const char* record = missing_record(l, key.owner)) {
            warn(l, LevelProblem::NeedsRecord, record, "Warning! Line %d needs a %s before it, skipped", l.lineno, record);
            return;
        }
        l.tilechar = line[4];  // a Tile line's map character, before the cut
        int eq = subfind(line, "=");
        if (eq >= 0) substring(line, line, eq + 1, -1);
        l.progressview.line_taken(l.lineno, key.name, line, l.tilechar);
        key.handle(l, line);
        return;
    }
    warn(l, LevelProblem::UnknownLine, "", "Warning: Non-null line ignored: %s", line);
}

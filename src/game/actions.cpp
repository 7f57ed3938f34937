// The player's side of a level: cursor, sidebar, and the six click actions
// (buy or place, cancel, strongest, next wave, next and previous type).
#include "game/sim.h"

#include "game/messagebox.h"
#include "game/saturate.h"
#include "gfx/image.h"
#include "gfx/screen.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

// Formats a message for the message box into a line of 199 characters at
// most (a long type name is cut with it); the box keeps its own copy.
__attribute__((format(printf, 1, 2))) void say(const char* format, ...) {
    char message[200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    box.add(message);
}

bool affordable(const Sim& s, int type) { return s.turrettypes[type].cost <= s.money; }

void select_type(Sim& s, int type) {
    s.buildmode = BUILD_PLACING;
    s.selectedturret = type;
    s.cursorframe = CURSOR_BUILDABLE;
}

void drop_selection(Sim& s) {
    s.buildmode = BUILD_IDLE;
    s.selectedturret = -1;
    s.cursorframe = CURSOR_NORMAL;
}

// Damage per tick: the bullet's damage over the rate. A rate of 0 (or
// below, which fires the same) counts as 1: such a type fires on every tick,
// so it is the strongest for its damage, and nothing divides by zero.
double strength(const Sim& s, int type) {
    const Sim::Turret& t = s.turrettypes[type];
    return s.bullettypes[t.bullet].damage / (t.rate < 1 ? 1 : t.rate);
}

void buy_from_sidebar(Sim& s) {
    int n = static_cast<int>(s.turrettypes.size());
    for (int i = 0; i < n; i++) {
        if (icon_square(i, s.sidebarwidth).strictly_inside(s.cursorx, s.cursory)) {
            if (s.money < s.turrettypes[i].cost) {
                say("Not enough money to buy %s!", s.turrettypes[i].name);
            } else {
                select_type(s, i);
            }
        }
    }
}

// Puts the selected type on the tile under the placement preview.
void place(Sim& s) {
    const PlacementCell cell = placement_cell(s.cursorx, s.cursory, s.mapx, s.mapy);
    const int tx = cell.column, ty = cell.row;
    if (!s.free_to_build(tx, ty)) return;

    const Sim::Turret& type = s.turrettypes[s.selectedturret];
    s.lastturret = s.selectedturret;
    s.buildable[tx][ty] = false;
    Sim::Object t;
    t.x = kCell * tx;
    t.y = kCell * ty;
    t.type = s.selectedturret;
    t.kind = KIND_TURRET;
    t.reload() = 0.0;
    s.insert_turret(t);
    s.money = add_saturating(s.money, -static_cast<long long>(type.cost));
    if (s.money < type.cost) drop_selection(s);
}

void click(Sim& s) {
    if (s.buildmode == BUILD_IDLE) {
        buy_from_sidebar(s);
        if (ready_square(s.sidebarwidth).contains(s.cursorx, s.cursory) && !s.waverunning)
            s.cursorclick(CLICK_NEXT_WAVE);
    }
    if (s.buildmode == BUILD_PLACING && in_map_area(s.cursorx, s.cursory, s.sidebarwidth)) place(s);
}

void select_strongest(Sim& s) {
    if (s.buildmode == BUILD_PLACING) drop_selection(s);
    int best = -1;
    double bestvalue = 0.0;
    int n = static_cast<int>(s.turrettypes.size());
    for (int i = 0; i < n; i++) {
        if (!affordable(s, i)) continue;
        double v = strength(s, i);
        if (v > bestvalue) {
            bestvalue = v;
            best = i;
        }
    }
    if (best != -1) select_type(s, best);
}

void start_wave(Sim& s) {
    if (s.waverunning) return;
    const Sim::Monster& type = s.monstertypes[s.wave];
    s.ready = false;
    s.waverunning = true;
    s.spawnleft = type.number;

    say("Level: %i", s.wave + 1);
    // Health of the endless wave can pass the int range: shown held to it.
    int hp = saturate_int(type.health);
    if (type.number == 1)
        say("A %s! HP: %i", type.name, hp);
    else
        say("%i %ss! HP: %i", type.number, type.name, hp);

    int bullets = static_cast<int>(s.bullettypes.size());
    for (const Sim::Effect& e : type.immunities) {
        int percent = saturate_int(e.factor * 100);
        if (e.kind >= 0 && e.kind < bullets)
            say("%s: %i%% Damage", s.bullettypes[e.kind].name, percent);
        else if (e.kind == -EFFECT_SLOW)
            say("Slow: %i%% effectivity", percent);
    }
}

// While idle: take up the type built last, or the one most like it.
void take_up_last(Sim& s) {
    if (affordable(s, s.lastturret)) {
        select_type(s, s.lastturret);
        return;
    }
    int t = s.similarturret(s.lastturret);
    if (t != -1) select_type(s, t);
}

// While placing: the next affordable type in cyclic order (dir +1 or -1).
void step_type(Sim& s, int dir) {
    int n = static_cast<int>(s.turrettypes.size());
    s.selectedturret = (s.selectedturret + dir + n) % n;
    int k = 0;
    while (!affordable(s, s.selectedturret) && k < n) {
        s.selectedturret = (s.selectedturret + dir + n) % n;
        k += 1;
    }
    if (!affordable(s, s.selectedturret)) drop_selection(s);
}

}  // namespace

void Sim::cursorclick(int code) {
    // The actions that need a type do nothing in a level without one: a
    // level may define no turret type at all.
    bool noturrets = turrettypes.empty();
    switch (code) {
    case CLICK_PRESS:
        click(*this);
        break;
    case CLICK_CANCEL:
        if (buildmode == BUILD_PLACING) drop_selection(*this);
        break;
    case CLICK_STRONGEST:
        if (!noturrets) select_strongest(*this);
        break;
    case CLICK_NEXT_WAVE:
        if (!monstertypes.empty()) start_wave(*this);
        break;
    case CLICK_NEXT_TYPE:
    case CLICK_PREVIOUS_TYPE:
        if (noturrets) break;
        if (buildmode == BUILD_IDLE)
            take_up_last(*this);
        else
            step_type(*this, code == CLICK_NEXT_TYPE ? 1 : -1);
        break;
    default:
        break;
    }
}

void Sim::addcursor(int dx, int dy) {
    long long x = static_cast<long long>(cursorx) + dx;
    long long y = static_cast<long long>(cursory) + dy;
    // Both bounds inclusive: the cursor can stand one pixel past the screen.
    cursorx = static_cast<int>(x < 0 ? 0 : x > width ? width : x);
    cursory = static_cast<int>(y < 0 ? 0 : y > height ? height : y);
}

void Sim::toggle_sidebar(bool open) { sidebarmove = 2 * open - 1; }

int Sim::similarturret(int type) {
    // Worth: damage per tick (the strength) per unit of money; a free type
    // is worth infinitely much and compares so.
    auto worth = [this](int i) { return strength(*this, i) / turrettypes[i].cost; };
    double ref = worth(type);
    int best = -1;
    double bestdiff = 0.0;
    int n = static_cast<int>(turrettypes.size());
    for (int i = 0; i < n; i++) {
        if (!affordable(*this, i)) continue;
        double diff = std::fabs(worth(i) - ref);
        if (best == -1 || diff < bestdiff) {
            best = i;
            bestdiff = diff;
        }
    }
    return best;
}

int Sim::objectnum(int kind) {
    switch (kind) {
    case KIND_MONSTER: return turretstart;
    case KIND_TURRET: return bulletstart - turretstart;
    case KIND_BULLET: return static_cast<int>(objects.size()) - bulletstart;
    default: return 0;
    }
}

void Sim::set_cursor(const char* path) {
    if (cursorframe != CURSOR_NONE) SDL_FreeSurface(cursor);
    cursor = load_image(path);
    SDL_SetColorKey(cursor, SDL_SRCCOLORKEY, SDL_MapRGB(cursor->format, 0, 0, 255));
    cursorframe = CURSOR_NORMAL;
}

void Sim::set_bar(const char* path) {
    if (barloaded) SDL_FreeSurface(bar);
    bar = load_image(path);
    barloaded = true;
}

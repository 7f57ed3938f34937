// The whole state of one level being played, and the records it is made of.
#pragma once

#include "game/layout.h"

#include <SDL.h>

#include <vector>

class LoadProgress;

// What a live object is (Sim::Object::kind); also what Sim::objectnum counts.
enum ObjectKind { KIND_MONSTER = 1, KIND_TURRET = 2, KIND_BULLET = 3 };

// The effect a bullet type carries (Sim::Bullet::effect) and a monster
// suffers (its activeeffect(), a double, 0 for none). An immunity to an
// effect is listed under minus its number.
const int EFFECT_NONE = -1;
const int EFFECT_SLOW = 1;

// The six click actions of Sim::cursorclick, as the buttons send them.
enum ClickCode {
    CLICK_PRESS = 0,          // buy from the sidebar or press Ready (idle), then place (placing)
    CLICK_CANCEL = 1,         // drop the selection
    CLICK_STRONGEST = 2,      // select the strongest affordable type
    CLICK_NEXT_WAVE = 3,      // start the next wave
    CLICK_NEXT_TYPE = 4,      // the next affordable type, or the one built last when idle
    CLICK_PREVIOUS_TYPE = 5,  // the previous one, or the one built last when idle
};

// Sim::buildmode: idle, or a turret type selected and following the cursor.
enum BuildMode { BUILD_IDLE = 0, BUILD_PLACING = 1 };

// Sim::cursorframe: the frame of the cursor image shown.
enum CursorFrame {
    CURSOR_NONE = -1,          // no cursor image is loaded
    CURSOR_NORMAL = 0,
    CURSOR_AFFORDABLE = 1,     // over the icon of a type the money buys
    CURSOR_TOO_DEAR = 2,       // over the icon of a type it does not
    CURSOR_BUILDABLE = 3,      // placing, over a free buildable tile
    CURSOR_NOT_BUILDABLE = 4,  // placing, over any other
};

class Sim {
public:
    // One point of the monsters' path, in map cells.
    struct Waypoint {
        int x = 0;
        int y = 0;
    };

    // A map character's meaning; lives only while a level file is read.
    struct Tile {
        int x = 0;
        int y = 0;
        char id = 0;
        bool buildable = false;
    };

    // One immunity of a monster type: kind >= 0 is a bullet type index,
    // kind -1 is the Slow effect; factor scales the damage or the effect.
    struct Effect {
        int kind = 0;
        double factor = 0.0;
    };

    struct Bullet {
        int id = 0;
        char name[200] = {};
        double damage = 0.0;
        double speed = 0.0;
        int effect = 0;          // EFFECT_SLOW or EFFECT_NONE
        int imgx = 0;
        int imgy = 0;
    };

    // Copies deep: the immunity list belongs to each copy.
    struct Monster {
        int id = 0;
        char name[200] = {};
        double health = 0.0;
        double speed = 0.0;
        int number = 0;
        int money = 0;
        int imgx = 0;
        int imgy = 0;
        std::vector<Effect> immunities;
    };

    struct Turret {
        int id = 0;
        char name[200] = {};
        char desc[200] = {};
        int cost = 0;
        int bullet = 0;
        int range = 0;
        int rate = 0;
        int accuracy = 0;
        int imgx = 0;
        int imgy = 0;
    };

    // One live monster, turret or bullet. The slots after kind mean
    // different things per kind; the accessors below name them.
    struct Object {
        double x = 0.0;
        double y = 0.0;
        int type = 0;
        int kind = 0;
        double hp = 0.0;
        double vx = 0.0;
        double vy = 0.0;
        double effect = 0.0;
        double effectfactor = 0.0;
        double effecttime = 0.0;

        // A monster: its walking speed, the waypoint it walks toward and the
        // effect it suffers (EFFECT_SLOW or 0).
        double& walkspeed() { return vx; }
        double walkspeed() const { return vx; }
        double& waypoint() { return vy; }
        double waypoint() const { return vy; }
        double& activeeffect() { return effect; }
        double activeeffect() const { return effect; }
        // A turret: ticks since its last shot.
        double& reload() { return vy; }
        double reload() const { return vy; }
        // A bullet: the damage of a hit and the distance it may still fly.
        double& damage() { return hp; }
        double damage() const { return hp; }
        double& rangeleft() { return effect; }
        double rangeleft() const { return effect; }
    };

    std::vector<Waypoint> waypoints;
    std::vector<Object> objects;    // monsters, then turrets, then bullets: change it through insert_ and remove_object
    int bulletstart;
    int turretstart;
    SDL_Surface* map;
    SDL_Surface* back;
    SDL_Surface* sidebar;
    SDL_Surface* symbols;
    int scrollx;
    int scrolly;
    bool mapcreated;
    SDL_Surface* cursor = nullptr;  // valid while cursorframe != CURSOR_NONE
    int cursorframe;
    int cursorx;
    int cursory;
    SDL_Surface* bar = nullptr;     // valid while barloaded
    bool barloaded;
    char levelinfo[10][200];        // name, comment, author, tile-set file
    bool buildable[kMaxMapColumns][kMaxMapRows];  // [column][row]
    int money;
    int lives;
    int mapx = 0;                   // screen position of the map, set by render
    int mapy = 0;
    int wave;
    int spawnleft;
    bool waverunning;
    int spawntimer;
    int sidebarwidth;
    int sidebarmove;
    SDL_Surface* tileset;
    std::vector<Monster> monstertypes;
    std::vector<Turret> turrettypes;
    std::vector<Bullet> bullettypes;
    int buildmode;
    int selectedturret = -1;
    int lastturret;
    bool ready;
    int monstersalive;

    Sim();
    ~Sim();
    Sim(const Sim&) = delete;
    Sim& operator=(const Sim&) = delete;

    // Level file and loading screen. The loader reports its progress to the
    // loading screen, or to another listener.
    bool load_level(const char* dir);
    bool load_level(const char* dir, LoadProgress& progress);
    void updatescreen(int progress, const char* message, bool error);

    // One tick of the game; false once the lives have run out.
    bool step();
    double check_effect(int type, int effect);
    double check_bullet_effectivity(int type, int bullet);

    // The player's side: cursor, sidebar and the six click actions.
    void cursorclick(int code);
    void addcursor(int dx, int dy);
    void toggle_sidebar(bool open);
    int similarturret(int type);
    int objectnum(int kind);
    void set_cursor(const char* path);
    void set_bar(const char* path);

    // The object list changes only through these, which keep both segment
    // bounds and the count of live monsters. A monster goes to the front of
    // the list, a turret to the front of the turrets, a bullet to the front
    // of the bullets; any object can be removed.
    void insert_monster(const Object& monster);
    void insert_turret(const Object& turret);
    void insert_bullet(const Object& bullet);
    void remove_object(int i);

    // Whether map cell (column, row) takes a turret: on the map and the
    // grid, buildable and not built on.
    bool free_to_build(int column, int row) const;

    // Drawing one frame of the level.
    void render();
    void tooltip(int x, int y, const char* text);
};

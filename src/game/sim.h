// The whole state of one level being played, and the records it is made of.
#pragma once

#include <SDL.h>

#include <vector>

class LoadProgress;

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
        int effect = 0;          // 1 Slow, -1 none
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

    // One live monster (kind 1), turret (kind 2) or bullet (kind 3); the
    // slots after kind mean different things per kind.
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
    };

    std::vector<Waypoint> waypoints;
    std::vector<Object> objects;    // monsters, then turrets, then bullets
    int bulletstart;
    int turretstart;
    SDL_Surface* map;
    SDL_Surface* back;
    SDL_Surface* sidebar;
    SDL_Surface* symbols;
    int scrollx;
    int scrolly;
    bool mapcreated;
    SDL_Surface* cursor = nullptr;  // valid while cursorframe != -1
    int cursorframe;
    int cursorx;
    int cursory;
    SDL_Surface* bar = nullptr;     // valid while barloaded
    bool barloaded;
    char levelinfo[10][200];        // name, comment, author, tile-set file
    bool buildable[128][96];        // [column][row]
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

    // Drawing one frame of the level.
    void render();
    void tooltip(int x, int y, const char* text);
};

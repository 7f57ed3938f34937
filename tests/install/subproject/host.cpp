// Uses a piece of the game's library from the host project.
#include "gfx/sine.h"
#include "game/string_scan.h"

int main() {
    build_sine_table();
    return Sin(6.2831853 / 4) > 0.999 && startswith("levels/Meadow", "levels/") ? 0 : 1;
}

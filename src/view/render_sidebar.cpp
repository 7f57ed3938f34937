// The sidebar of the game screen: the player's counters, the current wave,
// the Ready button and the turret types for sale.
#include "game/sim.h"

#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "view/render_parts.h"

#include <cstdio>

using namespace render_detail;

namespace {

void blit_symbol(const Sim& s, int k, int x, int y) { blit_cell(s.symbols, k, 0, x, y); }

void draw_number(int x, int y, const char* format, int value) {
    char text[32];
    snprintf(text, sizeof text, format, value);
    draw_text_at(x, y, text, 0, 0);
}

// The counters stand in a column of symbols and one of texts.
void draw_counters(const Sim& s) {
    const Square ready = ready_square(s.sidebarwidth);
    const int symbols = ready.left, texts = ready.left + 22;
    blit_symbol(s, 0, symbols, 8);
    draw_number(texts, 10, "%i", s.lives);
    blit_symbol(s, 1, symbols, 24);
    draw_number(texts, 26, "%i", s.money);
    blit_symbol(s, s.ready ? 2 : 4, ready.left, ready.top);
    draw_text_at(texts, ready.top + 2, "Ready", 0, 0);

    // A level without monster types has no current wave to show.
    if (s.wave >= 0 && s.wave < static_cast<int>(s.monstertypes.size())) {
        const Sim::Monster& m = s.monstertypes[s.wave];
        blit_cell(s.tileset, m.imgx, m.imgy, symbols, 48);
        draw_number(symbols, 64, "HP: %i", saturate_int(m.health));
    }
    if (s.waverunning) draw_number(texts, 50, "X: %i", s.spawnleft + s.monstersalive);
}

// Shots per second at 30 ticks a second. A rate of 0 or less lets the
// turret fire on every tick, so it shows 30 instead of a division by zero.
int shots_per_second(int rate) {
    if (rate <= 0) return 30;
    return static_cast<int>(30.0 / rate);
}

void show_tooltip(Sim& s, const Sim::Turret& t) {
    double damage = 0.0;
    bool slows = false;
    if (t.bullet >= 0 && t.bullet < static_cast<int>(s.bullettypes.size())) {
        damage = s.bullettypes[t.bullet].damage;
        slows = s.bullettypes[t.bullet].effect == EFFECT_SLOW;
    }
    // Names and descriptions are at most 199 characters each: this fits.
    char text[1000];
    snprintf(text, sizeof text, "%s#%s#Cost: %i#Damage: %i#Shooting rate: %i shots/second%s",
             t.name, t.desc, t.cost, saturate_int(damage), shots_per_second(t.rate),
             slows ? "# #Slows enemies down" : "");
    s.tooltip(10, 10, text);
}

}  // namespace

bool render_detail::render_sidebar(Sim& s) {
    apply_surface(sidebar_left(s.sidebarwidth), 0, s.sidebar, screen);
    draw_counters(s);

    bool hovered = false;
    int n = static_cast<int>(s.turrettypes.size());
    for (int i = 0; i < n; i++) {
        const Square icon = icon_square(i, s.sidebarwidth);
        const int left = icon.left, top = icon.top;
        // Rows below the screen can be neither seen nor reached by the
        // cursor (it stops at y = 240).
        if (top >= kScreenHeight) break;
        const Sim::Turret& t = s.turrettypes[i];
        if (s.buildmode == BUILD_IDLE && icon.strictly_inside(s.cursorx, s.cursory)) {
            hovered = true;
            bool affordable = s.money >= t.cost;
            Uint32 colour = affordable ? SDL_MapRGB(screen->format, 0, 255, 0)
                                       : SDL_MapRGB(screen->format, 255, 0, 0);
            SDL_Rect frame;
            frame.x = static_cast<Sint16>(left - 3);
            frame.y = static_cast<Sint16>(top - 3);
            frame.w = 22;
            frame.h = 22;
            SDL_FillRect(screen, &frame, colour);
            if (s.cursorframe != CURSOR_NONE) s.cursorframe = affordable ? CURSOR_AFFORDABLE : CURSOR_TOO_DEAR;
            show_tooltip(s, t);
        }
        blit_cell(s.tileset, t.imgx, t.imgy, left, top);
    }
    return hovered;
}

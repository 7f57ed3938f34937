#include "app/ingame.h"

#include "app/gameover.h"
#include "app/globals.h"
#include "app/pacing.h"
#include "game/messagebox.h"
#include "game/sim.h"
#include "gfx/screen.h"
#include "platform/log.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

namespace {
const int kButtons = static_cast<int>(sizeof gpbuttons / sizeof gpbuttons[0]);

// A held direction button's unit step in screen coordinates.
const double kDiag = 0.707106781;
const double kDirection[8][2] = {
    {0, -1}, {-kDiag, -kDiag}, {-1, 0}, {-kDiag, kDiag}, {0, 1}, {kDiag, kDiag}, {1, 0}, {kDiag, -kDiag},
};
// When several directions are held, the first of these wins.
const int kDirectionPriority[8] = {0, 7, 6, 5, 4, 3, 2, 1};

// The button's action runs before its flag is set, so the action never sees
// its own button as held.
void press(GameLoop& loop, int button) {
    switch (button) {
    case BUTTON_R:
        game->toggle_sidebar(loop.sidebartoggle);
        loop.sidebartoggle = !loop.sidebartoggle;
        break;
    case BUTTON_A: game->cursorclick(CLICK_STRONGEST); break;
    case BUTTON_B: game->cursorclick(CLICK_PRESS); break;
    case BUTTON_X: game->cursorclick(CLICK_CANCEL); break;
    case BUTTON_Y: game->cursorclick(CLICK_NEXT_WAVE); break;
    case BUTTON_VOLUP: game->cursorclick(CLICK_NEXT_TYPE); break;
    case BUTTON_VOLDOWN: game->cursorclick(CLICK_PREVIOUS_TYPE); break;
    default: break;
    }
    gpbuttons[button] = true;
}
}  // namespace

bool ingame_start(GameLoop& loop, const char* levelname) {
    log_line("debuggiversio!!!");
    delete game;
    game = nullptr;
    game = new Sim();
    box.clear();
    // The loading screen draws the bar, so it is needed before the level.
    game->set_bar("img/bar.bmp");
    game->set_cursor("img/cursor.bmp");
    std::snprintf(loop.levelpath, sizeof loop.levelpath, "levels/%s", levelname);
    for (bool& held : gpbuttons) held = false;
    loop.sidebartoggle = false;
    loop.backtomenu = false;
    if (!game->load_level(loop.levelpath)) {
        loop.backtomenu = true;
        return false;
    }
    // Whatever the player did while the level loaded is dropped, except a
    // close of the window: the player asked to leave, and that always wins.
    SDL_Event stale;
    if (platform_poll_event(&stale) && stale.type == SDL_QUIT) std::exit(0);
    return true;
}

void ingame_handle_event(GameLoop& loop, const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: {
        // Only joystick 0 is the console's buttons, and only its 20 buttons
        // have flags: anything else is not ours to act on.
        int button = event.jbutton.button;
        if (event.jbutton.which != 0 || button >= kButtons) break;
        if (event.type == SDL_JOYBUTTONDOWN)
            press(loop, button);
        else
            gpbuttons[button] = false;
        break;
    }
    case SDL_QUIT:
        std::exit(0);
    default:
        break;
    }
}

void cursor_step() {
    int held = -1;
    for (int button : kDirectionPriority) {
        if (gpbuttons[button]) {
            held = button;
            break;
        }
    }
    if (held < 0) {
        cursorspeed = 0.0;
        return;
    }
    cursorspeed = cursorspeed + 0.5 < 7.0 ? cursorspeed + 0.5 : 7.0;
    game->addcursor(static_cast<int>(kDirection[held][0] * cursorspeed),
                    static_cast<int>(kDirection[held][1] * cursorspeed));
}

void ingame_frame(GameLoop& loop) {
    bool alive = game->step();
    game->render();
    box.step();
    box.render();
    update_screen();
    if (!alive) {
        gameover_screen();
        loop.backtomenu = true;
    }
    frame_pacing(33);
    SDL_Event event;
    while (platform_poll_event(&event)) ingame_handle_event(loop, event);
    if (gpbuttons[BUTTON_START] && gpbuttons[BUTTON_SELECT]) {
        loop.backtomenu = true;
        return;
    }
    cursor_step();
}

void run_game(const char* levelname) {
    GameLoop loop;
    ingame_start(loop, levelname);
    while (!loop.backtomenu) ingame_frame(loop);
}

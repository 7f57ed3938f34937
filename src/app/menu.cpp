#include "app/menu.h"

#include "app/globals.h"
#include "app/pacing.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "platform/platform.h"

#include <dirent.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
const int kListTop = 120;  // top edge of row 0
const int kRowStep = 14;
const char* const kInstructions = "Level selector:#Press START to quit#B to select a level#Y to see help";

[[noreturn]] void no_levels_notice() {
    draw_text_at(width / 2, height / 2, "You don't have any levels!", 1, 1);
    update_screen();
    clock_delay(2000);
    std::exit(0);
}

void press(Menu& menu, int button) {
    int count = menu.list.levelcount;
    // Once help is asked for it stands for the rest of the pass: moving the
    // highlight afterwards must not turn it into a row or into -1.
    bool help = menu.selection == HELP_CHOSEN;
    switch (button) {
    case BUTTON_UP:
        if (!help && count > 0) menu.selection = menu.selection > 0 ? menu.selection - 1 : count - 1;
        break;
    case BUTTON_DOWN:
        if (!help && count > 0) menu.selection = menu.selection < count - 1 ? menu.selection + 1 : 0;
        break;
    case BUTTON_B:
        menu.chosen = true;
        break;
    case BUTTON_Y:
        menu.selection = HELP_CHOSEN;
        menu.chosen = true;
        break;
    case BUTTON_START:
        std::exit(0);
    default:
        break;
    }
}
}  // namespace

void scan_levels(LevelList& list, const char* dir) {
    list.levelcount = 0;
    DIR* d = opendir(dir);
    if (d == nullptr) {
        log_line("Cannot read the level directory %s: %s", dir, std::strerror(errno));
        return;
    }
    const int slots = static_cast<int>(sizeof list.levelnames / sizeof list.levelnames[0]);
    const size_t field = sizeof list.levelnames[0];
    struct dirent* entry;
    while (list.levelcount < slots && (entry = readdir(d)) != nullptr) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        if (std::strlen(name) >= field) {
            // A cut name would name no directory, so it could never load.
            log_line("Skipping %s/%s: a level name has at most %d characters", dir, name, static_cast<int>(field) - 1);
            continue;
        }
        std::strcpy(list.levelnames[list.levelcount], name);
        list.levelcount++;
    }
    closedir(d);
}

void menu_enter(Menu& menu) {
    scan_levels(menu.list, "levels");
    menu.selection = 0;
    menu.chosen = false;
}

void menu_draw(const Menu& menu) {
    // No lock around the drawing: it is all blits and fills, and SDL refuses
    // to blit onto a locked surface.
    apply_surface(0, 0, mainmenu, screen);
    multiline_draw_text(2, height - 14, kInstructions, false, true);
    Uint32 red = SDL_MapRGB(screen->format, 255, 0, 0);
    for (int i = 0; i < menu.list.levelcount; i++) {
        int top = kListTop + kRowStep * i;
        if (top >= height) break;  // rows below the screen are selectable but not visible
        const char* name = menu.list.levelnames[i];
        int n = static_cast<int>(std::strlen(name));
        if (i == menu.selection) {
            SDL_Rect bar = {static_cast<Sint16>(width / 2 - (kGlyphWidth * n) / 2 - 10), static_cast<Sint16>(top),
                            static_cast<Uint16>(kGlyphWidth * n + 20), kGlyphHeight};
            SDL_FillRect(screen, &bar, red);
        }
        draw_text_at(width / 2, top + 6, name, 1, 0);
    }
}

void menu_handle_event(Menu& menu, const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEMOTION: {
        int count = menu.list.levelcount;
        if (menu.selection == HELP_CHOSEN || count == 0) break;
        int row = (static_cast<int>(event.motion.y) - kListTop) / kRowStep;  // truncates toward zero
        if (row < 0) row = 0;
        if (row > count - 1) row = count - 1;
        menu.selection = row;
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button != SDL_BUTTON_LEFT) menu.selection = HELP_CHOSEN;
        menu.chosen = true;
        break;
    case SDL_JOYBUTTONDOWN:
        if (event.jbutton.which == 0) press(menu, event.jbutton.button);
        break;
    case SDL_QUIT:
        std::exit(0);
    default:
        break;
    }
}

void menu_pass(Menu& menu) {
    menu_draw(menu);
    if (menu.list.levelcount == 0) no_levels_notice();
    update_screen();
    frame_pacing(33);
    SDL_Event event;
    while (platform_poll_event(&event)) menu_handle_event(menu, event);
}

int run_menu(Menu& menu) {
    menu_enter(menu);
    while (!menu.chosen) menu_pass(menu);
    SDL_ShowCursor(0);
    return menu.selection;
}

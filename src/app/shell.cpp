#include "app/shell.h"

#include "app/help_screen.h"
#include "app/ingame.h"
#include "app/menu.h"

namespace {
// 10 KB of names: kept off the console's small stack.
Menu menu;
}  // namespace

void shell_loop() {
    for (;;) {
        int choice = run_menu(menu);
        if (choice == HELP_CHOSEN)
            help_screen();
        else if (choice >= 0 && choice < menu.list.levelcount)
            run_game(menu.list.levelnames[choice]);
    }
}

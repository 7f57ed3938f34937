#include "platform/platform.h"

#include <unistd.h>

// The console's own menu program replaces this process; the same call runs on
// every build (the desktop has no such program).
// Where it is missing, execl returns and the caller carries on with its exit.
void platform_exec_console_menu() {
    if (chdir("/usr/gp2x") != 0) {
        // Nothing to do: execl below fails the same way and we fall through.
    }
    execl("/usr/gp2x/gp2xmenu", "/usr/gp2x/gp2xmenu", static_cast<char*>(nullptr));
}

// The shell loop: the level menu, then the help screen or a game, then the
// menu again, for the life of the process.
#pragma once

[[noreturn]] void shell_loop();

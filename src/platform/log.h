// The game's log on standard output: whole lines, each flushed at once, so
// what was printed is there even when the process ends the hard way.
#pragma once

void log_line(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Reading level.txt one physical line at a time, never more than fits.
#pragma once

#include <cstdio>

// A line of a level file holds at most this many characters.
const int kLevelLineMax = 199;

enum class LevelLine {
    Text,     // a line of at most kLevelLineMax characters is in the buffer
    TooLong,  // the line was longer; it was read up to its line feed and dropped
    End,      // the file ended before any character
};

// Reads up to and including the next line feed, which is not stored. The
// buffer is always terminated. A last line without a line feed still counts.
LevelLine read_level_line(FILE* file, char (&line)[kLevelLineMax + 1]);

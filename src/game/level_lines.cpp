#include "game/level_lines.h"

LevelLine read_level_line(FILE* file, char (&line)[kLevelLineMax + 1]) {
    int length = 0;
    bool any = false;
    bool toolong = false;
    for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
        any = true;
        if (c == '\n') break;
        // The rest of an overlong line is swallowed here, so it never comes
        // back as lines of its own.
        if (length == kLevelLineMax) toolong = true;
        else line[length++] = static_cast<char>(c);
    }
    line[toolong ? 0 : length] = '\0';
    if (!any) return LevelLine::End;
    return toolong ? LevelLine::TooLong : LevelLine::Text;
}

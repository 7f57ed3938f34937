// Character-grid sprites: one character per pixel, '.' for see-through,
// any other character looked up in the palette.
#pragma once

#include "palette.h"
#include "source_text.h"

#include <map>
#include <string>
#include <vector>

struct Grid {
    std::string name;
    std::string file;
    int line = 0; // where "grid NAME" stands
    int width = 0;
    int height = 0;
    std::vector<std::string> rows;
};

// Reads the rows of a "grid NAME" block. 'next' indexes the line after the
// header and is left after the closing "end". Every row must be as wide as
// the first, and every character '.' or in the palette.
Grid parse_grid_block(const SourceFile& src, size_t& next, const std::string& name, int header_line,
                      const Palette& palette);

using GridBook = std::map<std::string, Grid>;

// Adds a grid, refusing a name that is already taken anywhere.
void add_grid(GridBook& book, Grid grid);

// Loads every *.txt under 'dir' (in name order); each holds grid blocks and
// comments only.
GridBook load_grid_dir(const std::string& dir, const Palette& palette);

// Pictures described in our small scene language (see art/README.md):
// one command per line, drawn in order onto a canvas of fixed size.
#pragma once

#include "font.h"
#include "grid.h"
#include "image.h"
#include "palette.h"

#include <string>

struct ArtKit {
    const Palette& palette;
    const Font& font;
    const GridBook& grids; // shared sprites from art/sprites
};

// Throws SourceError (file:line) on anything it cannot draw exactly as
// written: unknown commands, options, colours or sprites, text that leaves
// the canvas or runs into the next table column.
Image render_scene(const std::string& path, const ArtKit& kit);

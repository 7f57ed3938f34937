// The text-drawing scene commands: "text", and the "lines" and "table"
// blocks whose content lines are drawn verbatim.
#pragma once

#include "scene.h"
#include "source_text.h"

#include <vector>

struct SceneCanvas {
    const ArtKit& kit;
    const SourceFile& src;
    Image& image;
};

// text X Y "words" [options]
void scene_text(SceneCanvas& canvas, const SourceLine& line, const std::vector<Word>& words);

// lines X Y [options] ... end   -- one text line per content line
void scene_lines(SceneCanvas& canvas, const SourceLine& header, const std::vector<Word>& words, size_t& next);

// table X Y tabs=... [options] ... end   -- rows written "| a | b | c |",
// "<br>" splitting a cell over several lines
void scene_table(SceneCanvas& canvas, const SourceLine& header, const std::vector<Word>& words, size_t& next);

// The "key=value" and bare-flag options that follow a scene command's
// positional words. Unknown or unused options are errors, so a typo such as
// "scael=2" never silently draws the wrong picture.
#pragma once

#include "draw_ops.h"
#include "palette.h"
#include "source_text.h"

#include <map>
#include <set>
#include <string>
#include <vector>

using RecolourSets = std::map<std::string, ColourMap>;

class Options {
public:
    // Splits words[first..] into options; 'allowed' lists the accepted keys.
    Options(const std::string& file, int line, const std::vector<Word>& words, size_t first,
            const std::set<std::string>& allowed);

    bool has(const std::string& key) const { return values_.count(key) > 0; }
    std::string text(const std::string& key, const std::string& fallback) const;
    int number(const std::string& key, int fallback, int min, int max) const;
    Rgb colour(const std::string& key, Rgb fallback, const Palette& palette) const;
    // "a,b,c" as whole numbers.
    std::vector<int> numbers(const std::string& key) const;
    // "map=g:l,G:#102030,winter": character pairs and/or named sets.
    ColourMap colour_map(const Palette& palette, const RecolourSets& sets) const;

private:
    std::string file_;
    int line_;
    std::map<std::string, std::string> values_; // a bare flag maps to ""
};

// One "from:to" pair, as used by map= and by 'recolor'.
void parse_recolour_pair(const std::string& file, int line, const std::string& pair, const Palette& palette,
                         ColourMap& out);

// The one palette all our art shares. Each colour has a name (used in
// pictures) and usually a single character (used in sprite grids).
#pragma once

#include "image.h"

#include <map>
#include <optional>
#include <string>

class Palette {
public:
    // Format, one colour per line:   CHAR NAME #rrggbb
    // CHAR '-' gives a name-only colour that grids cannot use.
    static Palette load(const std::string& path);

    std::optional<Rgb> by_char(char c) const;
    // A colour word: a grid character, a palette name or #rrggbb.
    std::optional<Rgb> parse(const std::string& word) const;
    // Same, but throws SourceError naming the word when it is not a colour.
    Rgb require(const std::string& file, int line, const std::string& word) const;

    // Characters with a meaning of their own in our sources.
    static bool is_reserved_char(char c);

private:
    std::map<char, Rgb> chars_;
    std::map<std::string, Rgb> names_;
};

std::optional<Rgb> parse_hex_colour(const std::string& word);

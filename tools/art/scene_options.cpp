#include "scene_options.h"

#include "source_error.h"

#include <sstream>

static std::vector<std::string> split_commas(const std::string& s) {
    std::vector<std::string> parts;
    std::stringstream in(s);
    std::string part;
    while (std::getline(in, part, ',')) parts.push_back(part);
    return parts;
}

static std::string join(const std::set<std::string>& words) {
    std::string list;
    for (const auto& w : words) list += (list.empty() ? "" : ", ") + w;
    return list.empty() ? "none" : list;
}

Options::Options(const std::string& file, int line, const std::vector<Word>& words, size_t first,
                 const std::set<std::string>& allowed)
    : file_(file), line_(line) {
    for (size_t i = first; i < words.size(); ++i) {
        const std::string& w = words[i].text;
        size_t eq = w.find('=');
        std::string key = w.substr(0, eq);
        if (words[i].quoted || !allowed.count(key))
            throw SourceError(file, line, "unexpected '" + w + "' (options here: " + join(allowed) + ")");
        if (values_.count(key)) throw SourceError(file, line, "option '" + key + "' given twice");
        values_[key] = eq == std::string::npos ? std::string() : w.substr(eq + 1);
    }
}

std::string Options::text(const std::string& key, const std::string& fallback) const {
    auto it = values_.find(key);
    return it == values_.end() ? fallback : it->second;
}

int Options::number(const std::string& key, int fallback, int min, int max) const {
    if (!has(key)) return fallback;
    int v = parse_int(file_, line_, text(key, ""), key);
    if (v < min || v > max)
        throw SourceError(file_, line_, key + " must be between " + std::to_string(min) + " and " + std::to_string(max));
    return v;
}

Rgb Options::colour(const std::string& key, Rgb fallback, const Palette& palette) const {
    if (!has(key)) return fallback;
    std::string word = text(key, "");
    if (word.empty()) throw SourceError(file_, line_, key + " needs a colour, e.g. " + key + "=white");
    return palette.require(file_, line_, word);
}

std::vector<int> Options::numbers(const std::string& key) const {
    std::vector<int> out;
    for (const std::string& part : split_commas(text(key, ""))) out.push_back(parse_int(file_, line_, part, key));
    return out;
}

void parse_recolour_pair(const std::string& file, int line, const std::string& pair, const Palette& palette,
                         ColourMap& out) {
    if (pair.size() < 3 || pair[1] != ':')
        throw SourceError(file, line, "recolouring '" + pair + "' must look like CHAR:COLOUR, e.g. g:#30a040");
    if (!palette.by_char(pair[0]))
        throw SourceError(file, line, std::string("'") + pair[0] + "' is not a palette character");
    out[pair[0]] = palette.require(file, line, pair.substr(2));
}

ColourMap Options::colour_map(const Palette& palette, const RecolourSets& sets) const {
    ColourMap map;
    if (!has("map")) return map;
    for (const std::string& part : split_commas(text("map", ""))) {
        if (part.find(':') != std::string::npos) {
            parse_recolour_pair(file_, line_, part, palette, map);
            continue;
        }
        auto it = sets.find(part);
        if (it == sets.end()) throw SourceError(file_, line_, "no recolor set named '" + part + "'");
        for (const auto& [from, to] : it->second) map[from] = to;
    }
    return map;
}

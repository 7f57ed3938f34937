#include "palette.h"

#include "source_error.h"
#include "source_text.h"

#include <cctype>

std::optional<Rgb> parse_hex_colour(const std::string& word) {
    if (word.size() != 7 || word[0] != '#') return std::nullopt;
    for (size_t i = 1; i < 7; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(word[i]))) return std::nullopt;
    auto byte = [&](size_t i) { return static_cast<std::uint8_t>(std::stoi(word.substr(i, 2), nullptr, 16)); };
    return Rgb{byte(1), byte(3), byte(5)};
}

bool Palette::is_reserved_char(char c) {
    // '.' is transparency, the rest are separators in scene options.
    return c == '.' || c == '#' || c == '-' || c == ':' || c == ',' || c == '=' || c == '"' || c == '|' ||
           !std::isgraph(static_cast<unsigned char>(c));
}

Palette Palette::load(const std::string& path) {
    SourceFile src = read_source(path);
    Palette pal;
    for (const SourceLine& line : src.lines) {
        std::vector<Word> words = split_words(path, line);
        if (words.empty()) continue;
        if (words.size() != 3)
            throw SourceError(path, line.number, "expected 'CHAR NAME #rrggbb', got " +
                                                     std::to_string(words.size()) + " words");
        const std::string& ch = words[0].text;
        const std::string& name = words[1].text;
        std::optional<Rgb> colour = parse_hex_colour(words[2].text);
        if (!colour) throw SourceError(path, line.number, "colour must look like #rrggbb, got '" + words[2].text + "'");
        if (name.size() < 2) throw SourceError(path, line.number, "colour names need at least two letters");
        if (pal.names_.count(name)) throw SourceError(path, line.number, "colour name '" + name + "' used twice");
        pal.names_[name] = *colour;
        if (ch == "-") continue;
        if (ch.size() != 1 || is_reserved_char(ch[0]))
            throw SourceError(path, line.number, "'" + ch + "' cannot be a grid character (one printable character, not . # - : , = \" |)");
        if (pal.chars_.count(ch[0])) throw SourceError(path, line.number, "character '" + ch + "' used twice");
        if (*colour == kKeyBlue || *colour == kKeyMagenta)
            throw SourceError(path, line.number, "pure blue and magenta are the game's transparency keys; give '" +
                                                     name + "' a name-only entry ('-')");
        pal.chars_[ch[0]] = *colour;
    }
    return pal;
}

std::optional<Rgb> Palette::by_char(char c) const {
    auto it = chars_.find(c);
    if (it == chars_.end()) return std::nullopt;
    return it->second;
}

std::optional<Rgb> Palette::parse(const std::string& word) const {
    if (word.size() == 1) return by_char(word[0]);
    if (auto hex = parse_hex_colour(word)) return hex;
    auto it = names_.find(word);
    if (it == names_.end()) return std::nullopt;
    return it->second;
}

Rgb Palette::require(const std::string& file, int line, const std::string& word) const {
    if (auto c = parse(word)) return *c;
    throw SourceError(file, line, "unknown colour '" + word + "' (use a palette character, name or #rrggbb)");
}

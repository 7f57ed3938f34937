#include "source_text.h"

#include "source_error.h"

#include <cctype>
#include <fstream>

SourceFile read_source(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SourceError(path, 0, "cannot open file");
    SourceFile file;
    file.path = path;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        file.lines.push_back({number, text});
    }
    return file;
}

std::string trim_blanks(const std::string& text) {
    size_t a = text.find_first_not_of(" \t");
    if (a == std::string::npos) return {};
    size_t b = text.find_last_not_of(" \t");
    return text.substr(a, b - a + 1);
}

bool is_blank_or_comment(const std::string& text) {
    for (char c : text) {
        if (c == '#') return true;
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// Colours are written #rrggbb, so inside a line only a lone '#' (followed by
// a blank or the line end) starts a comment.
static bool starts_comment(const std::string& s, size_t i) {
    return s[i] == '#' && (i + 1 == s.size() || std::isspace(static_cast<unsigned char>(s[i + 1])));
}

std::vector<Word> split_words(const std::string& file, const SourceLine& line) {
    std::vector<Word> words;
    const std::string& s = line.text;
    size_t i = 0;
    while (i < s.size()) {
        if (std::isspace(static_cast<unsigned char>(s[i]))) {
            ++i;
            continue;
        }
        if (starts_comment(s, i) || (words.empty() && s[i] == '#')) break;
        Word word;
        if (s[i] == '"') {
            word.quoted = true;
            ++i;
            bool closed = false;
            while (i < s.size()) {
                char c = s[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < s.size()) c = s[i++];
                word.text += c;
            }
            if (!closed) throw SourceError(file, line.number, "missing closing '\"'");
        } else {
            while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) word.text += s[i++];
        }
        words.push_back(word);
    }
    return words;
}

int parse_int(const std::string& file, int line, const std::string& text, const std::string& what) {
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size())
        throw SourceError(file, line, what + " must be a whole number, got '" + text + "'");
    return value;
}

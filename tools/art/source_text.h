// Reading our text sources: whole files as numbered lines, and lines split
// into words where "double quoted" text may contain spaces.
#pragma once

#include <string>
#include <vector>

struct SourceLine {
    int number = 0;   // 1-based, as editors show it
    std::string text; // without the line ending
};

struct SourceFile {
    std::string path;
    std::vector<SourceLine> lines;
};

// Throws SourceError if the file cannot be read.
SourceFile read_source(const std::string& path);

struct Word {
    std::string text;
    bool quoted = false;
};

// Splits on blanks; "..." makes one word (\" and \\ escape inside quotes).
// A lone '#' (or one at the start of the line) begins a comment. Throws
// SourceError on an unterminated quote.
std::vector<Word> split_words(const std::string& file, const SourceLine& line);

// The text without leading and trailing blanks and tabs.
std::string trim_blanks(const std::string& text);

// True for lines that hold nothing but blanks or a comment.
bool is_blank_or_comment(const std::string& text);

// Strict number parsing with a readable error naming what was expected.
int parse_int(const std::string& file, int line, const std::string& text, const std::string& what);

#include "grid.h"

#include "source_error.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

Grid parse_grid_block(const SourceFile& src, size_t& next, const std::string& name, int header_line,
                      const Palette& palette) {
    Grid grid;
    grid.name = name;
    grid.file = src.path;
    grid.line = header_line;
    for (; next < src.lines.size(); ++next) {
        const SourceLine& line = src.lines[next];
        std::string row = trim_blanks(line.text);
        if (row == "end") {
            ++next;
            if (grid.rows.empty()) throw SourceError(src.path, header_line, "grid '" + name + "' has no rows");
            grid.height = static_cast<int>(grid.rows.size());
            return grid;
        }
        if (row.empty()) throw SourceError(src.path, line.number, "empty row in grid '" + name + "' (close it with 'end')");
        if (grid.rows.empty()) grid.width = static_cast<int>(row.size());
        if (static_cast<int>(row.size()) != grid.width)
            throw SourceError(src.path, line.number,
                              "row is " + std::to_string(row.size()) + " characters wide, grid '" + name + "' is " +
                                  std::to_string(grid.width) + " wide");
        for (size_t col = 0; col < row.size(); ++col) {
            char c = row[col];
            if (c != '.' && !palette.by_char(c))
                throw SourceError(src.path, line.number,
                                  std::string("unknown palette character '") + c + "' in column " +
                                      std::to_string(col + 1) + " of grid '" + name + "'");
        }
        grid.rows.push_back(row);
    }
    throw SourceError(src.path, header_line, "grid '" + name + "' is missing its closing 'end'");
}

void add_grid(GridBook& book, Grid grid) {
    auto it = book.find(grid.name);
    if (it != book.end())
        throw SourceError(grid.file, grid.line,
                          "grid '" + grid.name + "' is already defined at " + it->second.file + ":" +
                              std::to_string(it->second.line));
    std::string name = grid.name;
    book.emplace(name, std::move(grid));
}

GridBook load_grid_dir(const std::string& dir, const Palette& palette) {
    std::vector<fs::path> files;
    if (fs::is_directory(dir))
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file() && entry.path().extension() == ".txt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    GridBook book;
    for (const fs::path& path : files) {
        SourceFile src = read_source(path.string());
        for (size_t i = 0; i < src.lines.size();) {
            const SourceLine& line = src.lines[i++];
            std::vector<Word> words = split_words(src.path, line);
            if (words.empty()) continue;
            if (words[0].text != "grid" || words.size() != 2)
                throw SourceError(src.path, line.number, "expected 'grid NAME' to start a sprite");
            add_grid(book, parse_grid_block(src, i, words[1].text, line.number, palette));
        }
    }
    return book;
}

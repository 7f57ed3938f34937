#include "scene_text.h"

#include "scene_options.h"
#include "source_error.h"

#include <algorithm>

namespace {

const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};

// Collects the raw lines of a block up to its "end".
std::vector<const SourceLine*> block_lines(const SourceFile& src, const SourceLine& header, size_t& next) {
    std::vector<const SourceLine*> lines;
    for (; next < src.lines.size(); ++next) {
        if (trim_blanks(src.lines[next].text) == "end") {
            ++next;
            return lines;
        }
        lines.push_back(&src.lines[next]);
    }
    throw SourceError(src.path, header.number, "block is missing its closing 'end'");
}

struct Look {
    TextStyle style;
    Rgb top = kWhite, bottom = kWhite;
    std::string align = "left";
};

const std::set<std::string> kLookKeys{"color", "gradient", "scale", "align", "shadow", "outline", "bold"};

Look read_look(const Options& opt, const Palette& palette, const std::string& file, int line) {
    Look look;
    look.top = look.bottom = opt.colour("color", kWhite, palette);
    if (opt.has("gradient")) {
        std::string g = opt.text("gradient", "");
        size_t comma = g.find(',');
        if (comma == std::string::npos)
            throw SourceError(file, line, "gradient needs two colours, e.g. gradient=yellow,orange");
        look.top = palette.require(file, line, g.substr(0, comma));
        look.bottom = palette.require(file, line, g.substr(comma + 1));
    }
    look.style.scale = opt.number("scale", 1, 1, 16);
    look.style.shadow = opt.has("shadow");
    look.style.shadow_colour = opt.text("shadow", "").empty() ? kBlack : opt.colour("shadow", kBlack, palette);
    look.style.outline = opt.has("outline");
    look.style.outline_colour = opt.colour("outline", kBlack, palette);
    look.style.bold = opt.has("bold");
    look.align = opt.text("align", "left");
    if (look.align != "left" && look.align != "center" && look.align != "right")
        throw SourceError(file, line, "align must be left, center or right");
    return look;
}

// "{C}" switches to colour C, "{}" back to the line's own colour, "{{" is a
// literal brace. Text is UTF-8 in the source, Latin-1 in the font.
std::vector<TextRun> parse_markup(const std::string& file, int line, const std::string& text, const Look& look,
                                  const Palette& palette) {
    std::vector<TextRun> runs(1);
    runs.back().top = look.top;
    runs.back().bottom = look.bottom;
    std::string pending;
    auto flush = [&](Rgb top, Rgb bottom) {
        std::string latin1;
        if (!utf8_to_latin1(pending, latin1))
            throw SourceError(file, line, "text has a character the font lacks (only Latin-1 is available)");
        runs.back().latin1 = latin1;
        pending.clear();
        runs.push_back(TextRun{"", top, bottom});
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '{') {
            pending += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '{') {
            pending += '{';
            ++i;
        } else {
            size_t close = text.find('}', i);
            if (close == std::string::npos) throw SourceError(file, line, "'{' without '}' (write '{{' for a brace)");
            std::string word = text.substr(i + 1, close - i - 1);
            Rgb c = word.empty() ? look.top : palette.require(file, line, word);
            flush(c, word.empty() ? look.bottom : c);
            i = close;
        }
    }
    flush(look.top, look.bottom);
    runs.pop_back();
    return runs;
}

int runs_width(const std::vector<TextRun>& runs, int scale) {
    int w = 0;
    for (const TextRun& r : runs) w += text_width(r.latin1, scale);
    return w;
}

// Draws one line of marked-up text, refusing any that would leave the picture.
void draw_line(SceneCanvas& canvas, int line, int x, int y, const std::string& text, const Look& look) {
    std::vector<TextRun> runs = parse_markup(canvas.src.path, line, text, look, canvas.kit.palette);
    const int scale = look.style.scale;
    const int w = runs_width(runs, scale);
    int left = x;
    if (look.align == "center") left = x - w / 2;
    if (look.align == "right") left = x - w;
    const int h = Font::kCellH * scale;
    if (left < 0 || y < 0 || left + w > canvas.image.width() || y + h > canvas.image.height())
        throw SourceError(canvas.src.path, line,
                          "text covers x " + std::to_string(left) + ".." + std::to_string(left + w - 1) + ", y " +
                              std::to_string(y) + ".." + std::to_string(y + h - 1) + ": off the " +
                              std::to_string(canvas.image.width()) + "x" + std::to_string(canvas.image.height()) +
                              " picture");
    draw_text(canvas.image, canvas.kit.font, left, y, runs, look.style);
}

// "| a | b<br>c |" -> {{"a"}, {"b", "c"}}: the cells of a table row, each
// split at "<br>" into the lines it spans.
std::vector<std::vector<std::string>> split_row(std::string row) {
    if (!row.empty() && row.front() == '|') row.erase(0, 1);
    if (!row.empty() && row.back() == '|') row.pop_back();
    std::vector<std::vector<std::string>> cells;
    size_t start = 0;
    while (true) {
        size_t bar = row.find('|', start);
        std::string cell = row.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        std::vector<std::string> lines;
        size_t from = 0;
        for (size_t br; (br = cell.find("<br>", from)) != std::string::npos; from = br + 4)
            lines.push_back(trim_blanks(cell.substr(from, br - from)));
        lines.push_back(trim_blanks(cell.substr(from)));
        cells.push_back(lines);
        if (bar == std::string::npos) return cells;
        start = bar + 1;
    }
}

int positional(const SceneCanvas& canvas, int line, const std::vector<Word>& words, size_t i, const char* what) {
    return parse_int(canvas.src.path, line, words[i].text, what);
}

} // namespace

void scene_text(SceneCanvas& canvas, const SourceLine& line, const std::vector<Word>& words) {
    const std::string& file = canvas.src.path;
    if (words.size() < 4 || !words[3].quoted) throw SourceError(file, line.number, "expected: text X Y \"words\" [options]");
    Options opt(file, line.number, words, 4, kLookKeys);
    Look look = read_look(opt, canvas.kit.palette, file, line.number);
    draw_line(canvas, line.number, positional(canvas, line.number, words, 1, "x"),
              positional(canvas, line.number, words, 2, "y"), words[3].text, look);
}

void scene_lines(SceneCanvas& canvas, const SourceLine& header, const std::vector<Word>& words, size_t& next) {
    const std::string& file = canvas.src.path;
    if (words.size() < 3) throw SourceError(file, header.number, "expected: lines X Y [options], then text lines, then end");
    std::set<std::string> keys = kLookKeys;
    keys.insert("lineheight");
    Options opt(file, header.number, words, 3, keys);
    Look look = read_look(opt, canvas.kit.palette, file, header.number);
    const int step = opt.number("lineheight", Font::kCellH * look.style.scale, 1, 1000);
    const int x = positional(canvas, header.number, words, 1, "x");
    int y = positional(canvas, header.number, words, 2, "y");
    for (const SourceLine* l : block_lines(canvas.src, header, next)) {
        std::string text = l->text;
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
        if (!text.empty()) draw_line(canvas, l->number, x, y, text, look);
        y += step;
    }
}

void scene_table(SceneCanvas& canvas, const SourceLine& header, const std::vector<Word>& words, size_t& next) {
    const std::string& file = canvas.src.path;
    const Palette& pal = canvas.kit.palette;
    if (words.size() < 3) throw SourceError(file, header.number, "expected: table X Y tabs=... [options], rows, end");
    Options opt(file, header.number, words, 3,
                {"tabs", "rowheight", "color", "header", "rule", "stripe", "width", "shadow"});
    const int x = positional(canvas, header.number, words, 1, "x");
    int y = positional(canvas, header.number, words, 2, "y");
    std::vector<int> tabs = opt.numbers("tabs");
    if (tabs.empty() || !std::is_sorted(tabs.begin(), tabs.end()) || tabs.front() < 0)
        throw SourceError(file, header.number, "tabs= lists column offsets from x in increasing order, e.g. tabs=0,110,190");
    const int row_h = opt.number("rowheight", Font::kCellH, 1, 1000);
    const int width = opt.number("width", canvas.image.width() - 2 * x, 1, 10000);
    const Rgb body = opt.colour("color", kWhite, pal);

    Look look;
    look.style.shadow = opt.has("shadow");
    look.style.shadow_colour = opt.text("shadow", "").empty() ? kBlack : opt.colour("shadow", kBlack, pal);

    int body_row = 0;
    bool first = true;
    for (const SourceLine* l : block_lines(canvas.src, header, next)) {
        std::string row = trim_blanks(l->text);
        if (row.empty()) continue;
        std::vector<std::vector<std::string>> cell_lines = split_row(row);
        if (cell_lines.size() > tabs.size())
            throw SourceError(file, l->number, "row has " + std::to_string(cell_lines.size()) + " cells but only " +
                                                   std::to_string(tabs.size()) + " tabs");
        size_t lines_in_row = 1;
        for (const auto& cell : cell_lines) lines_in_row = std::max(lines_in_row, cell.size());
        const int entry_h = row_h * static_cast<int>(lines_in_row);

        const bool is_header = first && opt.has("header");
        look.top = look.bottom = is_header ? opt.colour("header", kWhite, pal) : body;
        if (!is_header && opt.has("stripe") && body_row++ % 2 == 1)
            canvas.image.fill_rect(x - 2, y, width + 4, entry_h, opt.colour("stripe", kBlack, pal));
        for (size_t c = 0; c < cell_lines.size(); ++c) {
            // A column other than the last keeps one blank free before the
            // next, or its words run straight into that column's.
            const bool last = c + 1 >= tabs.size();
            const int room = (last ? width : tabs[c + 1] - text_width(" ", 1)) - tabs[c];
            for (size_t i = 0; i < cell_lines[c].size(); ++i) {
                const std::string& text = cell_lines[c][i];
                std::vector<TextRun> runs = parse_markup(file, l->number, text, look, pal);
                if (runs_width(runs, 1) > room)
                    throw SourceError(file, l->number, "cell text '" + text + "' is " +
                                                           std::to_string(runs_width(runs, 1)) +
                                                           " px wide but its column has " + std::to_string(room) +
                                                           " px" + (last ? "" : " before the blank that ends it"));
                draw_line(canvas, l->number, x + tabs[c], y + static_cast<int>(i) * row_h, text, look);
            }
        }
        y += entry_h;
        if (is_header && opt.has("rule")) {
            canvas.image.fill_rect(x - 2, y, width + 4, 1, opt.colour("rule", kWhite, pal));
            y += 2;
        }
        first = false;
    }
}

#include "font.h"

#include "source_error.h"
#include "source_text.h"

#include <algorithm>
#include <sstream>

Font Font::load(const std::string& path) {
    SourceFile src = read_source(path);
    Font font;
    std::array<bool, 256> seen{};
    for (size_t i = 0; i < src.lines.size();) {
        const SourceLine& line = src.lines[i++];
        if (is_blank_or_comment(line.text)) continue;
        // "char N" and then, for people reading the file, the glyph itself.
        std::istringstream header(line.text);
        std::string keyword, number;
        header >> keyword >> number;
        if (keyword != "char" || number.empty())
            throw SourceError(path, line.number, "expected 'char N' to start a glyph");
        int code = parse_int(path, line.number, number, "character code");
        if (code < 0 || code > 255) throw SourceError(path, line.number, "character code must be 0..255");
        if (seen[code]) throw SourceError(path, line.number, "character " + std::to_string(code) + " defined twice");
        seen[code] = true;
        for (int y = 0; y < kCellH; ++y, ++i) {
            if (i >= src.lines.size()) throw SourceError(path, line.number, "glyph needs 12 rows");
            const SourceLine& row = src.lines[i];
            if (row.text.size() != kCellW)
                throw SourceError(path, row.number, "glyph row must be 6 characters of '#' or '.'");
            for (int x = 0; x < kCellW; ++x) {
                char c = row.text[x];
                if (c != '#' && c != '.') throw SourceError(path, row.number, "glyph rows hold only '#' and '.'");
                if (c == '#') font.rows_[code][y] |= static_cast<std::uint8_t>(1u << x);
            }
        }
    }
    for (int c = 0; c < 256; ++c)
        if (!seen[c]) throw SourceError(path, 0, "character " + std::to_string(c) + " is missing");
    return font;
}

Image Font::sheet(Rgb ink_colour, Rgb paper) const {
    Image img(256 * kCellW, kCellH, paper);
    for (int c = 0; c < 256; ++c)
        for (int y = 0; y < kCellH; ++y)
            for (int x = 0; x < kCellW; ++x)
                if (ink(static_cast<unsigned char>(c), x, y)) img.plot(c * kCellW + x, y, ink_colour);
    return img;
}

bool utf8_to_latin1(const std::string& text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c & 0xe0) == 0xc0 && i + 1 < text.size()) {
            unsigned char d = static_cast<unsigned char>(text[++i]);
            if ((d & 0xc0) != 0x80) return false;
            unsigned code = ((c & 0x1fu) << 6) | (d & 0x3fu);
            if (code > 0xff || code < 0x80) return false;
            out += static_cast<char>(code);
        } else {
            return false;
        }
    }
    return true;
}

int text_width(const std::string& latin1, int scale) {
    return static_cast<int>(latin1.size()) * Font::kCellW * scale;
}

namespace {

// Calls f(px, py, fy) for every ink pixel of the text at the given offset,
// where fy is the font row (used for gradients).
template <typename F>
void for_each_ink(const Font& font, int x, int y, const std::string& s, int scale, int widen, F f) {
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int cx = x + static_cast<int>(i) * Font::kCellW * scale;
        for (int fy = 0; fy < Font::kCellH; ++fy)
            for (int fx = 0; fx < Font::kCellW; ++fx)
                if (font.ink(c, fx, fy))
                    for (int sy = 0; sy < scale; ++sy)
                        for (int sx = 0; sx < scale + widen; ++sx) f(cx + fx * scale + sx, y + fy * scale + sy, fy);
    }
}

} // namespace

void draw_text(Image& image, const Font& font, int x, int y, const std::vector<TextRun>& runs,
               const TextStyle& style) {
    const int scale = std::max(style.scale, 1);
    const int ring = style.outline ? 1 : 0;
    const int widen = style.bold ? std::max(scale / 2, 1) : 0;
    // Every layer covers all runs before the next starts, so a run's shadow
    // never lands on the letters of its neighbour.
    auto each_run = [&](auto draw) {
        int cx = x;
        for (const TextRun& run : runs) {
            draw(run, cx);
            cx += text_width(run.latin1, scale);
        }
    };
    auto stamp = [&](int dx0, int dy0, Rgb colour, int grow) {
        each_run([&](const TextRun& run, int cx) {
            for_each_ink(font, cx + dx0, y + dy0, run.latin1, scale, widen, [&](int px, int py, int) {
                for (int dy = -grow; dy <= grow; ++dy)
                    for (int dx = -grow; dx <= grow; ++dx) image.plot(px + dx, py + dy, colour);
            });
        });
    };
    // Back to front: the shadow (as thick as the outlined text), the
    // outline, then the letters.
    if (style.shadow) stamp(scale, scale, style.shadow_colour, ring);
    if (style.outline) stamp(0, 0, style.outline_colour, ring);
    // Capitals span font rows 3..9, so a gradient runs over exactly those.
    each_run([&](const TextRun& run, int cx) {
        for_each_ink(font, cx, y, run.latin1, scale, widen, [&](int px, int py, int fy) {
            double t = std::clamp((fy - 3) / 6.0, 0.0, 1.0);
            image.plot(px, py, lerp(run.top, run.bottom, t));
        });
    });
}

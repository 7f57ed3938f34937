#include "gfx/text_lines.h"

#include <cstring>

namespace {
// Copies at most linebytes - 1 characters of [begin, end) as a line.
void put_line(TextLines& out, const char* begin, const char* end) {
    size_t len = static_cast<size_t>(end - begin);
    if (len > TextLines::linebytes - 1) len = TextLines::linebytes - 1;
    memcpy(out.line[out.count], begin, len);
    out.line[out.count][len] = '\0';
    out.count++;
}
}  // namespace

void split_text_lines(const char* text, TextLines& out) {
    // The working copy bounds how much of the text is looked at, exactly as
    // if it had been copied into a buffer of workbytes.
    size_t n = strnlen(text, TextLines::workbytes - 1);
    const char* end = text + n;

    out.count = 0;
    const char* p = text;
    while (p < end && out.count < TextLines::maxlines) {
        while (p < end && *p == '#') p++;
        if (p == end) break;
        const char* start = p;
        while (p < end && *p != '#') p++;
        put_line(out, start, p);
    }
    if (out.count == 0) put_line(out, text, end);

    int widest = 0;
    for (int i = 0; i < out.count; i++) {
        int w = kGlyphWidth * static_cast<int>(strlen(out.line[i])) + 2 * kTextMargin;
        if (w > widest) widest = w;
    }
    out.width = static_cast<Uint16>(widest);
    out.height = kGlyphHeight * out.count + 2 * kTextMargin;
}

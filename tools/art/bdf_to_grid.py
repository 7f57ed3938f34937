#!/usr/bin/env python3
"""One-off converter from a BDF font to our editable glyph-grid text form.

The build never runs this: it reads the committed art/font/6x12.txt. Keep the
script so the font can be regenerated or another size added later:

    pcf2bdf /usr/share/fonts/X11/misc/6x12-ISO8859-1.pcf.gz > /tmp/6x12.bdf
    python3 tools/art/bdf_to_grid.py /tmp/6x12.bdf > art/font/6x12.txt

Only printable ASCII (32-126) and Latin-1 (160-255) are kept; control cells
stay blank so stray control bytes never print as garbage in the game.
"""
import sys

CELL_W, CELL_H = 6, 12


def wanted(code):
    return 32 <= code <= 126 or 160 <= code <= 255


def parse_bdf(lines):
    box = None
    glyphs = {}
    i = 0
    while i < len(lines):
        words = lines[i].split()
        if words and words[0] == "FONTBOUNDINGBOX":
            box = tuple(int(v) for v in words[1:5])
        elif words and words[0] == "STARTCHAR":
            code, bbx, rows = None, None, []
            i += 1
            while lines[i].split()[0] != "BITMAP":
                w = lines[i].split()
                if w[0] == "ENCODING":
                    code = int(w[1])
                elif w[0] == "BBX":
                    bbx = tuple(int(v) for v in w[1:5])
                i += 1
            i += 1
            while lines[i].strip() != "ENDCHAR":
                rows.append(int(lines[i].strip(), 16) if lines[i].strip() else 0)
                i += 1
            glyphs[code] = (bbx, rows)
        i += 1
    return box, glyphs


def render(box, bbx, rows):
    fbw, fbh, fbx, fby = box
    w, h, xoff, yoff = bbx
    grid = [["."] * CELL_W for _ in range(CELL_H)]
    ascent = fbh + fby          # baseline sits this many rows below the cell top
    top = ascent - (yoff + h)   # first glyph row, counted from the cell top
    row_bits = ((w + 7) // 8) * 8
    for r, bits in enumerate(rows[:h]):
        y = top + r
        for c in range(w):
            x = xoff - fbx + c
            if bits >> (row_bits - 1 - c) & 1 and 0 <= x < CELL_W and 0 <= y < CELL_H:
                grid[y][x] = "#"
    return ["".join(r) for r in grid]


def main():
    with open(sys.argv[1], encoding="latin-1") as f:
        box, glyphs = parse_bdf(f.read().splitlines())
    out = sys.stdout
    out.write("# misc-fixed 6x12 (ISO 8859-1), public domain, see ATTRIBUTION.md.\n")
    out.write("# One block per byte: 'char N' then 12 rows of 6 cells, top row first.\n")
    out.write("# '#' is ink, '.' is background. Control codes are left blank.\n")
    for code in range(256):
        label = ""
        if 33 <= code <= 126:
            label = " " + chr(code)
        out.write("\nchar %d%s\n" % (code, label))
        if wanted(code) and code in glyphs:
            bbx, rows = glyphs[code]
            grid = render(box, bbx, rows)
        else:
            grid = ["." * CELL_W] * CELL_H
        out.write("\n".join(grid) + "\n")


if __name__ == "__main__":
    main()

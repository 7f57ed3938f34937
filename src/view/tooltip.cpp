// The black, white-framed box of text lines shown over the playfield, e.g.
// the description of the turret type under the cursor.
#include "game/sim.h"

#include "app/globals.h"
#include "gfx/font.h"
#include "gfx/pixels.h"
#include "gfx/text_lines.h"

namespace {
const int kScreenW = 320;
const int kScreenH = 240;
}  // namespace

void Sim::tooltip(int x, int y, const char* text) {
    static TextLines lines;  // 4 KB: kept off the console's small stack
    split_text_lines(text, lines);
    int w = lines.width;
    int h = lines.height;

    // Keep the box on the screen; one larger than the screen stands at 0.
    if (x > kScreenW - w) x = kScreenW - w;
    if (x < 0) x = 0;
    if (y > kScreenH - h) y = kScreenH - h;
    if (y < 0) y = 0;

    SDL_Rect box;
    box.x = static_cast<Sint16>(x);
    box.y = static_cast<Sint16>(y);
    box.w = static_cast<Uint16>(w);
    box.h = static_cast<Uint16>(h);
    SDL_FillRect(screen, &box, SDL_MapRGB(screen->format, 0, 0, 0));

    // The right and bottom edges lie one pixel outside the filled box.
    Uint32 white = SDL_MapRGB(screen->format, 255, 255, 255);
    line16(screen, x, y, x + w, y, white);
    line16(screen, x, y, x, y + h, white);
    line16(screen, x + w, y + h, x + w, y, white);
    line16(screen, x + w, y + h, x, y + h, white);

    for (int i = 0; i < lines.count; i++)
        draw_text(x + 4, y + 12 * i + 4, lines.line[i], 0, 0);
}

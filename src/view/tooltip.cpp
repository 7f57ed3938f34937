// The black, white-framed box of text lines shown over the playfield, e.g.
// the description of the turret type under the cursor.
#include "game/sim.h"

#include "gfx/font.h"
#include "gfx/pixels.h"
#include "gfx/screen.h"
#include "gfx/text_picture.h"

void Sim::tooltip(int x, int y, const char* text) {
    static TextLines lines;  // 4 KB: kept off the console's small stack
    split_text_lines(text, lines);
    int w = lines.width;
    int h = lines.height;

    // Keep the box on the screen; one larger than the screen stands at 0.
    if (x > kScreenWidth - w) x = kScreenWidth - w;
    if (x < 0) x = 0;
    if (y > kScreenHeight - h) y = kScreenHeight - h;
    if (y < 0) y = 0;

    SDL_Rect area;
    area.x = static_cast<Sint16>(x);
    area.y = static_cast<Sint16>(y);
    area.w = static_cast<Uint16>(w);
    area.h = static_cast<Uint16>(h);
    SDL_FillRect(screen, &area, SDL_MapRGB(screen->format, 0, 0, 0));

    // The right and bottom edges lie one pixel outside the filled box.
    Uint32 white = SDL_MapRGB(screen->format, 255, 255, 255);
    line16(screen, x, y, x + w, y, white);
    line16(screen, x, y, x, y + h, white);
    line16(screen, x + w, y + h, x + w, y, white);
    line16(screen, x + w, y + h, x, y + h, white);

    // A tooltip stands while the cursor rests on its icon: its lines are
    // kept as pictures. Seven lines make the longest one.
    static TextPictures& pictures = *new TextPictures(8);
    for (int k = 0; k < lines.count; k++)
        pictures.draw(static_cast<float>(x + kTextMargin), static_cast<float>(y + kGlyphHeight * k + kTextMargin), lines.line[k]);
}

#include "gfx/sheet_cache.h"

namespace {

struct Prepared {
    SheetSource source;
    bool usable = false;
    MaskedSheet sheet;
    unsigned used = 0;  // when it was last asked for
};

// A game draws from two sheets; a few more slots keep a level change or a
// test's own sheets from relearning every frame. Never destroyed: the slots
// hold their sheets, which must not be freed after SDL has shut down.
const int kSlots = 4;
Prepared* slots() {
    static Prepared* s = new Prepared[kSlots];
    return s;
}
unsigned clock_now = 0;

}  // namespace

const MaskedSheet* prepared_sheet(SDL_Surface* sheet, const SDL_PixelFormat* format) {
    Prepared* s = slots();
    clock_now++;
    Prepared* oldest = &s[0];
    for (int i = 0; i < kSlots; i++) {
        if (s[i].source.same(sheet, format)) {
            s[i].used = clock_now;
            return s[i].usable ? &s[i].sheet : nullptr;
        }
        if (s[i].used < oldest->used) oldest = &s[i];
    }
    oldest->usable = oldest->sheet.learn(sheet, format);
    oldest->source.hold(sheet, format);
    oldest->used = clock_now;
    return oldest->usable ? &oldest->sheet : nullptr;
}

void blit_prepared(SDL_Surface* sheet, int sx, int sy, int w, int h, SDL_Surface* target, int x, int y) {
    // The destination as an SDL_Rect holds it, 16 bits.
    const Sint16 dx = static_cast<Sint16>(x), dy = static_cast<Sint16>(y);
    const MaskedSheet* prepared = prepared_sheet(sheet, target->format);
    if (prepared == nullptr) {
        SDL_Rect src = {static_cast<Sint16>(sx), static_cast<Sint16>(sy), static_cast<Uint16>(w), static_cast<Uint16>(h)};
        SDL_Rect dst = {dx, dy, 0, 0};
        SDL_UpperBlit(sheet, &src, target, &dst);
        return;
    }
    SurfaceLock lock(target);
    if (lock.ok()) prepared->blit(sx, sy, w, h, target, dx, dy);  // as a blit that cannot lock: nothing
}

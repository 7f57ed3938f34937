// The masked blitter must leave exactly the pixels SDL's own blit leaves,
// for every kind of source the game draws from and wherever the rectangle
// lands: across the 64-pixel words of the mask, past the target's edges and
// its clip rectangle, past the sheet's own edges.
#include "gfx/masked_sheet.h"
#include "gfx/screen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

SurfacePtr surface(int w, int h, int bits) {
    const Uint32 r = bits == 16 ? 0xF800 : 0xFF0000, g = bits == 16 ? 0x07E0 : 0xFF00, b = bits == 16 ? 0x1F : 0xFF;
    return SurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bits, r, g, b, 0), SDL_FreeSurface);
}

// A sheet of noise with a good share of the transparent colour, the way a
// sprite sheet or a glyph strip has it.
SurfacePtr noisy_sheet(int w, int h, int bits, Uint32 key) {
    SurfacePtr s = surface(w, h, bits);
    std::srand(7);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            Uint32 v = std::rand() % 3 == 0 ? key : static_cast<Uint32>(std::rand()) & (bits == 16 ? 0xFFFF : 0xFFFFFF);
            std::memcpy(static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel, &v,
                        s->format->BytesPerPixel);
        }
    SDL_SetColorKey(s.get(), SDL_SRCCOLORKEY, key);
    return s;
}

bool same_pixels(SDL_Surface* a, SDL_Surface* b) {
    for (int y = 0; y < a->h; y++)
        if (std::memcmp(static_cast<Uint8*>(a->pixels) + y * a->pitch, static_cast<Uint8*>(b->pixels) + y * b->pitch, 2 * a->w))
            return false;
    return true;
}

TEST(MaskedSheetTest, BlitsWhatSdlBlitsFromSixteenAndTwentyFourBitSheets) {
    struct Case {
        int sx, sy, w, h, x, y;
        SDL_Rect clip;
    };
    const SDL_Rect all = {0, 0, 100, 60};
    const Case cases[] = {
        {0, 0, 16, 16, 10, 10, all},       {48, 16, 16, 16, -7, -3, all},   // partly off the top-left
        {56, 0, 16, 13, 92, 50, all},      {60, 4, 7, 13, 30, 20, all},     // off the bottom-right; across a word
        {64, 0, 64, 20, 20, 5, all},       {100, 10, 64, 30, 0, 0, all},    // a whole word; past the sheet's edge
        {0, 0, 64, 32, 20, 20, {25, 22, 30, 9}},                            // inside a clip rectangle
        {120, 28, 16, 16, 5, 5, all},      {0, 0, 16, 16, 100, 0, all},     // past the sheet; past the target
    };
    for (int bits : {16, 24}) {
        SurfacePtr sheet = noisy_sheet(130, 40, bits, bits == 16 ? 0x001F : 0x0000FF);
        MaskedSheet masked;
        ASSERT_TRUE(masked.learn(sheet.get(), screen->format));
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << bits << " bits, source " << c.sx << "," << c.sy << " at " << c.x << "," << c.y);
            SurfacePtr want = surface(100, 60, 16), got = surface(100, 60, 16);
            for (SDL_Surface* t : {want.get(), got.get()}) {
                SDL_FillRect(t, nullptr, 0x1234);
                SDL_Rect clip = c.clip;
                SDL_SetClipRect(t, &clip);
            }
            SDL_Rect src = {Sint16(c.sx), Sint16(c.sy), Uint16(c.w), Uint16(c.h)}, dst = {Sint16(c.x), Sint16(c.y), 0, 0};
            SDL_UpperBlit(sheet.get(), &src, want.get(), &dst);
            masked.blit(c.sx, c.sy, c.w, c.h, got.get(), c.x, c.y);
            EXPECT_TRUE(same_pixels(want.get(), got.get()));
        }
    }
}

TEST(MaskedSheetTest, RefusesWhatItCannotHoldExactly) {
    MaskedSheet masked;
    SurfacePtr sheet = noisy_sheet(20, 20, 16, 0x001F);
    SurfacePtr deep = surface(4, 4, 32);
    EXPECT_FALSE(masked.learn(sheet.get(), deep->format)) << "a 32-bit target";
    SDL_SetAlpha(sheet.get(), SDL_SRCALPHA, 128);
    EXPECT_FALSE(masked.learn(sheet.get(), screen->format)) << "a source blended with alpha";
    EXPECT_EQ(0, masked.w());
}

}  // namespace

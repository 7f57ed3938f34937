#include "gfx/pixels.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

Uint32 getpixel(SDL_Surface* surface, int x, int y) {
    int bpp = surface->format->BytesPerPixel;
    Uint8* p = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    switch (bpp) {
    case 1:
        return *p;
    case 2:
        return *reinterpret_cast<Uint16*>(p);
    case 3:
        return p[0] | p[1] << 8 | p[2] << 16;
    case 4:
        return *reinterpret_cast<Uint32*>(p);
    default:
        return 0;
    }
}

namespace {
int clampi(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }
int sign(int v) { return (v > 0) - (v < 0); }
}  // namespace

// Integer Bresenham walking a row pointer: the range circle and the tooltip
// frames are drawn with it every frame on a machine without an FPU.
void line16(SDL_Surface* surface, int x1, int y1, int x2, int y2, Uint32 colour) {
    if (surface->w <= 0 || surface->h <= 0) return;
    x1 = clampi(x1, 0, surface->w - 1);
    x2 = clampi(x2, 0, surface->w - 1);
    y1 = clampi(y1, 0, surface->h - 1);
    y2 = clampi(y2, 0, surface->h - 1);

    int dx = x2 - x1, ax = 2 * std::abs(dx), sx = sign(dx);
    int dy = y2 - y1, ay = 2 * std::abs(dy), sy = sign(dy);
    Uint16 pitch = surface->pitch;
    int rowstep = pitch * sy;
    Uint8* row = static_cast<Uint8*>(surface->pixels) + y1 * pitch;
    Uint16 c = static_cast<Uint16>(colour);
    int x = x1, y = y1;

    if (ax > ay) {
        int d = ay - ax / 2;
        for (;;) {
            reinterpret_cast<Uint16*>(row)[x] = c;
            if (x == x2) return;
            if (d >= 0) {
                y += sy;
                row += rowstep;
                d -= ax;
            }
            x += sx;
            d += ay;
        }
    } else {
        int d = ax - ay / 2;
        for (;;) {
            reinterpret_cast<Uint16*>(row)[x] = c;
            if (y == y2) return;
            if (d >= 0) {
                x += sx;
                d -= ay;
            }
            y += sy;
            row += rowstep;
            d += ax;
        }
    }
}


void put_block16(SDL_Surface* surface, int x, int y, const Uint16* pixels, int w, int h) {
    const SDL_Rect& clip = surface->clip_rect;
    const int x0 = std::max(x, static_cast<int>(clip.x)), x1 = std::min(x + w, clip.x + clip.w);
    const int y0 = std::max(y, static_cast<int>(clip.y)), y1 = std::min(y + h, clip.y + clip.h);
    if (x0 >= x1 || y0 >= y1) return;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    for (int row = y0; row < y1; row++)
        std::memcpy(static_cast<Uint8*>(surface->pixels) + row * surface->pitch + 2 * x0,
                    pixels + (row - y) * w + (x0 - x), 2 * static_cast<size_t>(x1 - x0));
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

void fill16(SDL_Surface* surface, const SDL_Rect* rect, Uint32 colour) {
    if (surface->format->BytesPerPixel != 2) {
        SDL_Rect area = rect ? *rect : SDL_Rect{};  // SDL cuts its rectangle in place
        SDL_FillRect(surface, rect ? &area : nullptr, colour);
        return;
    }
    const SDL_Rect& clip = surface->clip_rect;
    int x0 = clip.x, x1 = clip.x + clip.w, y0 = clip.y, y1 = clip.y + clip.h;
    if (rect) {
        x0 = std::max(x0, static_cast<int>(rect->x)), x1 = std::min(x1, rect->x + rect->w);
        y0 = std::max(y0, static_cast<int>(rect->y)), y1 = std::min(y1, rect->y + rect->h);
    }
    if (x0 >= x1 || y0 >= y1) return;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    const Uint16 c = static_cast<Uint16>(colour);
    for (int y = y0; y < y1; y++) {
        Uint16* row = reinterpret_cast<Uint16*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch) + x0;
        if ((c & 0xFF) == c >> 8) std::memset(row, c & 0xFF, 2 * static_cast<size_t>(x1 - x0));  // black, say
        else std::fill_n(row, x1 - x0, c);
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

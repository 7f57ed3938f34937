#include "gfx/masked_sheet.h"

#include <algorithm>

bool SheetSource::same(SDL_Surface* surface, const SDL_PixelFormat* format) const {
    if (surface != surface_) return false;
    if (surface == nullptr) return true;
    return surface->w == w_ && surface->h == h_ &&
           (surface->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)) == flags_ &&
           surface->format->colorkey == colorkey_ && surface->format->alpha == alpha_ &&
           format->BitsPerPixel == bits_ && format->Rmask == rmask_ && format->Gmask == gmask_ &&
           format->Bmask == bmask_;
}

void SheetSource::hold(SDL_Surface* surface, const SDL_PixelFormat* format) {
    if (surface != surface_) {
        release();
        surface_ = surface;
        if (surface_) surface_->refcount++;
    }
    if (surface == nullptr) return;
    w_ = surface->w;
    h_ = surface->h;
    flags_ = surface->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA);
    colorkey_ = surface->format->colorkey;
    alpha_ = surface->format->alpha;
    bits_ = format->BitsPerPixel;
    rmask_ = format->Rmask;
    gmask_ = format->Gmask;
    bmask_ = format->Bmask;
}

void SheetSource::release() {
    if (surface_) SDL_FreeSurface(surface_);  // drops our reference only, unless it was the last
    surface_ = nullptr;
}

void MaskedSheet::reset(int w, int h) {
    w_ = std::max(w, 0);
    h_ = std::max(h, 0);
    words_ = (w_ + 63) / 64;
    pixels_.assign(static_cast<size_t>(w_) * h_, 0);
    mask_.assign(static_cast<size_t>(words_) * h_, 0);
}

void MaskedSheet::put(int x, int y, Uint16 pixel) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    pixels_[y * w_ + x] = pixel;
    mask_[y * words_ + (x >> 6)] |= uint64_t{1} << (x & 63);
}

namespace {
Uint16 raw16(SDL_Surface* s, int x, int y) {
    return static_cast<const Uint16*>(s->pixels)[y * (s->pitch / 2) + x];
}
}  // namespace

bool MaskedSheet::learn(SDL_Surface* source, const SDL_PixelFormat* format) {
    if (source == nullptr || (source->flags & SDL_SRCALPHA) || source->format->Amask != 0) {
        reset(0, 0);
        return false;
    }
    return learn_drawing(source->w, source->h, format,
                         [source](SDL_Surface* under) { return SDL_UpperBlit(source, nullptr, under, nullptr) == 0; });
}

namespace {

// The two scratch surfaces learning draws onto, kept from one learning to
// the next (games are loaded again and again by the loader fuzzer) and made
// larger when a drawing needs more room. Never freed.
SDL_Surface* under[2] = {nullptr, nullptr};

bool scratch_for(int w, int h, const SDL_PixelFormat* format) {
    for (SDL_Surface*& s : under) {
        if (s && (s->w < w || s->h < h || s->format->Rmask != format->Rmask || s->format->Gmask != format->Gmask ||
                  s->format->Bmask != format->Bmask)) {
            w = std::max(w, s->w), h = std::max(h, s->h);
            SDL_FreeSurface(s);
            s = nullptr;
        }
        if (!s) s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, format->Rmask, format->Gmask, format->Bmask, 0);
        if (!s) return false;
    }
    return true;
}

}  // namespace

// The drawing is made twice, onto scratch all 0x0000 and all 0xFFFF, each
// cut to w x h. A pixel it leaves alone keeps the background, different in
// the two; a pixel it writes is the same in both.
bool MaskedSheet::learn_drawing(int w, int h, const SDL_PixelFormat* format, const std::function<bool(SDL_Surface*)>& draw) {
    reset(0, 0);
    if (format == nullptr || format->BytesPerPixel != 2 || w <= 0 || h <= 0 || !scratch_for(w, h, format)) return false;
    SDL_Rect area = {0, 0, static_cast<Uint16>(w), static_cast<Uint16>(h)};
    bool ok = true;
    for (int k = 0; ok && k < 2; k++) {
        SDL_SetClipRect(under[k], &area);
        SDL_FillRect(under[k], nullptr, k ? 0xFFFF : 0x0000);
        ok = draw(under[k]);
    }
    if (ok && SDL_LockSurface(under[0]) == 0) {
        if (SDL_LockSurface(under[1]) == 0) {
            reset(w, h);
            for (int y = 0; ok && y < h_; y++)
                for (int x = 0; ok && x < w_; x++) {
                    Uint16 a = raw16(under[0], x, y), b = raw16(under[1], x, y);
                    if (a == b) put(x, y, a);
                    else ok = a == 0x0000 && b == 0xFFFF;  // anything else was blended
                }
            SDL_UnlockSurface(under[1]);
        } else {
            ok = false;
        }
        SDL_UnlockSurface(under[0]);
    } else {
        ok = false;
    }
    if (!ok) reset(0, 0);
    return ok;
}

void MaskedSheet::blit(int sx, int sy, int w, int h, SDL_Surface* target, int x, int y) const {
    // The source rectangle stops at the sheet's edges, as SDL's does at the
    // source surface's; then the destination is clipped.
    w = std::min(w, w_ - sx);
    h = std::min(h, h_ - sy);
    const SDL_Rect& clip = target->clip_rect;
    int x0 = std::max(x, static_cast<int>(clip.x)), x1 = std::min(x + w, clip.x + clip.w);
    int y0 = std::max(y, static_cast<int>(clip.y)), y1 = std::min(y + h, clip.y + clip.h);
    if (x0 >= x1 || y0 >= y1) return;

    const int n = x1 - x0;  // 1 to 64 columns
    const uint64_t keep = n == 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
    const int col = sx + (x0 - x);
    const int shift = col & 63;
    const bool spills = shift + n > 64;
    const int first = sy + (y0 - y);
    const uint64_t* m = &mask_[static_cast<size_t>(first) * words_ + (col >> 6)];
    const Uint16* src = &pixels_[static_cast<size_t>(first) * w_ + col];
    Uint8* row = static_cast<Uint8*>(target->pixels) + y0 * target->pitch + 2 * x0;
    for (int left = y1 - y0; left > 0; left--, m += words_, src += w_, row += target->pitch) {
        uint64_t bits = m[0] >> shift;
        if (spills) bits |= m[1] << (64 - shift);
        bits &= keep;
        Uint16* dst = reinterpret_cast<Uint16*>(row);
        // Run by run: a sprite's rows are mostly one or two runs.
        while (bits) {
            const int j = __builtin_ctzll(bits);
            const uint64_t run = ~(bits >> j);
            const int end = run ? j + __builtin_ctzll(run) : 64;
            for (int k = j; k < end; k++) dst[k] = src[k];
            bits = end < 64 ? bits & (~uint64_t{0} << end) : 0;
        }
    }
}

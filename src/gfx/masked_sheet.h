// Pictures with a transparent colour, drawn by our own 16-bit blitter.
//
// SDL's colour-key blit converts and tests every pixel on every call, and a
// glyph or a sprite pays a few hundred instructions of set-up on top. A
// MaskedSheet keeps, for one target format, each pixel exactly as SDL writes
// it and one bit per pixel saying whether SDL writes it at all. Both are
// learned from SDL itself, so the frames stay the same pixel for pixel.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <vector>

// Which surface a prepared picture was made from, and for which target
// format. It holds a reference on the surface (SDL_FreeSurface honours
// refcount), so the address cannot come back as another picture while this
// lives. Never released by a destructor: holders that live until the
// process ends must not touch SDL after it has shut down.
class SheetSource {
public:
    // Whether `surface`, as it is now, is what was prepared for `format`.
    // A null surface is the same as a null one held.
    bool same(SDL_Surface* surface, const SDL_PixelFormat* format) const;
    void hold(SDL_Surface* surface, const SDL_PixelFormat* format);
    void release();

private:
    SDL_Surface* surface_ = nullptr;
    int w_ = 0, h_ = 0;
    Uint32 flags_ = 0, colorkey_ = 0;
    Uint8 alpha_ = 0, bits_ = 0;
    Uint32 rmask_ = 0, gmask_ = 0, bmask_ = 0;
};

class MaskedSheet {
public:
    // An empty, all-transparent sheet of w x h, to be filled with put().
    void reset(int w, int h);
    // The pixels SDL_UpperBlit writes when it draws `source` onto a surface
    // of `format`. False, leaving an empty sheet, when that cannot be held
    // exactly: a target other than 16 bits a pixel, or a source blended with
    // alpha, whose pixels depend on what lies below.
    bool learn(SDL_Surface* source, const SDL_PixelFormat* format);
    // The pixels `draw` writes onto a w x h surface of `format` (it returns
    // false when it fails), learned the same way.
    bool learn_drawing(int w, int h, const SDL_PixelFormat* format, const std::function<bool(SDL_Surface*)>& draw);

    bool opaque(int x, int y) const { return (mask_[y * words_ + (x >> 6)] >> (x & 63)) & 1; }
    Uint16 pixel(int x, int y) const { return pixels_[y * w_ + x]; }
    void put(int x, int y, Uint16 pixel);

    // The same pixels as SDL_UpperBlit of the w x h rectangle at (sx, sy)
    // onto target at (x, y): clipped to the sheet and to the target's clip
    // rectangle. Needs sx, sy >= 0, w <= 64, a 16-bit target of the format
    // the sheet was made for, locked if it must be.
    void blit(int sx, int sy, int w, int h, SDL_Surface* target, int x, int y) const;

    int w() const { return w_; }
    int h() const { return h_; }

private:
    int w_ = 0, h_ = 0, words_ = 0;
    std::vector<Uint16> pixels_;
    std::vector<uint64_t> mask_;  // row by row, words_ words a row, bit x & 63 for column x
};

// Locks a surface that must be locked for direct access, for one scope.
class SurfaceLock {
public:
    explicit SurfaceLock(SDL_Surface* s) : s_(SDL_MUSTLOCK(s) ? s : nullptr) {
        ok_ = !s_ || SDL_LockSurface(s_) == 0;
        if (!ok_) s_ = nullptr;
    }
    ~SurfaceLock() {
        if (s_) SDL_UnlockSurface(s_);
    }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;
    bool ok() const { return ok_; }

private:
    SDL_Surface* s_;
    bool ok_;
};

// A look at a BMP file before SDL's decoder is allowed near it. Level packs
// bring their own tile sets, and SDL 1.2's BMP reader trusts the header: a
// palette bigger than 256 colours, a pixel pointing past a short palette or
// an absurd width can make it read or write out of bounds, and the console's
// SDL has none of the later fixes. Everything here is plain byte arithmetic
// in 64 bits, so the check itself cannot be fooled by overflowing numbers.
#pragma once

#include <cstddef>

// Limits of what the game accepts: sizes in pixels, both inclusive.
const int kBmpMaxSide = 4096;

// Null when the bytes are a BMP that SDL_LoadBMP_RW can decode safely,
// otherwise a short reason ("bad magic", "RLE compression", ...).
const char* bmp_check_memory(const unsigned char* data, size_t size);

// The same for a file; a file that cannot be opened or read fails too.
const char* bmp_check_file(const char* path);

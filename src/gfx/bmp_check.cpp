#include "gfx/bmp_check.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// Where the bytes come from: a buffer or an open file. get() refuses any
// range that does not lie wholly inside the data.
struct Source {
    uint64_t size;
    bool (*read)(const void* ctx, uint64_t offset, unsigned char* out, size_t n);
    const void* ctx;

    bool get(uint64_t offset, unsigned char* out, size_t n) const {
        if (offset > size || n > size - offset) return false;
        return read(ctx, offset, out, n);
    }
};

uint32_t le16(const unsigned char* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t le32(const unsigned char* p) { return le16(p) | le16(p + 2) << 16; }
int32_t sle32(const unsigned char* p) {
    uint32_t v = le32(p);
    return v <= 0x7fffffffu ? int32_t(v) : -int32_t(~v) - 1;
}

const uint32_t kBiRgb = 0;
const uint32_t kBiRle8 = 1;
const uint32_t kBiRle4 = 2;
const uint32_t kBiBitfields = 3;
const uint64_t kFileHeader = 14;
const uint64_t kMasksAt = kFileHeader + 40;  // SDL reads masks right after the 40 basic bytes

bool known_header_size(uint32_t size) {
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool known_depth(uint32_t bpp) {
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

int bit_count(uint32_t v) {
    int n = 0;
    for (; v; v &= v - 1) n++;
    return n;
}

// SDL turns each mask into a shift and a loss of 8 - bits: a mask must be one
// run of 1 to 8 bits inside the pixel.
bool mask_usable(uint32_t mask, uint32_t bpp) {
    if (mask == 0) return false;
    if (bpp == 16 && mask > 0xffffu) return false;
    uint64_t run = mask;
    while (!(run & 1)) run >>= 1;
    return (run & (run + 1)) == 0 && bit_count(mask) <= 8;
}

// The masks SDL reads after the basic header; zero_ok when three zero masks
// make SDL fall back to its defaults.
const char* check_masks(const Source& src, uint32_t bpp, bool zero_ok) {
    unsigned char m[12];
    if (!src.get(kMasksAt, m, sizeof m)) return "colour masks past the end";
    uint32_t r = le32(m), g = le32(m + 4), b = le32(m + 8);
    if (zero_ok && r == 0 && g == 0 && b == 0) return nullptr;
    if (!mask_usable(r, bpp) || !mask_usable(g, bpp) || !mask_usable(b, bpp)) return "unusable colour masks";
    if ((r & g) || (r & b) || (g & b)) return "overlapping colour masks";
    return nullptr;
}

// SDL maps palette indices through a table as long as the palette the file
// declares; an index past its end reads beyond that table.
const char* check_indices(const Source& src, uint64_t offbits, uint64_t rowbytes, uint32_t w, uint32_t h,
                          uint32_t bpp, uint64_t colours) {
    unsigned char row[kBmpMaxSide];
    const size_t used = (size_t(w) * bpp + 7) / 8;
    const unsigned mask = (1u << bpp) - 1;
    for (uint32_t y = 0; y < h; y++) {
        if (!src.get(offbits + rowbytes * y, row, used)) return "pixel data unreadable";
        for (uint32_t x = 0; x < w; x++) {
            uint64_t bit = uint64_t(x) * bpp;
            unsigned shift = 8 - bpp - unsigned(bit % 8);
            unsigned index = (row[bit / 8] >> shift) & mask;
            if (index >= colours) return "pixel outside the palette";
        }
    }
    return nullptr;
}

const char* check(const Source& src) {
    unsigned char h[kFileHeader + 124];
    if (!src.get(0, h, 18)) return "file too short";
    if (h[0] != 'B' || h[1] != 'M') return "bad magic";
    const uint64_t offbits = le32(h + 10);
    const uint32_t hsize = le32(h + 14);
    if (!known_header_size(hsize)) return "unknown header size";
    if (!src.get(kFileHeader, h + kFileHeader, hsize)) return "header cut short";

    int64_t w, ht;
    uint32_t planes, bpp, compression = kBiRgb, clrused = 0;
    if (hsize == 12) {  // OS/2: 16-bit unsigned sizes, no compression, 3-byte palette entries
        w = le16(h + 18);
        ht = le16(h + 20);
        planes = le16(h + 22);
        bpp = le16(h + 24);
    } else {
        w = sle32(h + 18);
        ht = sle32(h + 22);
        planes = le16(h + 26);
        bpp = le16(h + 28);
        compression = le32(h + 30);
        clrused = le32(h + 46);
    }
    if (planes != 1) return "planes not 1";
    if (!known_depth(bpp)) return "unsupported bit depth";
    if (compression == kBiRle8 || compression == kBiRle4) return "RLE compression";
    if (compression == kBiBitfields && bpp != 16 && bpp != 32) return "bit fields need 16 or 32 bits";
    if (compression != kBiRgb && compression != kBiBitfields) return "unsupported compression";
    // Top-down files (negative height) are not read by every SDL 1.2.
    if (ht < 0) return "top-down BMP";
    if (w < 1 || w > kBmpMaxSide || ht < 1 || ht > kBmpMaxSide) return "size out of range";

    uint64_t headers_end = kFileHeader + hsize;
    if (compression == kBiBitfields) {
        if (const char* why = check_masks(src, bpp, false)) return why;
        if (headers_end < kMasksAt + 12) headers_end = kMasksAt + 12;
    } else if ((bpp == 16 || bpp == 32) && offbits != kFileHeader + hsize) {
        // Pixels that do not follow the header make SDL read masks after the
        // basic header even without bit fields.
        if (const char* why = check_masks(src, bpp, true)) return why;
    }

    const uint64_t full = bpp <= 8 ? uint64_t(1) << bpp : 0;
    uint64_t colours = 0;
    if (bpp <= 8) {
        if (clrused > full) return "palette too large";
        colours = clrused ? clrused : full;
        headers_end += colours * (hsize == 12 ? 3 : 4);
    }
    if (headers_end > src.size) return "palette past the end";
    if (offbits < headers_end) return "pixel data overlaps the headers";

    const uint64_t rowbytes = (uint64_t(w) * bpp + 31) / 32 * 4;
    if (offbits > src.size || rowbytes * uint64_t(ht) > src.size - offbits) return "pixel data past the end";
    if (bpp <= 8 && colours < full)
        return check_indices(src, offbits, rowbytes, uint32_t(w), uint32_t(ht), bpp, colours);
    return nullptr;
}

bool read_memory(const void* ctx, uint64_t offset, unsigned char* out, size_t n) {
    std::memcpy(out, static_cast<const unsigned char*>(ctx) + offset, n);
    return true;
}

bool read_file(const void* ctx, uint64_t offset, unsigned char* out, size_t n) {
    FILE* f = static_cast<FILE*>(const_cast<void*>(ctx));
    if (offset > uint64_t(INT64_MAX) || fseeko(f, off_t(offset), SEEK_SET) != 0) return false;
    return std::fread(out, 1, n, f) == n;
}

}  // namespace

const char* bmp_check_memory(const unsigned char* data, size_t size) {
    Source src{size, read_memory, data};
    return check(src);
}

const char* bmp_check_file(const char* path) {
    FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return "cannot open";
    const char* why = "cannot read";
    if (fseeko(f, 0, SEEK_END) == 0) {
        off_t end = ftello(f);
        if (end >= 0) {
            Source src{uint64_t(end), read_file, f};
            why = check(src);
        }
    }
    std::fclose(f);
    return why;
}

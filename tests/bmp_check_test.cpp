// The check that stands between untrusted BMP files and SDL's decoder:
// well-formed files of every kind SDL reads pass and load, malformed ones
// are refused before SDL sees them, and the game's loaders use it.
#include "app/globals.h"
#include "gfx/bmp_check.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// The fields of a BMP file; build() lays them out, with the palette and
// pixel data where a writer would put them unless told otherwise.
struct Bmp {
    uint32_t hsize = 40;
    int64_t w = 3, h = 2;
    uint32_t planes = 1, bpp = 24, compression = 0, clrused = 0;
    uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
    int64_t offbits = -1;    // -1: right after the headers and the palette
    int64_t cut = 0;         // bytes dropped from the end
    unsigned char fill = 0;  // every pixel byte
};

void put(Bytes& out, uint64_t v, int n) {
    for (int i = 0; i < n; i++) out.push_back(static_cast<unsigned char>(v >> (8 * i)));  // n <= 4
}

uint64_t row_bytes(const Bmp& b) { return (uint64_t(b.w < 0 ? -b.w : b.w) * b.bpp + 31) / 32 * 4; }

Bytes build(const Bmp& b) {
    Bytes info;
    if (b.hsize == 12) {
        put(info, b.w, 2);
        put(info, b.h, 2);
        put(info, b.planes, 2);
        put(info, b.bpp, 2);
    } else {
        put(info, b.w, 4);
        put(info, b.h, 4);
        put(info, b.planes, 2);
        put(info, b.bpp, 2);
        put(info, b.compression, 4);
        for (int i = 0; i < 3; i++) put(info, 0, 4);  // image size, resolution
        put(info, b.clrused, 4);
        put(info, 0, 4);
        if (b.compression == 3)
            for (uint32_t m : b.masks) put(info, m, 4);  // inside the header or right after it
        while (info.size() + 4 < b.hsize) info.push_back(0);
    }
    if (b.hsize >= 4) info.resize(std::max<size_t>(info.size(), b.hsize - 4));
    Bytes palette;
    if (b.bpp <= 8) {
        uint32_t n = b.clrused ? b.clrused : 1u << b.bpp;
        if (n > 1024) n = 1024;
        for (uint32_t i = 0; i < n; i++) {
            palette.push_back(static_cast<unsigned char>(i * 40));
            palette.push_back(static_cast<unsigned char>(i * 80));
            palette.push_back(static_cast<unsigned char>(255 - i));
            if (b.hsize != 12) palette.push_back(0);
        }
    }
    uint64_t start = 14 + 4 + info.size() + palette.size();
    uint64_t offbits = b.offbits >= 0 ? uint64_t(b.offbits) : start;
    uint64_t pixels = row_bytes(b) * uint64_t(b.h < 0 ? -b.h : b.h);
    if (pixels > (1u << 20)) pixels = 64;  // huge sizes are tested on their header alone
    Bytes out = {'B', 'M'};
    put(out, offbits + pixels, 4);
    put(out, 0, 4);
    put(out, offbits, 4);
    put(out, b.hsize, 4);
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), palette.begin(), palette.end());
    while (out.size() < offbits && out.size() < (1u << 20)) out.push_back(0);
    out.insert(out.end(), pixels, b.fill);
    out.resize(out.size() - std::min<uint64_t>(b.cut, out.size()));
    return out;
}

const char* check(const Bytes& data) { return bmp_check_memory(data.data(), data.size()); }

std::string reason(const Bytes& data) {
    const char* why = check(data);
    return why ? why : "passes";
}

TEST(BmpCheckTest, EveryKindSdlReadsPassesAndLoads) {
    struct Case {
        const char* what;
        Bmp bmp;
    };
    auto with = [](uint32_t hsize, uint32_t bpp, uint32_t compression = 0, uint32_t clrused = 0) {
        Bmp b;
        b.hsize = hsize;
        b.bpp = bpp;
        b.compression = compression;
        b.clrused = clrused;
        return b;
    };
    Bmp bf32 = with(124, 32, 3);
    bf32.masks[0] = 0xFF0000;
    bf32.masks[1] = 0xFF00;
    bf32.masks[2] = 0xFF;
    Bmp short4 = with(40, 4, 0, 3);
    short4.fill = 0x21;  // indices 2 and 1 inside a three-colour palette
    Bmp pad4 = with(40, 4, 0, 2);
    pad4.w = 1;
    pad4.fill = 0x1F;  // the low nibble is row padding, not a pixel
    const Case cases[] = {
        {"24 bit", with(40, 24)},
        {"32 bit", with(40, 32)},
        {"16 bit 555", with(40, 16)},
        {"16 bit 565 bit fields", with(40, 16, 3)},
        {"32 bit bit fields in a V5 header", bf32},
        {"16 bit bit fields in a 52-byte header", with(52, 16, 3)},
        {"16 bit bit fields in a 56-byte header", with(56, 16, 3)},
        {"8 bit, full palette", with(40, 8)},
        {"8 bit, two colours", with(40, 8, 0, 2)},
        {"4 bit, three colours", short4},
        {"4 bit, padding nibble beyond the palette", pad4},
        {"1 bit", with(40, 1)},
        {"OS/2 8 bit", with(12, 8)},
        {"OS/2 24 bit", with(12, 24)},
        {"V4 24 bit", with(108, 24)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes data = build(c.bmp);
        EXPECT_EQ("passes", reason(data));
        SDL_Surface* s = SDL_LoadBMP_RW(SDL_RWFromConstMem(data.data(), static_cast<int>(data.size())), 1);
        ASSERT_NE(nullptr, s) << SDL_GetError();
        EXPECT_EQ(c.bmp.w, s->w);
        EXPECT_EQ(c.bmp.h, s->h);
        SDL_FreeSurface(s);
    }
}

TEST(BmpCheckTest, MalformedHeadersAreRefused) {
    struct Case {
        const char* why;
        Bmp bmp;
    };
    std::vector<Case> cases;
    auto add = [&](const char* why, auto change) {
        Bmp b;
        change(b);
        cases.push_back({why, b});
    };
    add("header cut short", [](Bmp& b) { b.hsize = 124; b.cut = 100; });
    add("unknown header size", [](Bmp& b) { b.hsize = 64; });
    add("unknown header size", [](Bmp& b) { b.hsize = 0; });
    add("planes not 1", [](Bmp& b) { b.planes = 0; });
    add("planes not 1", [](Bmp& b) { b.planes = 3; });
    for (uint32_t bpp : {0u, 2u, 15u, 48u, 64u, 65535u})
        add("unsupported bit depth", [bpp](Bmp& b) { b.bpp = bpp; });
    add("RLE compression", [](Bmp& b) { b.bpp = 8; b.compression = 1; });
    add("RLE compression", [](Bmp& b) { b.bpp = 4; b.compression = 2; });
    add("bit fields need 16 or 32 bits", [](Bmp& b) { b.compression = 3; });
    add("unsupported compression", [](Bmp& b) { b.compression = 4; });
    add("unsupported compression", [](Bmp& b) { b.compression = 0x80000000u; });
    add("top-down BMP", [](Bmp& b) { b.h = -2; });
    add("top-down BMP", [](Bmp& b) { b.h = INT32_MIN; });
    add("size out of range", [](Bmp& b) { b.w = 0; });
    add("size out of range", [](Bmp& b) { b.w = -3; });
    add("size out of range", [](Bmp& b) { b.w = 4097; });
    add("size out of range", [](Bmp& b) { b.w = INT32_MAX; });
    add("size out of range", [](Bmp& b) { b.h = 0; });
    add("size out of range", [](Bmp& b) { b.h = 5000; });
    add("size out of range", [](Bmp& b) { b.hsize = 12; b.w = 0; });
    add("palette too large", [](Bmp& b) { b.bpp = 8; b.clrused = 257; });
    add("palette too large", [](Bmp& b) { b.bpp = 8; b.clrused = 0xFFFFFFFFu; });
    add("palette too large", [](Bmp& b) { b.bpp = 1; b.clrused = 3; });
    add("pixel data overlaps the headers", [](Bmp& b) { b.bpp = 8; b.offbits = 54; });
    add("pixel data overlaps the headers", [](Bmp& b) { b.offbits = 20; });
    add("palette past the end", [](Bmp& b) { b.bpp = 8; b.cut = 1000; });
    add("pixel data past the end", [](Bmp& b) { b.cut = 1; });
    add("pixel data past the end", [](Bmp& b) { b.offbits = 0xFFFFFFFFu; b.cut = 0; });
    add("pixel data past the end", [](Bmp& b) { b.w = 4096; b.h = 4096; b.bpp = 32; });
    add("pixel outside the palette", [](Bmp& b) { b.bpp = 8; b.clrused = 2; b.fill = 2; });
    add("pixel outside the palette", [](Bmp& b) { b.bpp = 4; b.clrused = 3; b.fill = 0x13; });
    add("pixel outside the palette", [](Bmp& b) { b.bpp = 1; b.clrused = 1; b.fill = 0x20; });
    add("unusable colour masks", [](Bmp& b) { b.bpp = 16; b.compression = 3; b.masks[1] = 0; });
    add("unusable colour masks", [](Bmp& b) { b.bpp = 16; b.compression = 3; b.masks[0] = 0x10000; });
    add("unusable colour masks", [](Bmp& b) { b.bpp = 32; b.compression = 3; b.masks[0] = 0xF0F0; });
    add("unusable colour masks", [](Bmp& b) { b.bpp = 32; b.compression = 3; b.masks[0] = 0x3FF00000; });
    add("overlapping colour masks", [](Bmp& b) { b.bpp = 16; b.compression = 3; b.masks[2] = 0x00FF; });
    for (const Case& c : cases) {
        Bytes data = build(c.bmp);
        EXPECT_EQ(c.why, reason(data)) << "hsize " << c.bmp.hsize << " w " << c.bmp.w << " h " << c.bmp.h
                                       << " bpp " << c.bmp.bpp << " compression " << c.bmp.compression;
    }
}

TEST(BmpCheckTest, TruncationsAndWrongMagicAreRefusedAtEveryLength) {
    Bytes good = build(Bmp());
    ASSERT_EQ(nullptr, check(good));
    // Every shorter prefix of a good file fails, none reads past its end.
    for (size_t n = 0; n < good.size(); n++) {
        Bytes prefix(good.begin(), good.begin() + static_cast<long>(n));
        EXPECT_NE(nullptr, check(prefix)) << n;
    }
    EXPECT_EQ("file too short", reason(Bytes(good.begin(), good.begin() + 10)));
    Bytes magic = good;
    magic[1] = 'A';
    EXPECT_EQ("bad magic", reason(magic));

    // A 32-bit file whose pixels do not follow the header makes SDL read
    // masks after the basic header: they must be in the file.
    Bmp gap;
    gap.w = gap.h = 1;
    gap.bpp = 32;
    gap.offbits = 55;
    EXPECT_EQ("colour masks past the end", reason(build(gap)));
    gap.offbits = 66;
    EXPECT_EQ("passes", reason(build(gap)));  // zero masks: SDL's defaults
    Bytes masked = build(gap);
    masked[54] = 0x0F;
    masked[58] = 0x0F;
    masked[62] = 0xF0;
    EXPECT_EQ("overlapping colour masks", reason(masked));
}

TEST(BmpCheckTest, FilesAreCheckedLikeTheirBytes) {
    TempDir dir("bmpfile");
    EXPECT_STREQ("cannot open", bmp_check_file(dir.file("absent.bmp").c_str()));
    EXPECT_NE(nullptr, bmp_check_file(dir.path.c_str()));
    Bmp paletted;
    paletted.bpp = 4;
    paletted.clrused = 2;
    for (unsigned char fill : {0x10, 0x12}) {
        paletted.fill = fill;
        Bytes data = build(paletted);
        dir.write("p.bmp", std::string(data.begin(), data.end()));
        const char* why = bmp_check_file(dir.file("p.bmp").c_str());
        EXPECT_EQ(reason(data), why ? why : "passes");
    }
    EXPECT_STREQ("pixel outside the palette", bmp_check_file(dir.file("p.bmp").c_str()));
}

// Every picture the game ships must pass its own check.
TEST(BmpCheckTest, TheGamesOwnPicturesPass) {
    std::vector<std::string> files = {"letters.bmp", "letters_black.bmp"};
    for (const char* d : {"img", "levels"}) {
        DIR* dir = opendir(d);
        ASSERT_NE(nullptr, dir) << d;
        while (dirent* e = readdir(dir)) {
            std::string name = e->d_name;
            if (name[0] == '.') continue;
            if (std::string(d) == "img") files.push_back("img/" + name);
            else files.push_back("levels/" + name + "/tiles.bmp");
        }
        closedir(dir);
    }
    EXPECT_GT(files.size(), 8u);
    for (const std::string& f : files) EXPECT_EQ(nullptr, bmp_check_file(f.c_str())) << f;
}

// Files kept from fuzzing and from SDL's known weaknesses: "refused-..."
// must fail the check, anything else must pass it and decode.
TEST(BmpCheckTest, FuzzRegressionsAreJudgedAsNamed) {
    std::string dirname = std::string(RAMPARTICA_SOURCE_DIR) + "/fuzz/regressions/bmp_check";
    DIR* dir = opendir(dirname.c_str());
    ASSERT_NE(nullptr, dir);
    int seen = 0;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name[0] == '.') continue;
        SCOPED_TRACE(name);
        seen++;
        std::string bytes = read_file(dirname + "/" + name);
        Bytes data(bytes.begin(), bytes.end());
        if (name.compare(0, 8, "refused-") == 0) {
            EXPECT_NE(nullptr, check(data));
        } else {
            EXPECT_EQ("passes", reason(data));
            SDL_Surface* s = SDL_LoadBMP_RW(SDL_RWFromConstMem(data.data(), static_cast<int>(data.size())), 1);
            EXPECT_NE(nullptr, s);
            if (s) SDL_FreeSurface(s);
        }
    }
    closedir(dir);
    EXPECT_GT(seen, 0);
}

TEST(BmpCheckDeathTest, ImagesAndFontStripsThatFailAreNeverDecoded) {
    TempDir dir("bmpdeath");
    Bmp rle;
    rle.bpp = 8;
    rle.compression = 1;
    Bytes data = build(rle);
    dir.write("rle.bmp", std::string(data.begin(), data.end()));
    dir.write("letters.bmp", std::string(data.begin(), data.end()));
    std::string out = dir.file("out.txt");
    std::string file = dir.file("rle.bmp");
    EXPECT_EXIT(
        {
            if (!freopen(out.c_str(), "w", stdout)) _exit(4);
            load_image(file);
            _exit(5);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ("couldnt load file: " + file + "\n", read_file(out));

    // The font strips are read on first use, from the working directory.
    EXPECT_EXIT(
        {
            if (!freopen(out.c_str(), "w", stdout)) _exit(4);
            if (chdir(dir.path.c_str()) != 0) _exit(6);
            letters = nullptr;
            draw_text(0, 0, "x", 0, 0);
            _exit(5);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ("couldnt load file: letters.bmp\n", read_file(out));
}

}  // namespace

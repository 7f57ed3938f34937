// The check that stands between untrusted BMP files and SDL's decoder:
// every kind SDL reads passes, malformed files are refused before SDL sees
// them, and the game's loaders use it.
#include "game/sim.h"
#include "gfx/bmp_check.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

// The fields of a BMP file; build() lays them out, with the palette and the
// pixels right after the headers unless told otherwise.
struct Bmp {
    uint32_t hsize = 40, planes = 1, bpp = 24, compression = 0, clrused = 0, masks[3] = {0xF800, 0x07E0, 0x001F};
    int64_t w = 3, h = 2, offbits = -1, cut = 0;  // offbits -1: right after the palette; cut: bytes dropped at the end
    char fill = 0;                                // every pixel byte
};
template <class F> Bmp with(F change) { Bmp b; change(b); return b; }

// Little-endian fields of the given byte widths.
void put(Bytes& out, std::initializer_list<std::pair<uint64_t, int>> fields) {
    for (const auto& f : fields)
        for (int i = 0; i < f.second; i++) out.push_back(static_cast<char>(f.first >> (8 * i)));
}

Bytes build(const Bmp& b) {
    Bytes out = {'B', 'M'};
    out.resize(14);  // the pixel offset is set at the end; SDL and the check ignore the file size
    put(out, {{b.hsize, 4}, {uint64_t(b.w), 4}, {uint64_t(b.h), 4}, {b.planes, 2}, {b.bpp, 2}, {b.compression, 4},
              {0, 4}, {0, 4}, {0, 4}, {b.clrused, 4}, {0, 4}});
    if (b.compression == 3) put(out, {{b.masks[0], 4}, {b.masks[1], 4}, {b.masks[2], 4}});  // in or after the header
    out.resize(std::max<size_t>(out.size(), 14 + b.hsize));
    for (uint32_t i = 0; b.bpp <= 8 && i < std::min<uint32_t>(b.clrused ? b.clrused : 1u << b.bpp, 1024); i++)
        put(out, {{i * 0x10101u, 4}});  // a grey ramp
    const uint64_t offbits = b.offbits >= 0 ? uint64_t(b.offbits) : out.size();
    const uint64_t pixels = (uint64_t(b.w) * b.bpp + 31) / 32 * 4 * uint64_t(b.h < 0 ? -b.h : b.h);
    out.resize(std::max<uint64_t>(out.size(), std::min<uint64_t>(offbits, 1u << 20)));
    out.insert(out.end(), pixels, b.fill);
    for (int i = 0; i < 4; i++) out[10 + i] = static_cast<char>(offbits >> (8 * i));
    out.resize(out.size() - std::min<uint64_t>(uint64_t(b.cut), out.size()));
    return out;
}

std::string verdict(const Bytes& data) {
    const char* why = bmp_check_memory(reinterpret_cast<const unsigned char*>(data.data()), data.size());
    return why ? why : "passes";
}
// What SDL's own decoder makes of the bytes: "<width>x<height>", or "fails".
std::string decoded(const Bytes& data) {
    SDL_Surface* s = SDL_LoadBMP_RW(SDL_RWFromConstMem(data.data(), static_cast<int>(data.size())), 1);
    std::string size = s ? std::to_string(s->w) + "x" + std::to_string(s->h) : "fails";
    SDL_FreeSurface(s);
    return size;
}

// Well-formed files of the kinds SDL reads pass and decode; malformed ones
// are refused with their reason.
TEST(BmpCheckTest, EachFileGetsItsVerdict) {
    const std::pair<const char*, Bmp> cases[] = {
        {"passes", Bmp()},                                                    // 24 bit
        {"passes", with([](Bmp& b) { b.bpp = 16; b.compression = 3; })},  // 565 bit fields after the header
        {"passes", with([](Bmp& b) { b.hsize = 124; b.bpp = 32; b.compression = 3; b.masks[0] = 0xFF0000;
                                     b.masks[1] = 0xFF00; b.masks[2] = 0xFF; })},  // bit fields in a V5 header
        {"passes", with([](Bmp& b) { b.bpp = 8; })},
        {"passes", with([](Bmp& b) { b.bpp = 4; b.clrused = 3; b.fill = 0x21; })},           // indices 2 and 1 of three
        {"passes", with([](Bmp& b) { b.bpp = 4; b.clrused = 2; b.w = 1; b.fill = 0x1F; })},  // low nibble: padding
        {"passes", with([](Bmp& b) { b.w = b.h = 1; b.bpp = 32; b.offbits = 66; })},  // zero masks after a gap
        {"unknown header size", with([](Bmp& b) { b.hsize = 64; })},
        {"header cut short", with([](Bmp& b) { b.hsize = 124; b.cut = 100; })},
        {"planes not 1", with([](Bmp& b) { b.planes = 0; })},
        {"unsupported bit depth", with([](Bmp& b) { b.bpp = 15; })},
        {"RLE compression", with([](Bmp& b) { b.bpp = 8; b.compression = 1; })},
        {"bit fields need 16 or 32 bits", with([](Bmp& b) { b.compression = 3; })},
        {"unsupported compression", with([](Bmp& b) { b.compression = 4; })},
        {"top-down BMP", with([](Bmp& b) { b.h = -2; })},
        {"size out of range", with([](Bmp& b) { b.w = 0; })},
        {"size out of range", with([](Bmp& b) { b.h = 4097; })},
        {"palette too large", with([](Bmp& b) { b.bpp = 8; b.clrused = 257; })},
        {"palette too large", with([](Bmp& b) { b.bpp = 8; b.clrused = 0xFFFFFFFFu; })},
        {"palette past the end", with([](Bmp& b) { b.bpp = 8; b.cut = 1000; })},
        {"pixel data overlaps the headers", with([](Bmp& b) { b.bpp = 8; b.offbits = 54; })},
        {"pixel data past the end", with([](Bmp& b) { b.cut = 1; })},
        {"pixel data past the end", with([](Bmp& b) { b.offbits = 0xFFFFFFFFu; })},
        {"pixel outside the palette", with([](Bmp& b) { b.bpp = 8; b.clrused = 2; b.fill = 2; })},
        {"pixel outside the palette", with([](Bmp& b) { b.bpp = 4; b.clrused = 2; b.fill = 0x12; })},
        {"pixel outside the palette", with([](Bmp& b) { b.bpp = 1; b.clrused = 1; b.fill = 0x20; })},
        {"colour masks past the end", with([](Bmp& b) { b.w = b.h = 1; b.bpp = 32; b.offbits = 55; })},
        {"unusable colour masks", with([](Bmp& b) { b.bpp = 16; b.compression = 3; b.masks[1] = 0; })},
        {"unusable colour masks", with([](Bmp& b) { b.bpp = 32; b.compression = 3; b.masks[0] = 0xF0F0; })},
        {"unusable colour masks", with([](Bmp& b) { b.bpp = 32; b.compression = 3; b.masks[0] = 0x3FF00000; })},
        {"overlapping colour masks", with([](Bmp& b) { b.bpp = 16; b.compression = 3; b.masks[2] = 0x00FF; })},
    };
    for (const auto& c : cases) {
        const Bmp& b = c.second;
        SCOPED_TRACE(testing::Message() << "hsize " << b.hsize << " w " << b.w << " h " << b.h << " bpp " << b.bpp
                                        << " colours " << b.clrused << " offset " << b.offbits);
        EXPECT_EQ(c.first, verdict(build(b)));
        if (c.first == std::string("passes")) {
            EXPECT_EQ(std::to_string(b.w) + "x" + std::to_string(b.h), decoded(build(b)));
        }
    }
    // Every shorter prefix of a good file fails, and none is read past its end.
    Bytes good = build(Bmp());
    for (size_t n = 0; n < good.size(); n++) EXPECT_NE("passes", verdict(Bytes(good.begin(), good.begin() + n))) << n;
    EXPECT_EQ("file too short", verdict(Bytes(good.begin(), good.begin() + 17)));
    good[1] = 'A';
    EXPECT_EQ("bad magic", verdict(good));
}

// Read from their files, every picture the game ships passes.
TEST(BmpCheckTest, TheGamesOwnPicturesPassAsFiles) {
    std::vector<std::string> files = {"letters.bmp", "letters_black.bmp"};
    for (const auto& e : fs::directory_iterator("img")) files.push_back(e.path());
    for (const auto& e : fs::directory_iterator("levels")) files.push_back(e.path() / "tiles.bmp");
    EXPECT_GT(files.size(), 8u);
    for (const std::string& f : files) EXPECT_EQ(nullptr, bmp_check_file(f.c_str())) << f;
}

// Files kept from fuzzing and from SDL's known weaknesses: "refused-..."
// must fail the check, anything else must pass it and decode.
TEST(BmpCheckTest, FuzzRegressionsAreJudgedAsNamed) {
    const std::string dirname = std::string(RAMPARTICA_SOURCE_DIR) + "/fuzz/regressions/bmp_check";
    ASSERT_FALSE(fs::is_empty(dirname));
    for (const auto& e : fs::directory_iterator(dirname)) {
        std::string name = e.path().filename(), data = read_file(e.path());
        bool refused = name.compare(0, 8, "refused-") == 0;
        EXPECT_EQ(refused, verdict(data) != "passes") << name;
        EXPECT_TRUE(refused || decoded(data) != "fails") << name;
    }
}

// A tile set that SDL alone would decode, but that fails the check, ends the
// game like a missing picture: the loader never hands it to SDL.
TEST(BmpCheckDeathTest, ATileSetThatFailsTheCheckEndsTheGame) {
    TempDir dir("bmpdeath");
    Bytes data = build(with([](Bmp& b) { b.h = -2; }));
    ASSERT_EQ("3x2", decoded(data));
    dir.write("bad.bmp", data);
    dir.write("level.txt", "TileSet=bad.bmp\n");
    std::string out = dir.file("out.txt");
    EXPECT_EXIT({ if (freopen(out.c_str(), "w", stdout)) Sim().load_level(dir.path.c_str()); _exit(5); },
                ::testing::ExitedWithCode(0), "");
    std::string log = read_file(out), want = "couldnt load file: " + dir.file("bad.bmp") + "\n";
    EXPECT_EQ(want, log.substr(log.size() - std::min(log.size(), want.size())));
}

}  // namespace

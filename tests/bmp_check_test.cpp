// The check that stands between untrusted BMP files and SDL's decoder:
// every kind SDL reads passes, malformed files are refused before SDL sees
// them, and the game's loaders use it. (That the game's own pictures pass is
// seen by every test that loads one.)
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

namespace {

// The fields of a BMP file; build() lays them out, with the palette and the
// pixels right after the headers unless told otherwise.
struct Bmp {
    uint32_t hsize = 40, planes = 1, bpp = 24, compression = 0, clrused = 0, masks[3] = {0xF800, 0x07E0, 0x001F};
    int64_t w = 3, h = 2, offbits = -1, cut = 0;  // offbits -1: right after the palette; cut: bytes dropped at the end
    char fill = 0;                                // every pixel byte
};

// Little-endian fields of the given byte widths.
void put(std::string& out, std::initializer_list<std::pair<uint64_t, int>> fields) {
    for (const auto& f : fields)
        for (int i = 0; i < f.second; i++) out.push_back(static_cast<char>(f.first >> (8 * i)));
}

std::string build(const Bmp& b) {
    std::string out = "BM" + std::string(12, '\0');  // the pixel offset is set at the end; the file size is ignored
    put(out, {{b.hsize, 4}, {uint64_t(b.w), 4}, {uint64_t(b.h), 4}, {b.planes, 2}, {b.bpp, 2}, {b.compression, 4},
              {0, 4}, {0, 4}, {0, 4}, {b.clrused, 4}, {0, 4}});
    if (b.compression == 3) put(out, {{b.masks[0], 4}, {b.masks[1], 4}, {b.masks[2], 4}});  // in or after the header
    out.resize(std::max<size_t>(out.size(), 14 + b.hsize));
    for (uint32_t i = 0; b.bpp <= 8 && i < (b.clrused ? b.clrused : 1u << b.bpp); i++) put(out, {{i * 0x10101u, 4}});
    const uint64_t offbits = b.offbits >= 0 ? uint64_t(b.offbits) : out.size();
    out.resize(std::max<uint64_t>(out.size(), offbits));
    out.append((uint64_t(b.w) * b.bpp + 31) / 32 * 4 * uint64_t(b.h < 0 ? -b.h : b.h), b.fill);
    for (int i = 0; i < 4; i++) out[10 + i] = static_cast<char>(offbits >> (8 * i));
    out.resize(out.size() - std::min<uint64_t>(uint64_t(b.cut), out.size()));
    return out;
}

std::string verdict(const std::string& data) {
    const char* why = bmp_check_memory(reinterpret_cast<const unsigned char*>(data.data()), data.size());
    return why ? why : "passes";
}
// What SDL's own decoder makes of the bytes: "<width>x<height>", or "fails".
std::string decoded(const std::string& data) {
    SDL_Surface* s = SDL_LoadBMP_RW(SDL_RWFromConstMem(data.data(), static_cast<int>(data.size())), 1);
    std::string size = s ? std::to_string(s->w) + "x" + std::to_string(s->h) : "fails";
    SDL_FreeSurface(s);
    return size;
}

// Well-formed files of the kinds SDL reads pass and decode; malformed ones
// are refused with their reason. (RLE, top-down files, huge palettes and
// offsets, and 8-bit indices past the palette are among the fuzz findings.)
TEST(BmpCheckTest, EachFileAndEachFuzzFindingGetsItsVerdict) {
    const std::pair<std::string, void (*)(Bmp&)> cases[] = {
        {"passes", [](Bmp&) {}},                                          // 24 bit
        {"passes", [](Bmp& b) { b.bpp = 16; b.compression = 3; }},  // 565 bit fields after the header
        {"passes", [](Bmp& b) { b.hsize = 124; b.bpp = 32; b.compression = 3; }},  // bit fields in a V5 header
        {"passes", [](Bmp& b) { b.bpp = 8; }},
        {"passes", [](Bmp& b) { b.bpp = 4; b.clrused = 3; b.fill = 0x21; }},           // indices 2 and 1 of three
        {"passes", [](Bmp& b) { b.bpp = 4; b.clrused = 2; b.w = 1; b.fill = 0x1F; }},  // low nibble: padding
        {"passes", [](Bmp& b) { b.w = b.h = 1; b.bpp = 32; b.offbits = 66; }},  // zero masks after a gap
        {"file too short", [](Bmp& b) { b.cut = 61; }},
        {"unknown header size", [](Bmp& b) { b.hsize = 64; }},
        {"header cut short", [](Bmp& b) { b.hsize = 124; b.cut = 100; }},
        {"planes not 1", [](Bmp& b) { b.planes = 0; }},
        {"unsupported bit depth", [](Bmp& b) { b.bpp = 15; }},
        {"bit fields need 16 or 32 bits", [](Bmp& b) { b.compression = 3; }},
        {"unsupported compression", [](Bmp& b) { b.compression = 4; }},
        {"size out of range", [](Bmp& b) { b.h = 4097; }},
        {"palette past the end", [](Bmp& b) { b.bpp = 8; b.cut = 1000; }},
        {"pixel data overlaps the headers", [](Bmp& b) { b.bpp = 8; b.offbits = 54; }},
        {"pixel data past the end", [](Bmp& b) { b.cut = 1; }},
        {"pixel outside the palette", [](Bmp& b) { b.bpp = 1; b.clrused = 1; b.fill = 0x20; }},
        {"colour masks past the end", [](Bmp& b) { b.w = b.h = 1; b.bpp = 32; b.offbits = 55; }},
        {"unusable colour masks", [](Bmp& b) { b.bpp = 16; b.compression = 3; b.masks[1] = 0; }},
        {"unusable colour masks", [](Bmp& b) { b.bpp = 32; b.compression = 3; b.masks[0] = 0xF0F0; }},
        {"unusable colour masks", [](Bmp& b) { b.bpp = 32; b.compression = 3; b.masks[0] = 0x3FF00000; }},
        {"overlapping colour masks", [](Bmp& b) { b.bpp = 16; b.compression = 3; b.masks[2] = 0x00FF; }},
    };
    for (const auto& c : cases) {
        Bmp b;
        c.second(b);
        SCOPED_TRACE(testing::Message() << "row " << &c - cases);
        EXPECT_EQ(c.first, verdict(build(b)));
        // sdl12-compat's decoder declines bit fields in a V5 header; declining
        // is safe, and classic SDL 1.2 must read it.
        const bool may_decline = b.hsize == 124 && SDL_Linked_Version()->patch >= 50;
        const std::string got = c.first == "passes" ? decoded(build(b)) : "";
        EXPECT_TRUE(c.first != "passes" || got == std::to_string(b.w) + "x" + std::to_string(b.h) ||
                    (may_decline && got == "fails"));
    }
    EXPECT_EQ("bad magic", verdict("BA" + build(Bmp()).substr(2)));
    // The files kept from fuzzing and from SDL's known weaknesses are judged
    // as named: "refused-..." must fail the check, the others pass it.
    const std::string findings = std::string(RAMPARTICA_SOURCE_DIR) + "/fuzz/regressions/bmp_check";
    ASSERT_FALSE(std::filesystem::is_empty(findings));
    for (const auto& e : std::filesystem::directory_iterator(findings))
        EXPECT_EQ(e.path().filename().string().find("refused-") == 0, verdict(read_file(e.path())) != "passes") << e.path();
}

// A tile set that SDL alone would decode (top-down), but that fails the
// check, refuses its level with the check's reason: the loader never hands
// it to SDL, and the game goes on.
TEST(BmpCheckTest, ATileSetThatFailsTheCheckRefusesItsLevel) {
    TempDir dir("bmprefused");
    const std::string topdown = build([] { Bmp b; b.h = -2; return b; }());
    ASSERT_EQ("3x2", decoded(topdown));
    dir.write("bad.bmp", topdown);
    dir.write("level.txt", "TileSet=bad.bmp\n");
    const char* why = bmp_check_memory(reinterpret_cast<const unsigned char*>(topdown.data()), topdown.size());
    ASSERT_NE(nullptr, why);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Sim().load_level(dir.path.c_str()));
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, log.find("\n" + dir.file("level.txt") + ":1: Tile set: " + why + "\n")) << log;
}

}  // namespace

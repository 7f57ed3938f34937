// The art generator: runs the real rampartica-art on a copy of the real
// sources (with a picture added, or a source broken) and checks what the game
// depends on: the BMP layout its loader reads, exact sizes, and errors that
// point at the offending file and line.
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <tuple>

namespace fs = std::filesystem;

namespace {

// Runs the tool into run (and the icons into icons, if given) on a copy of
// the art sources and levels with one source file added or replaced;
// returns what it printed.
std::string run_tool(const TempDir& run, const std::string& file, const std::string& text, bool succeeds,
                     const std::string& icons = "") {
    TempDir src("art-src");
    for (const char* dir : {"/art", "/levels"})
        fs::copy(RAMPARTICA_SOURCE_DIR + std::string(dir), src.path + dir, fs::copy_options::recursive);
    src.write(file, text);
    int status = -1;
    const std::string tool = RAMPARTICA_ART_TOOL;
    std::string log = run_command(program_command(tool) + " '" + src.path + "' '" + run.path + "' " +
                                      (icons.empty() ? "" : "'" + icons + "' ") + "2>&1",
                                  &status);
    EXPECT_EQ(succeeds, status == 0) << log;
    return log;
}

// The file's bytes after checking every header field the game's loader
// relies on: an uncompressed 24-bit bottom-up BMP with rows padded to 4 bytes.
std::string read_bmp(const std::string& path, std::uint32_t w, std::uint32_t h) {
    std::string d = read_file(path);
    const std::uint32_t size = 54 + (w * 3 + 3) / 4 * 4 * h;
    EXPECT_EQ(size, d.size()) << path;
    if (d.size() < 54) return d;
    auto u32 = [&](size_t at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; i--) v = v << 8 | static_cast<std::uint8_t>(d[at + i]);
        return v;
    };
    EXPECT_EQ("BM", d.substr(0, 2)) << path;
    // file size, pixel data offset, header size, width, height, one plane of 24 bits, no compression
    const std::pair<size_t, std::uint32_t> fields[] = {
        {2, size}, {10, 54}, {14, 40}, {18, w}, {22, h}, {26, 1 | 24 << 16}, {30, 0}};
    for (auto [at, want] : fields) EXPECT_EQ(want, u32(at)) << path << ": header byte " << at;
    return d;
}

std::uint32_t u32be(const std::string& d, size_t at) {
    std::uint32_t v = 0;
    for (size_t i = at; i < at + 4 && i < d.size(); i++) v = v << 8 | static_cast<std::uint8_t>(d[i]);
    return v;
}

// The RGBA pixels of an icon, after checking the layout the tool writes: an
// 8-bit RGBA IHDR, one IDAT holding a zlib stream of stored deflate blocks
// (each length with its complement, the last one flagged), rows with filter
// byte 0, and IEND with its well-known CRC.
std::string icon_pixels(const std::string& d, std::uint32_t size) {
    const std::string ihdr("\0\0\0\x0dIHDR", 8), idat("IDAT"), iend("\0\0\0\0IEND\xae\x42\x60\x82", 12);
    if (d.size() < 53 || d.substr(0, 8) != "\x89PNG\r\n\x1a\n" || d.substr(8, 8) != ihdr ||
        d.substr(37, 4) != idat || d.substr(d.size() - 12) != iend) {
        ADD_FAILURE() << "not the PNG chunks IHDR, IDAT, IEND";
        return {};
    }
    EXPECT_EQ(size, u32be(d, 16));
    EXPECT_EQ(size, u32be(d, 20));
    EXPECT_EQ(std::string("\x08\x06\0\0\0", 5), d.substr(24, 5)) << "8-bit RGBA, no interlace";
    const std::string z = d.substr(41, u32be(d, 33));
    EXPECT_EQ(0, (static_cast<std::uint8_t>(z[0]) * 256 + static_cast<std::uint8_t>(z[1])) % 31) << "zlib header";
    std::string raw;
    size_t at = 2;
    for (bool last = false; !last && at + 5 <= z.size();) {
        last = z[at] & 1;
        EXPECT_EQ(0, z[at] & 6) << "stored block at " << at;
        const std::uint32_t n = static_cast<std::uint8_t>(z[at + 1]) | static_cast<std::uint8_t>(z[at + 2]) << 8;
        const std::uint32_t nn = static_cast<std::uint8_t>(z[at + 3]) | static_cast<std::uint8_t>(z[at + 4]) << 8;
        if ((n ^ nn) != 0xffffu) {
            ADD_FAILURE() << "the block at " << at << " has a length without its complement";
            return {};
        }
        raw += z.substr(at + 5, n);
        at += 5 + n;
    }
    EXPECT_EQ(z.size(), at + 4) << "the blocks end where the Adler-32 begins";
    const size_t row = 1 + 4 * size;
    EXPECT_EQ(row * size, raw.size());
    std::string rgba;
    for (size_t r = 0; r * row < raw.size(); r++) {
        if (raw[r * row] != 0) {
            ADD_FAILURE() << "filter of row " << r;
            return {};
        }
        rgba += raw.substr(r * row + 1, row - 1);
    }
    return rgba;
}

}  // namespace

TEST(ArtToolTest, EveryImageHasTheSizeAndTheBottomUpBlueGreenRedLayoutTheGameReads) {
    TempDir run("art-run");
    run_tool(run, "art/pictures/odd.txt", "size 3 2\nfill #102030\nrect 0 0 1 1 #ff0000\nrect 2 1 1 1 #00ff00\n", true);
    const std::tuple<const char*, std::uint32_t, std::uint32_t> expected[] = {
        {"letters.bmp", 1536, 12},    {"letters_black.bmp", 1536, 12}, {"img/mainmenu.bmp", 320, 240},
        {"img/help.bmp", 320, 240},   {"img/gameover.bmp", 320, 240},  {"img/back.bmp", 320, 240},
        {"img/sidebar.bmp", 80, 240}, {"img/symbol.bmp", 96, 16},      {"img/cursor.bmp", 80, 16},
        {"img/bar.bmp", 2, 16},  // 6 bytes of pixels per row, padded to 8
        {"levels/Meadow/tiles.bmp", 128, 64}, {"levels/Canyon/tiles.bmp", 128, 64},
        {"levels/Frostmarsh/tiles.bmp", 128, 64}, {"levels/Emberkeep/tiles.bmp", 128, 64},
    };
    for (auto [file, w, h] : expected) read_bmp(run.file(file), w, h);
    // The bottom row first (background, background, green, 3 bytes of
    // padding), then the top row, whose first pixel is red.
    EXPECT_EQ(std::string("\x30\x20\x10\x30\x20\x10\x00\xff\x00\x00\x00\x00\x00\x00\xff", 15),
              read_bmp(run.file("img/odd.bmp"), 3, 2).substr(54, 15));
}

TEST(ArtToolTest, ABadSourceIsReportedWithFileAndLineAndNothingIsWritten) {
    TempDir run("art-run");
    std::string log = run_tool(run, "art/sprites/zz_bad.txt", "grid bad\n.k.\n.@.\nend\n", false);
    EXPECT_NE(std::string::npos, log.find("zz_bad.txt:3: unknown palette character '@'")) << log;
    EXPECT_FALSE(fs::exists(run.file("letters.bmp"))) << "a failed run leaves no half of its outputs";
}

TEST(ArtToolTest, TheIconIsAPngOfEveryHicolorSizeScaledWholeWithMagentaSeeThrough) {
    TempDir run("art-run"), icons("art-icons");
    run_tool(run, "art/icons/rampartica.txt",
             "size 16 16\nfill key-magenta\nrect 0 0 1 1 #102030\nrect 15 15 1 1 #ff0000\n", true, icons.path);
    const std::string dark("\x10\x20\x30\xff", 4), red("\xff\0\0\xff", 4), clear(4, '\0');
    for (std::uint32_t n : {32u, 48u, 64u, 128u, 256u}) {  // 256 needs several stored blocks
        const std::string file = std::to_string(n) + "x" + std::to_string(n) + "/apps/rampartica.png";
        const std::string px = icon_pixels(read_file(icons.file(file)), n);
        if (px.size() != 4u * n * n) continue;
        auto at = [&](std::uint32_t x, std::uint32_t y) { return px.substr(4 * (y * n + x), 4); };
        const std::uint32_t f = n / 16;  // each source pixel becomes f x f
        EXPECT_EQ(dark, at(0, 0)) << file;
        EXPECT_EQ(dark, at(f - 1, f - 1)) << file;
        EXPECT_EQ(clear, at(f, 0)) << file;
        EXPECT_EQ(red, at(n - f, n - f)) << file;
        EXPECT_EQ(clear, at(n - f - 1, n - 1)) << file;
    }
    std::string log = run_tool(run, "art/icons/rampartica.txt", "size 32 32\n", false, icons.path);
    EXPECT_NE(std::string::npos, log.find("rampartica.txt: an icon must be 16x16, the source makes 32x32")) << log;
}

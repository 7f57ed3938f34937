// The art generator: runs the real rampartica-art on the real sources (and
// on small copies made for the test) and checks what the game depends on:
// the BMP layout its loader reads, exact sizes, the tile sheets'
// transparency key, and errors that point at the offending file and line.
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <tuple>

namespace fs = std::filesystem;

namespace {

const std::string kSource = RAMPARTICA_SOURCE_DIR;

// Runs the tool on the sources below root, expecting it to succeed or to
// fail; returns what it printed.
std::string run_tool(const std::string& root, const std::string& run_dir, bool succeeds = true) {
    int status = -1;
    const std::string tool = RAMPARTICA_BINARY_DIR "/tools/art/rampartica-art";
    std::string log = run_command("'" + tool + "' '" + root + "' '" + run_dir + "' 2>&1", &status);
    EXPECT_EQ(succeeds, status == 0) << log;
    return log;
}

// A copy of the art sources to add to or break on purpose. Without level
// folders the tool makes no tile sheets.
struct ArtCopy : TempDir {
    ArtCopy() : TempDir("art-src") { fs::copy(kSource + "/art", file("art"), fs::copy_options::recursive); }
};

// The file's bytes after checking every header field the game's loader
// relies on: an uncompressed 24-bit bottom-up BMP with rows padded to 4 bytes.
std::string read_bmp(const std::string& path, std::uint32_t w, std::uint32_t h) {
    std::string d = read_file(path);
    auto u32 = [&](size_t at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; i--) v = v << 8 | static_cast<std::uint8_t>(d[at + i]);
        return v;
    };
    EXPECT_EQ(54 + (w * 3 + 3) / 4 * 4 * h, d.size()) << path;
    if (d.size() < 54) return d;
    EXPECT_EQ("BM", d.substr(0, 2)) << path;
    EXPECT_EQ(d.size(), u32(2)) << path << ": file size";
    EXPECT_EQ(54u, u32(10)) << path << ": pixel data offset";
    EXPECT_EQ(40u, u32(14)) << path << ": header size";
    EXPECT_EQ(w, u32(18)) << path << ": width";
    EXPECT_EQ(h, u32(22)) << path << ": height";
    EXPECT_EQ(1u | 24u << 16, u32(26)) << path << ": one plane of 24 bits";
    EXPECT_EQ(0u, u32(30)) << path << ": compression";
    return d;
}

}  // namespace

TEST(ArtToolTest, MakesEveryImageTheGameLoadsAtItsExactSizeWithMagentaKeyedTileSheets) {
    TempDir run("art-run");
    run_tool(kSource, run.path);
    const std::tuple<const char*, std::uint32_t, std::uint32_t> expected[] = {
        {"letters.bmp", 1536, 12},    {"letters_black.bmp", 1536, 12}, {"img/mainmenu.bmp", 320, 240},
        {"img/help.bmp", 320, 240},   {"img/gameover.bmp", 320, 240},  {"img/back.bmp", 320, 240},
        {"img/sidebar.bmp", 80, 240}, {"img/symbol.bmp", 96, 16},      {"img/cursor.bmp", 80, 16},
        {"img/bar.bmp", 2, 16},  // 6 bytes of pixels per row, padded to 8
    };
    for (auto [file, w, h] : expected) read_bmp(run.file(file), w, h);

    int sheets = 0;
    for (const auto& level : fs::directory_iterator(kSource + "/levels")) {
        if (!fs::exists(level.path() / "tiles.txt")) continue;
        std::string name = level.path().filename().string();
        std::string d = read_bmp(run.file("levels/" + name + "/tiles.bmp"), 128, 64);
        // The game keys the sheet's transparency off its bottom-left pixel,
        // the first one stored; the terrain row (stored last) must not use it.
        const std::string magenta("\xff\x00\xff", 3);
        EXPECT_EQ(magenta, d.substr(54, 3)) << name;
        for (size_t at = 54 + 384 * 48; at < d.size(); at += 3)
            ASSERT_NE(magenta, d.substr(at, 3)) << name << " at byte " << at;
        ++sheets;
    }
    EXPECT_GE(sheets, 4);
}

TEST(ArtToolTest, PicturesAreStoredBottomUpInBlueGreenRedWithZeroPadding) {
    ArtCopy src;
    src.write("art/pictures/odd.txt", "size 3 2\nfill #102030\nrect 0 0 1 1 #ff0000\nrect 2 1 1 1 #00ff00\n");
    TempDir run("art-run");
    run_tool(src.path, run.path);
    // The bottom row first (background, background, green, 3 bytes of
    // padding), then the top row, whose first pixel is red.
    EXPECT_EQ(std::string("\x30\x20\x10\x30\x20\x10\x00\xff\x00\x00\x00\x00\x00\x00\xff", 15),
              read_bmp(run.file("img/odd.bmp"), 3, 2).substr(54, 15));
}

TEST(ArtToolTest, BadSourcesAreReportedWithFileAndLineAndWriteNothing) {
    const struct {
        const char* file;
        const char* text;
        const char* expected;
    } cases[] = {
        {"art/sprites/zz_bad.txt", "grid bad\n.k.\n.@.\nend\n", "zz_bad.txt:3: unknown palette character '@'"},
        {"art/pictures/bar.txt", "size 3 16\nfill k\n", "img/bar.bmp must be 2x16"},  // a picture the game needs
    };
    for (const auto& c : cases) {
        ArtCopy src;
        src.write(c.file, c.text);
        TempDir run("art-run");
        std::string log = run_tool(src.path, run.path, false);
        EXPECT_NE(std::string::npos, log.find(c.expected)) << log;
        EXPECT_FALSE(fs::exists(run.file("letters.bmp"))) << c.file << ": a failed run leaves no half of its outputs";
    }
}

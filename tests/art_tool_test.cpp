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

// Runs the tool into run on a copy of the art sources and levels with one
// source file added or replaced; returns what it printed.
std::string run_tool(const TempDir& run, const std::string& file, const std::string& text, bool succeeds) {
    TempDir src("art-src");
    for (const char* dir : {"/art", "/levels"})
        fs::copy(RAMPARTICA_SOURCE_DIR + std::string(dir), src.path + dir, fs::copy_options::recursive);
    src.write(file, text);
    int status = -1;
    const std::string tool = RAMPARTICA_BINARY_DIR "/tools/art/rampartica-art";
    std::string log = run_command(program_command(tool) + " '" + src.path + "' '" + run.path + "' 2>&1", &status);
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

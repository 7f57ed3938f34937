// The art generator: runs the real rampartica-art on the real sources (and
// on small broken copies) and checks what the game depends on: BMP layout,
// exact sizes, transparency keys, the font sheets, and error messages that
// point at the offending file and line.
#include "support/test_env.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kTool = std::string(RAMPARTICA_BINARY_DIR) + "/tools/art/rampartica-art";
const std::string kSource = RAMPARTICA_SOURCE_DIR;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::uint32_t le32(const std::string& d, size_t at) {
    return static_cast<std::uint8_t>(d[at]) | static_cast<std::uint8_t>(d[at + 1]) << 8 |
           static_cast<std::uint8_t>(d[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(d[at + 3])) << 24;
}

std::uint16_t le16(const std::string& d, size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(d[at]) | static_cast<std::uint8_t>(d[at + 1]) << 8);
}

// A 24-bit BMP as the tool writes it, with every header field the game's
// loader relies on checked on the way in.
struct Bmp {
    int width = 0, height = 0;
    std::string data;

    static Bmp read(const std::string& path) {
        Bmp bmp;
        bmp.data = read_file(path);
        const std::string& d = bmp.data;
        EXPECT_GE(d.size(), 54u) << path;
        if (d.size() < 54) return bmp;
        EXPECT_EQ("BM", d.substr(0, 2)) << path;
        EXPECT_EQ(d.size(), le32(d, 2)) << path << ": file size field";
        EXPECT_EQ(54u, le32(d, 10)) << path << ": pixel data offset";
        EXPECT_EQ(40u, le32(d, 14)) << path << ": BITMAPINFOHEADER size";
        bmp.width = static_cast<int>(le32(d, 18));
        bmp.height = static_cast<int>(le32(d, 22));
        EXPECT_EQ(1, le16(d, 26)) << path << ": planes";
        EXPECT_EQ(24, le16(d, 28)) << path << ": bits per pixel";
        EXPECT_EQ(0u, le32(d, 30)) << path << ": compression";
        EXPECT_EQ(54u + bmp.stride() * bmp.height, d.size()) << path << ": rows padded to 4 bytes";
        return bmp;
    }

    size_t stride() const { return (static_cast<size_t>(width) * 3 + 3) / 4 * 4; }

    // (x, y) with y counted from the top, as the game sees the picture.
    Rgb at(int x, int y) const {
        size_t p = 54 + stride() * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3;
        return {static_cast<std::uint8_t>(data[p + 2]), static_cast<std::uint8_t>(data[p + 1]),
                static_cast<std::uint8_t>(data[p])};
    }
};

// Runs the tool; returns what it printed (stdout and stderr together).
std::string run_tool(const std::string& root, const std::string& run_dir, int* status) {
    return run_command("'" + kTool + "' '" + root + "' '" + run_dir + "' 2>&1", status);
}

// A throw-away copy of the art sources to break on purpose. Levels are left
// out: without level folders the tool has no tile sheets to make.
struct ArtCopy {
    TempDir dir{"art-src"};
    ArtCopy() { fs::copy(kSource + "/art", dir.file("art"), fs::copy_options::recursive); }
    std::string root() const { return dir.path; }
};

const Rgb kMagenta{255, 0, 255};

} // namespace

TEST(ArtToolTest, MakesEveryImageTheGameLoadsAtItsExactSize) {
    TempDir run("art-run");
    int status = -1;
    std::string log = run_tool(kSource, run.path, &status);
    ASSERT_EQ(0, status) << log;

    const struct {
        const char* file;
        int w, h;
    } expected[] = {
        {"letters.bmp", 1536, 12},    {"letters_black.bmp", 1536, 12}, {"img/mainmenu.bmp", 320, 240},
        {"img/help.bmp", 320, 240},   {"img/gameover.bmp", 320, 240},  {"img/back.bmp", 320, 240},
        {"img/sidebar.bmp", 80, 240}, {"img/symbol.bmp", 96, 16},      {"img/cursor.bmp", 80, 16},
        {"img/bar.bmp", 2, 16}, // 6 bytes of pixels per row, padded to 8
    };
    for (const auto& e : expected) {
        Bmp bmp = Bmp::read(run.file(e.file));
        EXPECT_EQ(e.w, bmp.width) << e.file;
        EXPECT_EQ(e.h, bmp.height) << e.file;
        SDL_Surface* s = SDL_LoadBMP(run.file(e.file).c_str());
        ASSERT_NE(nullptr, s) << e.file << ": " << SDL_GetError();
        EXPECT_EQ(e.w, s->w) << e.file;
        EXPECT_EQ(e.h, s->h) << e.file;
        SDL_FreeSurface(s);
    }

    int sheets = 0;
    for (const auto& level : fs::directory_iterator(kSource + "/levels")) {
        if (!fs::exists(level.path() / "tiles.txt")) continue;
        std::string name = level.path().filename().string();
        Bmp bmp = Bmp::read(run.file("levels/" + name + "/tiles.bmp"));
        ASSERT_EQ(128, bmp.width) << name;
        ASSERT_EQ(64, bmp.height) << name;
        // The game keys the sheet's transparency off its bottom-left pixel.
        EXPECT_EQ(kMagenta, bmp.at(0, 63)) << name;
        int see_through_terrain = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 128; ++x) see_through_terrain += bmp.at(x, y) == kMagenta;
        EXPECT_EQ(0, see_through_terrain) << name << ": map tiles must be opaque";
        ++sheets;
    }
    EXPECT_GE(sheets, 4);
}

TEST(ArtToolTest, LetterSheetsArePureInversesWithGlyphsInTheirCells) {
    TempDir run("art-run");
    int status = -1;
    std::string log = run_tool(kSource, run.path, &status);
    ASSERT_EQ(0, status) << log;
    Bmp white = Bmp::read(run.file("letters.bmp"));
    Bmp black = Bmp::read(run.file("letters_black.bmp"));
    ASSERT_EQ(1536, white.width);
    ASSERT_EQ(1536, black.width);

    auto ink_in_cell = [&](int c) {
        int ink = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 6; ++x) ink += white.at(c * 6 + x, y) == Rgb{255, 255, 255};
        return ink;
    };
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 1536; ++x) {
            Rgb w = white.at(x, y), b = black.at(x, y);
            ASSERT_TRUE(w == (Rgb{0, 0, 0}) || w == (Rgb{255, 255, 255})) << x << "," << y;
            ASSERT_EQ(255 - w.r, b.r) << x << "," << y;
        }
    EXPECT_GT(ink_in_cell('A'), 0);
    EXPECT_GT(ink_in_cell(0xe9), 0); // e acute: Latin-1 is there too
    EXPECT_EQ(0, ink_in_cell(' '));
    EXPECT_EQ(0, ink_in_cell(7)); // control codes stay blank

    // 'g' pixel for pixel as the font source draws it, top row first, so
    // neither the cell position nor the row order can drift.
    std::string font = read_file(kSource + "/art/font/6x12.txt");
    size_t at = font.find("\nchar 103");
    ASSERT_NE(std::string::npos, at);
    at = font.find('\n', at + 1) + 1;
    for (int y = 0; y < 12; ++y, at += 7)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(font[at + x] == '#', white.at(103 * 6 + x, y) == (Rgb{255, 255, 255})) << x << "," << y;
}

TEST(ArtToolTest, OddWidthPicturesArePaddedAndStoredBottomUp) {
    ArtCopy src;
    src.dir.write("art/pictures/odd.txt",
                  "size 3 2\n"
                  "fill #102030\n"
                  "rect 0 0 1 1 #ff0000\n"
                  "rect 2 1 1 1 #00ff00\n");
    TempDir run("art-run");
    int status = -1;
    std::string log = run_tool(src.root(), run.path, &status);
    ASSERT_EQ(0, status) << log;

    const std::string d = read_file(run.file("img/odd.bmp"));
    ASSERT_EQ(54u + 2 * 12, d.size()); // 9 bytes of pixels + 3 of padding per row
    auto byte = [&](size_t i) { return static_cast<int>(static_cast<std::uint8_t>(d[54 + i])); };
    // First stored row is the bottom one: background, background, green (B,G,R).
    EXPECT_EQ((std::vector<int>{0x30, 0x20, 0x10, 0x30, 0x20, 0x10, 0, 255, 0, 0, 0, 0}),
              (std::vector<int>{byte(0), byte(1), byte(2), byte(3), byte(4), byte(5), byte(6), byte(7), byte(8),
                                byte(9), byte(10), byte(11)}));
    // Then the top row, starting with red.
    EXPECT_EQ(0, byte(12));
    EXPECT_EQ(0, byte(13));
    EXPECT_EQ(255, byte(14));
}

TEST(ArtToolTest, BadSourcesAreReportedWithFileAndLineAndWriteNothing) {
    struct Case {
        const char* what;
        const char* file;
        const char* text;
        const char* expected;
    } cases[] = {
        {"short grid row", "art/sprites/zz_bad.txt", "grid bad\n....\n...\n....\nend\n",
         "zz_bad.txt:3: row is 3 characters wide, grid 'bad' is 4 wide"},
        {"unknown palette character", "art/sprites/zz_bad.txt", "# a comment\ngrid bad\n.k.\n.@.\nend\n",
         "zz_bad.txt:4: unknown palette character '@'"},
        {"unknown scene command", "art/pictures/zz_bad.txt", "size 4 4\nfill k\nsparkle 1 2\n",
         "zz_bad.txt:3: unknown command 'sparkle'"},
        {"misspelt option", "art/pictures/zz_bad.txt", "size 4 4\n\nsprite 0 0 star scael=2\n",
         "zz_bad.txt:3: unexpected 'scael=2'"},
        {"text off the picture", "art/pictures/zz_bad.txt", "size 20 12\ntext 0 0 \"too long\"\n",
         "zz_bad.txt:2: text covers x 0..47"},
        {"wrong size for a picture the game needs", "art/pictures/bar.txt", "size 3 16\nfill k\n",
         "img/bar.bmp must be 2x16"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ArtCopy src;
        src.dir.write(c.file, c.text);
        TempDir run("art-run");
        int status = 0;
        std::string log = run_tool(src.root(), run.path, &status);
        EXPECT_NE(0, status);
        EXPECT_NE(std::string::npos, log.find(c.expected)) << log;
        EXPECT_FALSE(fs::exists(run.file("letters.bmp"))) << "a failed run must not leave half its outputs";
    }
}

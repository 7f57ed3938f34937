// What the game expects from us: which files, how big, and the rules each
// must obey. Checked after rendering so a source edit that breaks an
// expectation fails the build instead of the game.
#pragma once

#include "image.h"

#include <string>
#include <vector>

struct RequiredPicture {
    const char* name; // art/pictures/<name>.txt -> img/<name>.bmp
    int width;
    int height;
};

const std::vector<RequiredPicture>& required_pictures();

// Size of levels/<Name>/tiles.bmp: 8 columns x 4 rows of 16x16 cells.
constexpr int kTileSheetWidth = 128;
constexpr int kTileSheetHeight = 64;

// A desktop icon, art/icons/<name>.txt, is drawn once at this size, square,
// and scaled up by whole numbers to every size the desktop's hicolor theme
// asks for, so its pixels stay crisp like the game's. Magenta is see-through.
constexpr int kIconSource = 16;
const std::vector<int>& icon_sizes();

// Returns an empty string when the picture is fine, else what is wrong.
std::string check_picture(const std::string& name, const Image& image);
std::string check_tile_sheet(const Image& image);
std::string check_icon(const Image& image);

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

// Returns an empty string when the picture is fine, else what is wrong.
std::string check_picture(const std::string& name, const Image& image);
std::string check_tile_sheet(const Image& image);

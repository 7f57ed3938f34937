#include "art_outputs.h"

const std::vector<RequiredPicture>& required_pictures() {
    static const std::vector<RequiredPicture> list{
        {"mainmenu", 320, 240}, {"help", 320, 240}, {"gameover", 320, 240}, {"back", 320, 240},
        {"sidebar", 80, 240},   {"symbol", 96, 16}, {"cursor", 80, 16},     {"bar", 2, 16},
    };
    return list;
}

const std::vector<int>& icon_sizes() {
    static const std::vector<int> list{32, 48, 64, 128, 256};
    return list;
}

static std::string size_text(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

std::string check_picture(const std::string& name, const Image& image) {
    for (const RequiredPicture& p : required_pictures())
        if (name == p.name && (image.width() != p.width || image.height() != p.height))
            return "img/" + name + ".bmp must be " + size_text(p.width, p.height) + ", the source makes " +
                   size_text(image.width(), image.height());
    return {};
}

std::string check_tile_sheet(const Image& image) {
    if (image.width() != kTileSheetWidth || image.height() != kTileSheetHeight)
        return "a tile sheet must be " + size_text(kTileSheetWidth, kTileSheetHeight) + ", the source makes " +
               size_text(image.width(), image.height());
    // The game keys transparency off the bottom-left pixel.
    if (image.at(0, kTileSheetHeight - 1) != kKeyMagenta)
        return "pixel (0,63) must be magenta #ff00ff: the game takes it as the transparent colour";
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < kTileSheetWidth; ++x)
            if (image.at(x, y) == kKeyMagenta)
                return "terrain row has a see-through (magenta) pixel at (" + std::to_string(x) + "," +
                       std::to_string(y) + "); map tiles must be opaque";
    return {};
}

std::string check_icon(const Image& image) {
    if (image.width() != kIconSource || image.height() != kIconSource)
        return "an icon must be " + size_text(kIconSource, kIconSource) + ", the source makes " +
               size_text(image.width(), image.height());
    return {};
}

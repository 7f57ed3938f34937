// rampartica-art REPO_ROOT RUN_DIR [ICON_DIR]
//
// Renders every image the game loads from our text sources: the font
// sheets, the pictures in art/pictures and each level's tile sheet; and the
// desktop icons in art/icons, which are written only when ICON_DIR is given.
// All images are rendered before any is written, so a bad source leaves the
// previous outputs in place; files whose bytes did not change are not
// rewritten.
#include "art_outputs.h"
#include "bmp_writer.h"
#include "font.h"
#include "grid.h"
#include "palette.h"
#include "png_writer.h"
#include "scene.h"
#include "source_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <set>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Output {
    fs::path path; // relative to the run (or icon) directory
    std::vector<std::uint8_t> bytes;
};

std::vector<fs::path> sorted_entries(const fs::path& dir) {
    std::vector<fs::path> list;
    if (fs::is_directory(dir))
        for (const auto& e : fs::directory_iterator(dir)) list.push_back(e.path());
    std::sort(list.begin(), list.end());
    return list;
}

void render_pictures(const fs::path& root, const ArtKit& kit, std::vector<Output>& out) {
    std::set<std::string> found;
    for (const fs::path& src : sorted_entries(root / "art" / "pictures")) {
        if (src.extension() != ".txt") continue;
        std::string name = src.stem().string();
        Image img = render_scene(src.string(), kit);
        std::string problem = check_picture(name, img);
        if (!problem.empty()) throw SourceError(src.string(), 0, problem);
        out.push_back({fs::path("img") / (name + ".bmp"), encode_bmp(img)});
        found.insert(name);
    }
    for (const RequiredPicture& p : required_pictures())
        if (!found.count(p.name))
            throw SourceError((root / "art" / "pictures" / (std::string(p.name) + ".txt")).string(), 0,
                              "missing: the game needs img/" + std::string(p.name) + ".bmp");
}

void render_tile_sheets(const fs::path& root, const ArtKit& kit, std::vector<Output>& out) {
    for (const fs::path& dir : sorted_entries(root / "levels")) {
        if (!fs::is_directory(dir)) continue;
        fs::path src = dir / "tiles.txt";
        if (!fs::exists(src)) {
            if (fs::exists(dir / "level.txt"))
                throw SourceError(src.string(), 0, "missing: the level in this folder needs its tile sheet");
            continue;
        }
        Image img = render_scene(src.string(), kit);
        std::string problem = check_tile_sheet(img);
        if (!problem.empty()) throw SourceError(src.string(), 0, problem);
        out.push_back({fs::path("levels") / dir.filename() / "tiles.bmp", encode_bmp(img)});
    }
}

// art/icons/<name>.txt -> <size>x<size>/apps/<name>.png, the layout of the
// desktop's hicolor icon theme.
void render_icons(const fs::path& root, const ArtKit& kit, std::vector<Output>& out) {
    for (const fs::path& src : sorted_entries(root / "art" / "icons")) {
        if (src.extension() != ".txt") continue;
        Image img = render_scene(src.string(), kit);
        std::string problem = check_icon(img);
        if (!problem.empty()) throw SourceError(src.string(), 0, problem);
        for (int size : icon_sizes()) {
            const std::string dir = std::to_string(size) + "x" + std::to_string(size);
            out.push_back({fs::path(dir) / "apps" / (src.stem().string() + ".png"),
                           encode_png(img.scaled(size / kIconSource), kKeyMagenta)});
        }
    }
}

bool write_all(const fs::path& dir, const std::vector<Output>& outputs) {
    for (const Output& o : outputs) {
        fs::path target = dir / o.path;
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        if (ec || !write_if_changed(target.string(), o.bytes)) {
            std::cerr << target.string() << ": cannot write: " << (ec ? ec.message() : std::strerror(errno)) << "\n";
            return false;
        }
    }
    return true;
}

int run(const fs::path& root, const fs::path& run_dir, const char* icon_dir) {
    Palette palette = Palette::load((root / "art" / "palette.txt").string());
    Font font = Font::load((root / "art" / "font" / "6x12.txt").string());
    GridBook grids = load_grid_dir((root / "art" / "sprites").string(), palette);
    ArtKit kit{palette, font, grids};

    std::vector<Output> outputs;
    outputs.push_back({"letters.bmp", encode_bmp(font.sheet(Rgb{255, 255, 255}, Rgb{0, 0, 0}))});
    outputs.push_back({"letters_black.bmp", encode_bmp(font.sheet(Rgb{0, 0, 0}, Rgb{255, 255, 255}))});
    render_pictures(root, kit, outputs);
    render_tile_sheets(root, kit, outputs);
    std::vector<Output> icons;
    render_icons(root, kit, icons);

    if (!write_all(run_dir, outputs)) return 1;
    return icon_dir == nullptr || write_all(icon_dir, icons) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: rampartica-art REPO_ROOT RUN_DIR [ICON_DIR]\n"
                     "Renders the game's images from the text sources under REPO_ROOT into RUN_DIR,\n"
                     "and the desktop icons into ICON_DIR (as <size>x<size>/apps/<name>.png).\n";
        return 2;
    }
    try {
        return run(argv[1], argv[2], argc == 4 ? argv[3] : nullptr);
    } catch (const SourceError& e) {
        std::cerr << e.what() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "rampartica-art: " << e.what() << "\n";
    }
    return 1;
}

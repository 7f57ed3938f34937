#include "scene.h"

#include "draw_ops.h"
#include "scene_options.h"
#include "scene_text.h"
#include "source_error.h"

#include <memory>

namespace {

constexpr int kCell = 16; // map tiles, sprites and sheet cells are all 16x16

class SceneRunner {
public:
    SceneRunner(const std::string& path, const ArtKit& kit) : kit_(kit), src_(read_source(path)) {}

    Image run() {
        for (size_t i = 0; i < src_.lines.size();) {
            const SourceLine& line = src_.lines[i++];
            std::vector<Word> words = split_words(src_.path, line);
            if (!words.empty()) command(line, words, i);
        }
        if (!image_) throw SourceError(src_.path, 0, "no 'size W H' line: the picture has no canvas");
        return *image_;
    }

private:
    const std::string& file() const { return src_.path; }

    int num(const SourceLine& line, const Word& w, const char* what) const {
        return parse_int(file(), line.number, w.text, what);
    }

    void need(const SourceLine& line, const std::vector<Word>& words, size_t count, const char* usage) const {
        if (words.size() < count) throw SourceError(file(), line.number, std::string("expected: ") + usage);
    }

    Image& canvas(const SourceLine& line) {
        if (!image_) throw SourceError(file(), line.number, "draw commands need a 'size W H' line first");
        return *image_;
    }

    Box box(const SourceLine& line, const std::vector<Word>& w) const {
        Box b{num(line, w[1], "x"), num(line, w[2], "y"), num(line, w[3], "width"), num(line, w[4], "height")};
        if (b.w <= 0 || b.h <= 0) throw SourceError(file(), line.number, "width and height must be positive");
        return b;
    }

    Rgb colour(const SourceLine& line, const Word& w) const { return kit_.palette.require(file(), line.number, w.text); }

    const Grid& grid(const SourceLine& line, const std::string& name) const {
        auto local = local_grids_.find(name);
        if (local != local_grids_.end()) return local->second;
        auto shared = kit_.grids.find(name);
        if (shared != kit_.grids.end()) return shared->second;
        throw SourceError(file(), line.number, "no grid named '" + name + "' here or in art/sprites");
    }

    GridPlacement placement(const Options& opt) const {
        GridPlacement how;
        how.scale = opt.number("scale", 1, 1, 16);
        how.flip = opt.has("flip");
        how.recolour = opt.colour_map(kit_.palette, recolour_sets_);
        return how;
    }

    void command(const SourceLine& line, const std::vector<Word>& w, size_t& next) {
        const std::string& cmd = w[0].text;
        const int n = line.number;
        if (cmd == "size") {
            need(line, w, 3, "size WIDTH HEIGHT");
            Options(file(), n, w, 3, {});
            if (image_) throw SourceError(file(), n, "the canvas size is already set");
            int width = num(line, w[1], "width"), height = num(line, w[2], "height");
            if (width <= 0 || height <= 0 || width > 4096 || height > 4096)
                throw SourceError(file(), n, "canvas must be 1..4096 pixels each way");
            image_ = std::make_unique<Image>(width, height);
        } else if (cmd == "grid") {
            need(line, w, 2, "grid NAME, then rows, then end");
            if (kit_.grids.count(w[1].text) || local_grids_.count(w[1].text))
                throw SourceError(file(), n, "grid '" + w[1].text + "' already exists");
            add_grid(local_grids_, parse_grid_block(src_, next, w[1].text, n, kit_.palette));
        } else if (cmd == "recolor") {
            need(line, w, 3, "recolor NAME CHAR:COLOUR ...");
            ColourMap& set = recolour_sets_[w[1].text];
            if (!set.empty()) throw SourceError(file(), n, "recolor set '" + w[1].text + "' already exists");
            for (size_t i = 2; i < w.size(); ++i) parse_recolour_pair(file(), n, w[i].text, kit_.palette, set);
        } else if (cmd == "fill") {
            need(line, w, 2, "fill COLOUR");
            Options(file(), n, w, 2, {});
            Image& img = canvas(line);
            img.fill_rect(0, 0, img.width(), img.height(), colour(line, w[1]));
        } else if (cmd == "rect") {
            need(line, w, 6, "rect X Y W H COLOUR");
            Options(file(), n, w, 6, {});
            Box b = box(line, w);
            canvas(line).fill_rect(b.x, b.y, b.w, b.h, colour(line, w[5]));
        } else if (cmd == "frame") {
            need(line, w, 6, "frame X Y W H COLOUR [width=N]");
            Options opt(file(), n, w, 6, {"width"});
            draw_frame(canvas(line), box(line, w), colour(line, w[5]), opt.number("width", 1, 1, 100));
        } else if (cmd == "bevel") {
            need(line, w, 7, "bevel X Y W H LIGHT DARK [width=N]");
            Options opt(file(), n, w, 7, {"width"});
            draw_bevel(canvas(line), box(line, w), colour(line, w[5]), colour(line, w[6]), opt.number("width", 1, 1, 100));
        } else if (cmd == "gradient") {
            need(line, w, 7, "gradient X Y W H TOP BOTTOM [steps=N] [dither]");
            Options opt(file(), n, w, 7, {"steps", "dither"});
            draw_gradient(canvas(line), box(line, w), colour(line, w[5]), colour(line, w[6]),
                          opt.number("steps", 0, 0, 256), opt.has("dither"));
        } else if (cmd == "ellipse") {
            need(line, w, 6, "ellipse X Y W H COLOUR");
            Options(file(), n, w, 6, {});
            draw_ellipse(canvas(line), box(line, w), colour(line, w[5]));
        } else if (cmd == "sprite") {
            need(line, w, 4, "sprite X Y NAME [scale=N] [flip] [map=...]");
            Options opt(file(), n, w, 4, {"scale", "flip", "map"});
            draw_grid(canvas(line), kit_.palette, grid(line, w[3].text), num(line, w[1], "x"), num(line, w[2], "y"),
                      placement(opt));
        } else if (cmd == "cell") {
            need(line, w, 4, "cell COLUMN ROW NAME [flip] [map=...]");
            Options opt(file(), n, w, 4, {"flip", "map"});
            const Grid& g = grid(line, w[3].text);
            if (g.width != kCell || g.height != kCell)
                throw SourceError(file(), n, "grid '" + g.name + "' is " + std::to_string(g.width) + "x" +
                                                 std::to_string(g.height) + ", a cell needs 16x16");
            draw_grid(canvas(line), kit_.palette, g, num(line, w[1], "column") * kCell, num(line, w[2], "row") * kCell,
                      placement(opt));
        } else if (cmd == "pattern") {
            need(line, w, 6, "pattern X Y W H NAME [scale=N] [flip] [map=...]");
            Options opt(file(), n, w, 6, {"scale", "flip", "map"});
            draw_pattern(canvas(line), kit_.palette, grid(line, w[5].text), box(line, w), placement(opt));
        } else if (cmd == "text" || cmd == "lines" || cmd == "table") {
            SceneCanvas sc{kit_, src_, canvas(line)};
            if (cmd == "text") scene_text(sc, line, w);
            if (cmd == "lines") scene_lines(sc, line, w, next);
            if (cmd == "table") scene_table(sc, line, w, next);
        } else {
            throw SourceError(file(), n, "unknown command '" + cmd + "'");
        }
    }

    const ArtKit& kit_;
    SourceFile src_;
    std::unique_ptr<Image> image_;
    GridBook local_grids_;
    RecolourSets recolour_sets_;
};

} // namespace

Image render_scene(const std::string& path, const ArtKit& kit) {
    return SceneRunner(path, kit).run();
}

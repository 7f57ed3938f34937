// rampartica-level: the level authors' tool.
//   rampartica-level check DIR...              every problem of each level, as compilers print them
//   rampartica-level balance DIR [--svg FILE]  the level played by the scripted player, wave by wave
// It runs the game's own loader and simulation headlessly, with the game's
// pictures found next to the tool or in the installed data folder.
#include "level/balance.h"
#include "level/headless.h"
#include "level/level_check.h"
#include "level/svg_plot.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: rampartica-level check DIR...\n"
    "       rampartica-level balance DIR [--svg FILE]\n"
    "DIR is a level directory holding level.txt (for example levels/Meadow).\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

// A level directory as given, for messages, and as an absolute path, since
// the tool works from the game's data folder.
struct LevelDir {
    std::string shown, path;
};

int check(const std::vector<LevelDir>& dirs) {
    bool any_error = false;
    for (const LevelDir& dir : dirs) {
        LevelCheck result = check_level_dir(dir.shown, dir.path);
        print_findings(stdout, result);
        any_error |= result.has_error();
    }
    return any_error ? 1 : 0;
}

int balance(const LevelDir& dir, const char* svg_file) {
    BalanceReport report = run_balance(dir.path);
    print_balance(stdout, dir.shown, report);
    if (svg_file != nullptr && report.loaded) {
        std::string svg = balance_svg(report, dir.shown);
        std::FILE* out = std::fopen(svg_file, "w");
        bool written = out != nullptr && std::fwrite(svg.data(), 1, svg.size(), out) == svg.size();
        if (out != nullptr && std::fclose(out) != 0) written = false;
        if (!written) {
            std::fprintf(stderr, "rampartica-level: cannot write %s\n", svg_file);
            return 1;
        }
    }
    return report.loaded && report.problem.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    std::vector<LevelDir> dirs;
    std::string svg_file;
    for (int i = 2; i < argc; i++) {
        if (command == "balance" && std::strcmp(argv[i], "--svg") == 0) {
            if (++i == argc) return usage();
            svg_file = absolute_path(argv[i]);
            continue;
        }
        std::string shown = argv[i];
        while (shown.size() > 1 && shown.back() == '/') shown.pop_back();
        dirs.push_back({shown, absolute_path(shown)});
    }
    if (command != "check" && !(command == "balance" && dirs.size() == 1)) return usage();

    std::string looked, error;
    const std::string data = find_game_data(own_executable(argv[0]), &looked);
    if (data.empty()) {
        std::fprintf(stderr, "rampartica-level: the game's pictures are not in %s\n", looked.c_str());
        return 2;
    }
    if (!start_headless(data, &error)) {
        std::fprintf(stderr, "rampartica-level: %s\n", error.c_str());
        return 2;
    }
    if (command == "check") return check(dirs);
    return balance(dirs[0], svg_file.empty() ? nullptr : svg_file.c_str());
}

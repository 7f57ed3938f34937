// Sim::load_level: reads levels/<name>/level.txt into a fresh game, with the
// loading screen showing how far it got. A level that cannot be played is
// refused here, before the first tick, so the game never has to guard
// against it later.
#include "game/level_load.h"

#include "platform/clock.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

bool refuse(LevelLoad& load, int line, const char* format, ...) {
    char reason[sizeof load.reason];
    va_list args;
    va_start(args, format);
    std::vsnprintf(reason, sizeof reason, format, args);
    va_end(args);
    load.progressview.problem(line, LevelProblem::Refused, "", "", reason);
    if (load.refused) return false;  // the first reason is the one shown
    std::snprintf(load.reason, sizeof load.reason, "%s", reason);
    load.refused = true;
    load.refusedline = line;
    return false;
}

void warn(LevelLoad& load, LevelProblem kind, const char* subject, const char* format, ...) {
    char message[kLevelLineMax + 200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    log_line("%s", message);
    load.progressview.problem(load.lineno, kind, load.line, subject, message);
}

namespace {

// The reason goes to the log with the file and line, and onto the red bar.
bool report_refusal(LevelLoad& load) {
    if (load.refusedline > 0)
        log_line("%s:%d: %s", load.file.c_str(), load.refusedline, load.reason);
    else
        log_line("%s: %s", load.file.c_str(), load.reason);
    load.progressview.report(load.progress, load.reason, true);
    return false;
}

// The game's own listener: every report repaints the loading screen.
class LoadingScreen final : public LoadProgress {
public:
    explicit LoadingScreen(Sim& sim) : sim_(sim) {}
    void report(int progress, const char* message, bool error) override { sim_.updatescreen(progress, message, error); }

private:
    Sim& sim_;
};

}  // namespace

bool Sim::load_level(const char* dir) {
    LoadingScreen loading(*this);
    return load_level(dir, loading);
}

bool Sim::load_level(const char* dir, LoadProgress& progress) {
    progress.report(0, "level.txt...", false);
    clock_delay(100);

    LevelLoad load(*this, progress, dir);
    FILE* file = std::fopen(load.file.c_str(), "r");
    if (file == nullptr) {
        // The loading screen cannot name the file; standard error does, and
        // the game's own log on standard output stays as it is.
        std::fprintf(stderr, "%s: cannot open: %s\n", load.file.c_str(), std::strerror(errno));
        progress.report(0, "Unable to open level.txt!", true);
        return false;
    }

    // A game reads one level; should a map exist already, it is replaced.
    if (mapcreated) SDL_FreeSurface(map);
    map = nullptr;
    mapcreated = false;
    log_line("Loading level \"%s\"...", dir);

    for (;;) {
        load.lineno++;
        LevelLine got = read_level_line(file, load.line);
        if (got == LevelLine::End) break;
        if (got == LevelLine::TooLong) {
            warn(load, LevelProblem::LineTooLong, "", "Warning! Line %d is longer than %d characters, skipped",
                 load.lineno, kLevelLineMax);
            continue;
        }
        handle_level_line(load);
    }
    std::fclose(file);

    if (!check_level(load)) return report_refusal(load);

    draw_frame_and_path(load);
    log_line("%d monster(s) loaded!", static_cast<int>(monstertypes.size()));
    log_line("%d turret(s) loaded!", static_cast<int>(turrettypes.size()));
    log_line("%d bullet(s) loaded!", static_cast<int>(bullettypes.size()));
    progress.report(100, "", false);
    log_line("Level successfully loaded!");
    clock_delay(500);
    return true;
}

// The game writes its log to standard output: the loader's lines, the aim
// distance of every shot. A tool that runs the game and has a report of its
// own to print holds that output aside while the game runs.
#pragma once

#include <cstdio>
#include <string>

class CapturedStdout {
public:
    // From here on, whatever goes to standard output (stdio and std::cout
    // alike) lands in a scratch file instead.
    CapturedStdout();
    // Standard output is where it was again; the scratch file is gone.
    ~CapturedStdout();
    CapturedStdout(const CapturedStdout&) = delete;
    CapturedStdout& operator=(const CapturedStdout&) = delete;

    // Everything written since the capture began.
    std::string text();

private:
    std::FILE* scratch_ = nullptr;
    int saved_ = -1;
};

// Shared test set-up: a dummy-driver 320x240x16 screen, the sine table, the
// run directory as working directory and a clock that never sleeps.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

// Every delay the game asked for since the last reset, in order.
std::vector<Uint32>& test_delays();
void test_clock_reset(Uint32 now = 0);
// The fake clock advances only through delays and this.
void test_clock_advance(Uint32 ms);

// A fresh empty directory under the build tree, removed again by its owner.
struct TempDir {
    std::string path;
    explicit TempDir(const char* tag);
    ~TempDir();
    std::string file(const std::string& name) const { return path + "/" + name; }
    void write(const std::string& name, const std::string& content) const;
};

// Runs a shell command line, returns its standard output; *status gets the
// exit status (or -1 when it did not exit normally).
std::string run_command(const std::string& command, int* status);

// The start of a command line that runs one of our own programs, through the
// emulator when the tests run on another CPU.
std::string program_command(const std::string& path);

std::string read_file(const std::string& path);

// Compares a text with its record tests/golden/<name>, line by line, so a
// failure names the first line that differs. With RAMPARTICA_UPDATE_GOLDEN=1
// it rewrites the record instead, to be reviewed after a deliberate change.
void expect_recorded(const std::string& name, const std::string& actual);

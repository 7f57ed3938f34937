// Running the game's code without a screen, for the level tool: the dummy
// video driver, the game's own pictures found wherever the tool is, and a
// clock that never waits.
#pragma once

#include <string>

// The folder holding the game's pictures (img/, letters.bmp) for the tool at
// exe: its own folder in a build's run folder, or ../../share/rampartica
// from it once installed. Empty when neither holds them; *looked names
// the folders tried.
std::string find_game_data(const std::string& exe, std::string* looked);

// The path of the running executable.
std::string own_executable(const char* argv0);

// Made absolute against the working folder, so it survives a change of it.
std::string absolute_path(const std::string& path);

// Changes into data, starts SDL on the dummy driver with the game's 320x240
// 16-bit screen, builds the sine table and installs a clock whose waits
// return at once. False with *error set when something is missing.
bool start_headless(const std::string& data, std::string* error);

// Errors in hand-written art sources. Every message names the file and line
// so a broken edit points straight at itself in the build log.
#pragma once

#include <stdexcept>
#include <string>

class SourceError : public std::runtime_error {
public:
    SourceError(const std::string& file, int line, const std::string& what)
        : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) +
                             ": " + what) {}
};

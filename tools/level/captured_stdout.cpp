#include "level/captured_stdout.h"

#include <unistd.h>

#include <iostream>

CapturedStdout::CapturedStdout() {
    std::cout.flush();
    std::fflush(stdout);
    scratch_ = std::tmpfile();
    saved_ = dup(STDOUT_FILENO);
    // Without a scratch file the output stays where it is: noisy, not lost.
    if (scratch_ != nullptr && saved_ >= 0 && dup2(fileno(scratch_), STDOUT_FILENO) < 0) {
        close(saved_);
        saved_ = -1;
    }
}

CapturedStdout::~CapturedStdout() {
    std::cout.flush();
    std::fflush(stdout);
    if (saved_ >= 0) {
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
    if (scratch_ != nullptr) std::fclose(scratch_);
}

std::string CapturedStdout::text() {
    std::string out;
    if (scratch_ == nullptr || saved_ < 0) return out;
    std::cout.flush();
    std::fflush(stdout);
    std::rewind(scratch_);
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, scratch_)) > 0;) out.append(buf, n);
    std::fseek(scratch_, 0, SEEK_END);
    return out;
}

#include "platform/log.h"

#include <cstdarg>
#include <cstdio>

void log_line(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::putchar('\n');
    std::fflush(stdout);
}

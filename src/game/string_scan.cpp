#include "game/string_scan.h"

#include <cstring>

bool startswith(const char* s, const char* prefix) {
    for (size_t i = 0; prefix[i] != '\0'; i++) {
        // A shorter s meets its terminator here, which differs from prefix[i].
        if (s[i] != prefix[i]) return false;
    }
    return true;
}

int subfind(const char* s, const char* needle) {
    for (int i = 0; s[i] != '\0'; i++) {
        int j = 0;
        while (needle[j] != '\0' && s[i + j] == needle[j]) j++;
        if (needle[j] == '\0') return i;
    }
    return -1;
}

void substring(char* dest, const char* src, int start, int len) {
    int srclen = static_cast<int>(std::strlen(src));
    if (start < 0) start = 0;
    // A start past the end gives an empty result instead of reading beyond src.
    if (start > srclen) start = srclen;
    if (len < 0 || len > srclen - start) len = srclen - start;
    // Ascending copy: cutting the value out of the line buffer in place works.
    for (int i = 0; i < len; i++) dest[i] = src[start + i];
    dest[len] = '\0';
}

// Byte-exact string scanning used by the level loader.
#pragma once

bool startswith(const char* s, const char* prefix);
int subfind(const char* s, const char* needle);
// Copies len characters of src from start into dest (which may be src);
// a negative len means up to the end of src.
void substring(char* dest, const char* src, int start, int len);

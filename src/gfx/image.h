// Loading BMP images into display-format surfaces, and plain blits.
#pragma once

#include <SDL.h>

#include <string>

// The image converted to the display format. Never returns null: a file
// that cannot be loaded ends the process with a message.
SDL_Surface* load_image(std::string filename);

// From now on load_image hands out one picture of `filename`, loaded now,
// with one more reference each time (so its holder's SDL_FreeSurface drops
// only that), instead of reading the file again. For tools that build many
// games in one process, such as the loader fuzzer.
void keep_image(const char* filename);

// The image as decoded, not converted (the font strips keep their format).
// Ends the process like load_image when the file cannot be loaded.
SDL_Surface* load_bmp_or_exit(const char* filename);

// The decoded image, or null when the file is missing or not a BMP this game
// can read safely; *why, when given, then says what is wrong ("cannot open",
// the header check that failed, ...).
SDL_Surface* load_bmp(const char* filename, const char** why = nullptr);

// load_image for files that may be broken without ending the game (a level's
// tile set): null, with *why set, instead of the end of the process.
SDL_Surface* try_load_image(const std::string& filename, const char** why);

void apply_surface(int x, int y, SDL_Surface* source, SDL_Surface* destination);

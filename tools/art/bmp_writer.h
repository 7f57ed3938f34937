// Plain 24-bit Windows BMP output: the one format SDL 1.2 loads everywhere
// without extra libraries, including on the handheld.
#pragma once

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

// BITMAPFILEHEADER + 40-byte BITMAPINFOHEADER, one plane, 24 bpp, no
// compression, rows stored bottom-up in B,G,R order, each padded to 4 bytes.
std::vector<std::uint8_t> encode_bmp(const Image& image);

// Writes the bytes unless the file already holds exactly them, so unchanged
// art keeps its timestamp and does not retrigger later build steps.
// Returns false (with errno set) on a write failure.
bool write_if_changed(const std::string& path, const std::vector<std::uint8_t>& bytes);

// PNG output for the desktop icons, which must be PNG and need a see-through
// background. The icons are small, so the pixels are stored without
// compression: no library, just the container's checksums.
#pragma once

#include "image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// 8-bit RGBA, no interlace, filter 0 on every row, one IDAT chunk holding a
// zlib stream of stored deflate blocks. Pixels of the colour see_through
// become fully transparent (their RGB is written as 0).
std::vector<std::uint8_t> encode_png(const Image& image, Rgb see_through);

// The two checksums PNG asks for: CRC-32 (ISO 3309, reflected 0xEDB88320)
// over each chunk's type and data, Adler-32 over the zlib stream's data.
std::uint32_t crc32(const std::uint8_t* data, std::size_t size);
std::uint32_t adler32(const std::uint8_t* data, std::size_t size);

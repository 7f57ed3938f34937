#include "bmp_writer.h"

#include <fstream>
#include <iterator>

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

} // namespace

std::vector<std::uint8_t> encode_bmp(const Image& image) {
    const std::uint32_t w = image.width(), h = image.height();
    const std::uint32_t stride = (w * 3 + 3) / 4 * 4;
    const std::uint32_t data_offset = 14 + 40;
    const std::uint32_t data_size = stride * h;

    std::vector<std::uint8_t> out;
    out.reserve(data_offset + data_size);
    out.push_back('B');
    out.push_back('M');
    put32(out, data_offset + data_size); // file size
    put32(out, 0);                       // reserved
    put32(out, data_offset);
    put32(out, 40); // BITMAPINFOHEADER
    put32(out, w);
    put32(out, h); // positive: bottom-up
    put16(out, 1); // planes
    put16(out, 24);
    put32(out, 0); // BI_RGB
    put32(out, data_size);
    put32(out, 2835); // 72 dpi, in pixels per metre
    put32(out, 2835);
    put32(out, 0); // colours used
    put32(out, 0); // important colours

    for (std::uint32_t row = 0; row < h; ++row) {
        const int y = static_cast<int>(h - 1 - row);
        for (std::uint32_t x = 0; x < w; ++x) {
            Rgb c = image.at(static_cast<int>(x), y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (std::uint32_t pad = w * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

bool write_if_changed(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::vector<std::uint8_t> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (old == bytes) return true;
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

#include "png_writer.h"

#include <algorithm>
#include <array>

namespace {

// A stored deflate block holds at most this many bytes (its length is 16 bits).
constexpr std::size_t kStoredBlockMax = 65535;

void put32be(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void put_chunk(std::vector<std::uint8_t>& out, const char type[5], const std::vector<std::uint8_t>& data) {
    put32be(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32be(out, crc32(out.data() + start, out.size() - start));
}

// zlib header (deflate, 32 KB window, no dictionary), the data in stored
// blocks, then the Adler-32 of the data.
std::vector<std::uint8_t> zlib_stored(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> z{0x78, 0x01};  // 0x7801 is a multiple of 31, as the header check wants
    std::size_t at = 0;
    do {
        const std::size_t n = std::min(kStoredBlockMax, raw.size() - at);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
        const auto len = static_cast<std::uint16_t>(n);
        const auto nlen = static_cast<std::uint16_t>(~len);
        for (std::uint16_t v : {len, nlen}) {
            z.push_back(static_cast<std::uint8_t>(v & 0xff));
            z.push_back(static_cast<std::uint8_t>(v >> 8));
        }
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    put32be(z, adler32(raw.data(), raw.size()));
    return z;
}

}  // namespace

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xff] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t a = 1, b = 0;
    for (std::size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

std::vector<std::uint8_t> encode_png(const Image& image, Rgb see_through) {
    const auto w = static_cast<std::uint32_t>(image.width()), h = static_cast<std::uint32_t>(image.height());
    std::vector<std::uint8_t> raw;
    raw.reserve((1 + 4 * w) * h);
    for (int y = 0; y < image.height(); ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < image.width(); ++x) {
            const Rgb c = image.at(x, y);
            const bool clear = c == see_through;
            raw.insert(raw.end(), {clear ? std::uint8_t{0} : c.r, clear ? std::uint8_t{0} : c.g,
                                   clear ? std::uint8_t{0} : c.b, clear ? std::uint8_t{0} : std::uint8_t{255}});
        }
    }
    std::vector<std::uint8_t> header;
    put32be(header, w);
    put32be(header, h);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, filter set 0, no interlace

    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    put_chunk(out, "IHDR", header);
    put_chunk(out, "IDAT", zlib_stored(raw));
    put_chunk(out, "IEND", {});
    return out;
}

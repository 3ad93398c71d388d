#include "platform/Png.h"

#include <array>
#include <string_view>

namespace umbrix {

namespace {

const std::array<std::uint32_t, 256>& CrcTable() {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, std::string_view type,
           const std::vector<std::uint8_t>& data) {
    PutBig32(out, std::uint32_t(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    std::uint32_t crc = 0xFFFFFFFFu;
    const auto& table = CrcTable();
    for (std::size_t i = start; i < out.size(); ++i)
        crc = table[(crc ^ out[i]) & 0xFF] ^ (crc >> 8);
    PutBig32(out, crc ^ 0xFFFFFFFFu);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Raster& picture, bool whiteTransparent) {
    const std::uint32_t w = std::uint32_t(picture.width()), h = std::uint32_t(picture.height());
    std::vector<std::uint8_t> raw;  // filter byte 0, then RGB, per row
    raw.reserve(std::size_t(h) * (1 + 3 * std::size_t(w)));
    for (std::uint32_t y = 0; y < h; ++y) {
        raw.push_back(0);
        const Colour* row = picture.row(int(y));
        for (std::uint32_t x = 0; x < w; ++x) {
            raw.push_back(std::uint8_t(RedOf(row[x])));
            raw.push_back(std::uint8_t(GreenOf(row[x])));
            raw.push_back(std::uint8_t(BlueOf(row[x])));
        }
    }

    // zlib stream of stored deflate blocks
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
        const bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(std::uint8_t(n));
        z.push_back(std::uint8_t(n >> 8));
        z.push_back(std::uint8_t(~n));
        z.push_back(std::uint8_t(~n >> 8));
        z.insert(z.end(), raw.begin() + std::ptrdiff_t(pos), raw.begin() + std::ptrdiff_t(pos + n));
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(z, (b << 16) | a);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBig32(header, w);
    PutBig32(header, h);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    Chunk(out, "IHDR", header);
    if (whiteTransparent) Chunk(out, "tRNS", {0, 255, 0, 255, 0, 255});
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", {});
    return out;
}

}  // namespace umbrix

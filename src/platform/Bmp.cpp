#include "platform/Bmp.h"

#include <bit>

#include "platform/Error.h"
#include "platform/TextFile.h"

namespace umbrix {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRgb = 0;               // BI_RGB
constexpr std::uint32_t kBitFields = 3;         // BI_BITFIELDS
constexpr std::int32_t kPixelsPerMetre = 3780;  // 96 dpi
// Larger files cannot hold an acceptable picture (32 bits a pixel at the pixel limit plus
// headers and palette).
constexpr std::uint64_t kMaxFileSize = kBmpMaxPixelBytes + (1u << 20);

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

[[noreturn]] void Refuse(const std::string& name, const std::string& reason) {
    throw FileError(name + ": not a readable bitmap: " + reason);
}

// Bounds-checked little-endian reads.
class Reader {
  public:
    Reader(std::span<const std::uint8_t> data, const std::string& name)
        : data_(data), name_(name) {}
    std::uint32_t u16(std::uint64_t at) const {
        need(at, 2);
        return std::uint32_t(data_[at]) | std::uint32_t(data_[at + 1]) << 8;
    }
    std::uint32_t u32(std::uint64_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::int32_t i32(std::uint64_t at) const { return std::int32_t(u32(at)); }
    void need(std::uint64_t at, std::uint64_t count) const {
        if (at > data_.size() || count > data_.size() - at) Refuse(name_, "the file is truncated");
    }
    const std::uint8_t* at(std::uint64_t offset) const { return data_.data() + offset; }

  private:
    std::span<const std::uint8_t> data_;
    const std::string& name_;
};

// One channel of a 32-bit bit-field pixel, scaled to 0 .. 255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    int value(std::uint32_t pixel) const {
        std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return int(v >> (bits - 8));
        return int((v * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1));
    }
};

Channel MakeChannel(std::uint32_t mask, const std::string& name) {
    if (mask == 0) Refuse(name, "a colour mask is empty");
    Channel c;
    c.mask = mask;
    c.shift = std::countr_zero(mask);
    c.bits = std::popcount(mask);
    if ((mask >> c.shift) != (std::uint32_t(1ull << c.bits) - 1))
        Refuse(name, "a colour mask is not contiguous");
    return c;
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Raster& picture) {
    const std::uint32_t w = std::uint32_t(picture.width()), h = std::uint32_t(picture.height());
    const std::uint32_t stride = (w * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * h;
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::vector<std::uint8_t> out;
    out.reserve(offset + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageSize);
    Put32(out, 0);  // reserved
    Put32(out, offset);
    Put32(out, kInfoHeaderSize);
    Put32(out, w);
    Put32(out, h);  // positive: bottom-up rows
    Put16(out, 1);  // planes
    Put16(out, 24);
    Put32(out, kRgb);
    Put32(out, imageSize);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);  // colours used
    Put32(out, 0);  // important colours
    for (std::uint32_t y = h; y-- > 0;) {
        const Colour* row = picture.row(int(y));
        for (std::uint32_t x = 0; x < w; ++x) {
            out.push_back(std::uint8_t(BlueOf(row[x])));
            out.push_back(std::uint8_t(GreenOf(row[x])));
            out.push_back(std::uint8_t(RedOf(row[x])));
        }
        for (std::uint32_t p = w * 3; p < stride; ++p) out.push_back(0);
    }
    return out;
}

Raster DecodeBmp(std::span<const std::uint8_t> data, const std::string& name) {
    Reader in(data, name);
    if (data.size() < 2 || data[0] != 'B' || data[1] != 'M') Refuse(name, "no \"BM\" signature");
    const std::uint32_t pixelOffset = in.u32(10);
    const std::uint32_t headerSize = in.u32(14);
    // BITMAPINFOHEADER and its later extensions (V2, V3, V4, V5) share the first 40 bytes
    if (headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        Refuse(name, "unsupported header of " + std::to_string(headerSize) + " bytes");
    in.need(kFileHeaderSize, headerSize);
    const std::int32_t width = in.i32(18);
    const std::int32_t rawHeight = in.i32(22);
    const std::uint32_t planes = in.u16(26);
    const std::uint32_t bits = in.u16(28);
    const std::uint32_t compression = in.u32(30);
    const std::uint32_t coloursUsed = in.u32(46);

    if (planes != 1) Refuse(name, "the number of planes is not 1");
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN)
        Refuse(name, "invalid size " + std::to_string(width) + " x " + std::to_string(rawHeight));
    const bool topDown = rawHeight < 0;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (width > kBmpMaxSide || height > kBmpMaxSide ||
        std::uint64_t(width) * std::uint64_t(height) * 4 > kBmpMaxPixelBytes)
        Refuse(name, "the picture is too large (" + std::to_string(width) + " x " +
                         std::to_string(height) + ")");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        Refuse(name, "unsupported colour depth of " + std::to_string(bits) + " bits");
    if (!(compression == kRgb || (compression == kBitFields && bits == 32)))
        Refuse(name, compression == kBitFields
                         ? "bit-field masks are only supported for 32 bits a pixel"
                         : "compressed bitmaps are not supported");

    // 32-bit colour masks: after a plain info header, or inside a longer one
    Channel red{0x00FF0000, 16, 8}, green{0x0000FF00, 8, 8}, blue{0x000000FF, 0, 8};
    if (compression == kBitFields) {
        const std::uint64_t masks = kFileHeaderSize + 40;
        red = MakeChannel(in.u32(masks), name);
        green = MakeChannel(in.u32(masks + 4), name);
        blue = MakeChannel(in.u32(masks + 8), name);
    }

    std::vector<Colour> palette;
    if (bits <= 8) {
        const std::uint32_t maxColours = 1u << bits;
        if (coloursUsed > maxColours)
            Refuse(name, "the palette has " + std::to_string(coloursUsed) + " entries, more than " +
                             std::to_string(maxColours));
        const std::uint32_t count = coloursUsed == 0 ? maxColours : coloursUsed;
        const std::uint64_t at = kFileHeaderSize + std::uint64_t(headerSize);
        in.need(at, std::uint64_t(count) * 4);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* q = in.at(at + 4 * std::uint64_t(i));  // blue, green, red, 0
            palette.push_back(Rgb(q[2], q[1], q[0]));
        }
    }

    if (pixelOffset < kFileHeaderSize + headerSize)
        Refuse(name, "the pixel data overlaps the header");
    const std::uint64_t stride = ((std::uint64_t(width) * bits + 31) / 32) * 4;
    in.need(pixelOffset, stride * std::uint64_t(height));

    Raster picture(width, height);
    for (std::int32_t r = 0; r < height; ++r) {
        const std::uint8_t* src = in.at(pixelOffset + stride * std::uint64_t(r));
        Colour* dst = picture.row(topDown ? r : height - 1 - r);
        for (std::int32_t x = 0; x < width; ++x) {
            switch (bits) {
                case 1:
                case 4:
                case 8: {
                    const std::uint64_t bit = std::uint64_t(x) * bits;
                    const int shift = int(8 - bits - bit % 8);
                    const std::uint32_t index = (src[bit / 8] >> shift) & ((1u << bits) - 1);
                    if (index >= palette.size())
                        Refuse(name, "pixel colour " + std::to_string(index) +
                                         " lies outside the palette");
                    dst[x] = palette[index];
                    break;
                }
                case 24: {
                    const std::uint8_t* p = src + 3 * std::size_t(x);
                    dst[x] = Rgb(p[2], p[1], p[0]);
                    break;
                }
                default: {
                    const std::uint8_t* p = src + 4 * std::size_t(x);
                    const std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                            std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
                    dst[x] = Rgb(red.value(v), green.value(v), blue.value(v));
                }
            }
        }
    }
    return picture;
}

void WriteBmp(const std::string& path, const Raster& picture) {
    const std::vector<std::uint8_t> bytes = EncodeBmp(picture);
    WriteTextFileAtomic(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

Raster ReadBmp(const std::string& path) {
    // a regular file of bounded size only: a pipe or a device would never end
    const std::string bytes = ReadTextFile(path, std::size_t(kMaxFileSize));
    return DecodeBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                     path);
}

void LoadBmp(const std::string& path, Raster& target) {
    target = ReadBmp(path);
}

}  // namespace umbrix

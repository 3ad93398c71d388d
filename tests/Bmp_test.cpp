#include "platform/Bmp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Error.h"

using namespace umbrix;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

// A bitmap file as other programs write them; rows are given top row first and stored in the
// order the height's sign asks for, padded to four bytes.
struct BmpFile {
    int width = 2;
    int height = 2;  // negative: top-down
    int bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::vector<std::uint32_t> palette;  // 0xRRGGBB entries as stored (blue first on disk)
    std::vector<std::uint32_t> masks;    // written after the header (BI_BITFIELDS)
    std::vector<Bytes> rows;             // top row first, unpadded

    Bytes bytes() const {
        Bytes body;
        int h = height < 0 ? -height : height;
        for (int r = 0; r < h; ++r) {
            const Bytes& row = rows[height < 0 ? r : h - 1 - r];
            body.insert(body.end(), row.begin(), row.end());
            for (std::size_t p = row.size(); p % 4; ++p) body.push_back(0);
        }
        std::uint32_t offset = 14 + headerSize + 4 * std::uint32_t(palette.size()) +
                               (headerSize == 40 ? 4 * std::uint32_t(masks.size()) : 0);
        Bytes b{'B', 'M'};
        Put32(b, offset + std::uint32_t(body.size()));
        Put32(b, 0);
        Put32(b, offset);
        Put32(b, headerSize);
        Put32(b, std::uint32_t(width));
        Put32(b, std::uint32_t(height));
        Put16(b, 1);
        Put16(b, std::uint32_t(bits));
        Put32(b, compression);
        Put32(b, std::uint32_t(body.size()));
        Put32(b, 2835);
        Put32(b, 2835);
        Put32(b, std::uint32_t(palette.size()));
        Put32(b, 0);
        for (std::uint32_t m : masks) Put32(b, m);
        while (b.size() < 14 + headerSize) b.push_back(0);
        for (std::uint32_t c : palette) Put32(b, c);
        b.insert(b.end(), body.begin(), body.end());
        return b;
    }
};

std::string Refusal(const Bytes& data) {
    try {
        DecodeBmp(data, "test.bmp");
    } catch (const FileError& e) {
        return e.what();
    }
    return "accepted";
}

class TempDir {
  public:
    TempDir() {
        path_ = std::filesystem::temp_directory_path() /
                ("umbrix_bmp_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace

TEST(Bmp, RoundTripPadsRowsOfEveryWidth) {
    for (int width : {1, 2, 3, 4, 5, 7, 481}) {
        Raster picture(width, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) picture.setPixel(x, y, Rgb(x * 7, y * 90, 255 - x));
        Bytes data = EncodeBmp(picture);
        std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
        ASSERT_EQ(data.size(), 54 + stride * 3) << width;
        EXPECT_EQ(data[28], 24);
        EXPECT_EQ(data[14], 40);  // BITMAPINFOHEADER
        // bottom-up: the first stored row is the picture's last, blue byte first
        EXPECT_EQ(data[54], BlueOf(picture.pixel(0, 2)));
        EXPECT_EQ(data[56], RedOf(picture.pixel(0, 2)));
        for (std::size_t p = std::size_t(width) * 3; p < stride; ++p) EXPECT_EQ(data[54 + p], 0);
        EXPECT_EQ(DecodeBmp(data, "x"), picture) << width;
    }
}

TEST(Bmp, ReadsTopDownAndBottomUpAlike) {
    BmpFile f;
    f.rows = {{0, 0, 255, 0, 255, 0}, {255, 0, 0, 255, 255, 255}};  // BGR
    Raster bottomUp = DecodeBmp(f.bytes(), "x");
    f.height = -2;
    Raster topDown = DecodeBmp(f.bytes(), "x");
    EXPECT_EQ(bottomUp, topDown);
    EXPECT_EQ(topDown.pixel(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(topDown.pixel(1, 0), Rgb(0, 255, 0));
    EXPECT_EQ(topDown.pixel(0, 1), Rgb(0, 0, 255));
    EXPECT_EQ(topDown.pixel(1, 1), kWhite);
}

TEST(Bmp, ReadsPaletteFiles) {
    const std::uint32_t red = 0xFF0000, green = 0x00FF00, grey = 0x808080, white = 0xFFFFFF;
    struct Case {
        int bits;
        std::vector<std::uint32_t> palette;
        std::vector<Bytes> rows;
    };
    // 3 × 2 pictures: top row red, green, grey; bottom row white, red, white
    for (const Case& c : std::vector<Case>{
             {8, {red, green, grey, white}, {{0, 1, 2}, {3, 0, 3}}},
             {4, {red, green, grey, white}, {{0x01, 0x20}, {0x30, 0x30}}},
             {1, {red, white}, {{0x00}, {0xA0}}},  // 1-bit: red, red, red / white, red, white
         }) {
        BmpFile f;
        f.width = 3;
        f.bits = c.bits;
        f.palette = c.palette;
        f.rows = c.rows;
        Raster r = DecodeBmp(f.bytes(), "x");
        ASSERT_EQ(r.width(), 3);
        EXPECT_EQ(r.pixel(0, 0), Rgb(255, 0, 0)) << c.bits;
        EXPECT_EQ(r.pixel(0, 1), kWhite) << c.bits;
        EXPECT_EQ(r.pixel(1, 1), Rgb(255, 0, 0)) << c.bits;
        EXPECT_EQ(r.pixel(2, 1), kWhite) << c.bits;
        if (c.bits > 1) {
            EXPECT_EQ(r.pixel(1, 0), Rgb(0, 255, 0));
            EXPECT_EQ(r.pixel(2, 0), Rgb(128, 128, 128));
        }
    }
}

TEST(Bmp, Reads32BitFilesWithAndWithoutMasks) {
    BmpFile f;
    f.width = 2;
    f.height = 1;
    f.bits = 32;
    f.rows = {{10, 20, 30, 0, 255, 255, 255, 0}};
    Raster plain = DecodeBmp(f.bytes(), "x");
    EXPECT_EQ(plain.pixel(0, 0), Rgb(30, 20, 10));
    EXPECT_EQ(plain.pixel(1, 0), kWhite);
    // red in the top byte, blue in the lowest: byte order B?R? → masks decide
    f.compression = 3;
    f.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
    Raster masked = DecodeBmp(f.bytes(), "x");
    EXPECT_EQ(masked.pixel(0, 0), Rgb(0, 30, 20));
    // 5-bit channels scale to the full byte range
    f.masks = {0x7C00, 0x03E0, 0x001F};
    f.rows = {{0xFF, 0x7F, 0, 0, 0x10, 0x42, 0, 0}};
    Raster five = DecodeBmp(f.bytes(), "x");
    EXPECT_EQ(five.pixel(0, 0), kWhite);
    EXPECT_EQ(five.pixel(1, 0), Rgb(132, 132, 132));
    // masks inside a V4 header
    f.headerSize = 108;
    Raster v4 = DecodeBmp(f.bytes(), "x");
    EXPECT_EQ(v4, five);
}

TEST(Bmp, RefusesMalformedFilesWithAReason) {
    BmpFile good;
    good.rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    auto with = [&](auto change) {
        BmpFile f = good;
        change(f);
        return f.bytes();
    };
    struct Case {
        const char* what;
        Bytes data;
        const char* reason;
    };
    Bytes badSignature = good.bytes();
    badSignature[0] = 'P';
    Bytes offsetBeyond = good.bytes();
    Set32(offsetBeyond, 10, 4000);
    Bytes offsetInHeader = good.bytes();
    Set32(offsetInHeader, 10, 20);
    Bytes huge = good.bytes();
    Set32(huge, 18, 20001);
    Bytes manyPixels = good.bytes();
    Set32(manyPixels, 18, 16000);
    Set32(manyPixels, 22, 16000);
    Bytes minHeight = good.bytes();
    Set32(minHeight, 22, 0x80000000);
    Bytes headerOnly = good.bytes();
    headerOnly.resize(30);
    Bytes planes = good.bytes();
    planes[26] = 2;
    for (const Case& c : std::vector<Case>{
             {"empty", {}, "signature"},
             {"signature", badSignature, "signature"},
             {"header only", headerOnly, "truncated"},
             {"core header", with([](BmpFile& f) { f.headerSize = 12; }), "header"},
             {"16 bits", with([](BmpFile& f) { f.bits = 16; }), "16 bits"},
             {"RLE", with([](BmpFile& f) { f.compression = 1; }), "compressed"},
             {"24-bit masks", with([](BmpFile& f) { f.compression = 3; }), "bit-field"},
             {"zero width", with([](BmpFile& f) { f.width = 0; }), "size"},
             {"negative width", with([](BmpFile& f) { f.width = -2; }), "size"},
             {"zero height", with([](BmpFile& f) { f.height = 0; }), "size"},
             {"min height", minHeight, "size"},
             {"too wide", huge, "too large"},
             {"too many pixels", manyPixels, "too large"},
             {"planes", planes, "planes"},
             {"offset beyond", offsetBeyond, "truncated"},
             {"offset in header", offsetInHeader, "overlaps"},
             {"empty mask", with([](BmpFile& f) {
                  f.bits = 32, f.compression = 3, f.masks = {0, 0xFF00, 0xFF};
                  f.rows = {Bytes(8), Bytes(8)};
              }),
              "mask"},
             {"split mask", with([](BmpFile& f) {
                  f.bits = 32, f.compression = 3, f.masks = {0xF0F00000, 0xFF00, 0xFF};
                  f.rows = {Bytes(8), Bytes(8)};
              }),
              "contiguous"},
             {"palette too long", with([](BmpFile& f) {
                  f.bits = 1, f.palette = {0, 1, 2};
                  f.rows = {{0}, {0}};
              }),
              "palette"},
             {"index outside palette", with([](BmpFile& f) {
                  f.bits = 8, f.palette = {0, 0xFFFFFF};
                  f.rows = {{0, 1}, {1, 2}};
              }),
              "outside the palette"},
         }) {
        std::string message = Refusal(c.data);
        EXPECT_NE(message.find("test.bmp"), std::string::npos) << c.what << ": " << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << c.what << ": " << message;
    }
}

TEST(Bmp, EveryTruncationIsRefused) {
    BmpFile f;
    f.width = 3;
    f.bits = 8;
    f.palette = {0xFF0000, 0x00FF00, 0x0000FF};
    f.rows = {{0, 1, 2}, {2, 1, 0}};
    Bytes data = f.bytes();
    ASSERT_EQ(Refusal(data), "accepted");
    for (std::size_t n = 0; n < data.size(); ++n)
        EXPECT_NE(Refusal(Bytes(data.begin(), data.begin() + std::ptrdiff_t(n))), "accepted") << n;
}

TEST(Bmp, FilesRoundTripAndFailuresLeaveTheTargetAlone) {
    TempDir dir;
    Raster picture(481, 481);
    picture.ellipse({0, 0, 481, 481}, Pen{Rgb(1, 2, 3)}, Brush{Rgb(160, 160, 160)});
    WriteBmp(dir.file("h.bmp"), picture);
    EXPECT_EQ(std::filesystem::file_size(dir.file("h.bmp")), 54u + 1444u * 481u);
    Raster loaded;
    LoadBmp(dir.file("h.bmp"), loaded);
    EXPECT_EQ(loaded, picture);

    Bytes data = EncodeBmp(Raster(4, 4, kBlack));
    data.resize(data.size() - 1);
    std::ofstream(dir.file("cut.bmp"), std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    for (const std::string& name : {dir.file("cut.bmp"), dir.file("missing.bmp")}) {
        Raster target = picture;
        try {
            LoadBmp(name, target);
            ADD_FAILURE() << name << " was accepted";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos);
        }
        EXPECT_EQ(target, picture);
    }
    EXPECT_THROW(WriteBmp(dir.file("no/such/folder.bmp"), picture), FileError);
}

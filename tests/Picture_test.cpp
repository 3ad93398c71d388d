#include "platform/Picture.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Png.h"
#include "support/Pixels.h"

using namespace umbrix;
using test::CountColour;
using test::NonWhiteExtent;

namespace {

constexpr Colour kGrey = Rgb(128, 128, 128);
constexpr Colour kLight = Rgb(192, 192, 192);

// A strict little XML reader: enough to prove the output well formed and read it back.
struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::vector<std::unique_ptr<Element>> children;
    std::string text;

    const Element* find(const std::string& n) const {
        for (const auto& c : children) {
            if (c->name == n) return c.get();
            if (const Element* d = c->find(n)) return d;
        }
        return nullptr;
    }
    int count(const std::string& n) const {
        int k = 0;
        for (const auto& c : children) k += (c->name == n) + c->count(n);
        return k;
    }
};

class XmlReader {
  public:
    explicit XmlReader(const std::string& s) : s_(s) {}

    std::unique_ptr<Element> document() {
        skipSpace();
        if (s_.compare(pos_, 5, "<?xml") == 0) {
            pos_ = s_.find("?>", pos_);
            if (pos_ == std::string::npos) fail("unterminated declaration");
            pos_ += 2;
        }
        skipSpace();
        auto root = element();
        skipSpace();
        if (pos_ != s_.size()) fail("content after the root element");
        return root;
    }

  private:
    [[noreturn]] void fail(const std::string& what) {
        throw std::runtime_error(what + " at " + std::to_string(pos_));
    }
    void skipSpace() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
    }
    std::string name() {
        std::size_t start = pos_;
        while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) ||
                                    s_[pos_] == ':' || s_[pos_] == '-' || s_[pos_] == '_'))
            ++pos_;
        if (start == pos_) fail("name expected");
        return s_.substr(start, pos_ - start);
    }
    std::string decode(const std::string& raw) {
        std::string out;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '<') fail("raw < in text");
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            std::size_t semi = raw.find(';', i);
            if (semi == std::string::npos) fail("unterminated entity");
            std::string entity = raw.substr(i + 1, semi - i - 1);
            static const std::map<std::string, char> known{
                {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
            auto it = known.find(entity);
            if (it == known.end()) fail("unknown entity " + entity);
            out += it->second;
            i = semi;
        }
        return out;
    }
    std::unique_ptr<Element> element() {
        if (s_[pos_] != '<') fail("element expected");
        ++pos_;
        auto e = std::make_unique<Element>();
        e->name = name();
        for (;;) {
            skipSpace();
            if (s_.compare(pos_, 2, "/>") == 0) {
                pos_ += 2;
                return e;
            }
            if (s_[pos_] == '>') {
                ++pos_;
                break;
            }
            std::string key = name();
            if (s_[pos_] != '=' || s_[pos_ + 1] != '"') fail("quoted attribute expected");
            std::size_t end = s_.find('"', pos_ + 2);
            if (end == std::string::npos) fail("unterminated attribute");
            if (e->attributes.count(key)) fail("duplicate attribute " + key);
            e->attributes[key] = decode(s_.substr(pos_ + 2, end - pos_ - 2));
            pos_ = end + 1;
        }
        for (;;) {
            std::size_t lt = s_.find('<', pos_);
            if (lt == std::string::npos) fail("unterminated element " + e->name);
            e->text += decode(s_.substr(pos_, lt - pos_));
            pos_ = lt;
            if (s_.compare(pos_, 2, "</") == 0) {
                pos_ += 2;
                if (name() != e->name) fail("mismatched end of " + e->name);
                if (s_[pos_] != '>') fail("> expected");
                ++pos_;
                return e;
            }
            e->children.push_back(element());
        }
    }

    const std::string& s_;
    std::size_t pos_ = 0;
};

}  // namespace

TEST(Picture, PlaybackScalesCoordinatesAndPenWidths) {
    Picture p(100, 50);
    p.setPen({kGrey, 1, PenStyle::Clear});
    p.setBrush({kLight});
    p.rectangle({10, 10, 20, 20});
    Raster r(300, 300);
    p.playOnto(r, {50, 0, 250, 100});  // twice as large, shifted
    EXPECT_EQ(NonWhiteExtent(r), (Rect{70, 20, 90, 40}));
    EXPECT_EQ(CountColour(r, kLight), 400);

    // pen widths: 15 units at a tenth is 1.5 → 2 pixels; widths 0 and 1 stay one pixel
    struct Case {
        int width;
        int units;   // picture size
        int pixels;  // destination size
        int expected;
    };
    for (const Case& c : std::vector<Case>{{15, 1000, 100, 2},
                                           {1, 50, 500, 1},
                                           {0, 50, 500, 1},
                                           {4, 100, 100, 4},
                                           {3, 100, 200, 6},
                                           {2, 1000, 100, 1}}) {
        Picture line(c.units, c.units);
        line.setPen({kGrey, c.width});
        line.moveTo({0, c.units / 2});
        line.lineTo({c.units, c.units / 2});
        Raster t(c.pixels, c.pixels);
        line.playOnto(t, {0, 0, c.pixels, c.pixels});
        int x = c.pixels / 2, thickness = 0;
        for (int y = 0; y < c.pixels; ++y) thickness += t.pixel(x, y) == kGrey;
        EXPECT_EQ(thickness, c.expected) << c.width << " at " << c.pixels << "/" << c.units;
    }
}

TEST(Picture, NestedPicturesComposeTheirScalesAndKeepTheirStateToThemselves) {
    Picture inner(10, 10);
    inner.setPen({kGrey, 1, PenStyle::Clear});
    inner.setBrush({kLight});
    inner.rectangle({0, 0, 5, 5});
    inner.setPen({kBlack, 3});
    Picture outer(100, 100);
    outer.drawPicture({20, 20, 40, 40}, inner);  // inner unit = 2 outer units
    outer.rectangle({60, 60, 70, 70});           // default pen and brush, not inner's
    Raster r(200, 200);
    outer.playOnto(r, {0, 0, 200, 200});  // outer unit = 2 pixels
    EXPECT_EQ(CountColour(r, kLight), 400);
    EXPECT_EQ(r.pixel(40, 40), kLight);
    EXPECT_EQ(r.pixel(59, 59), kLight);
    EXPECT_EQ(r.pixel(60, 60), kWhite);
    // default pen: black, one pixel; default brush: white
    EXPECT_EQ(r.pixel(120, 130), kBlack);
    EXPECT_EQ(r.pixel(121, 130), kWhite);
    EXPECT_EQ(r.pixel(139, 130), kBlack);
    // the recorded copy does not follow later changes of the original
    inner.clear();
    Raster again(200, 200);
    outer.playOnto(again, {0, 0, 200, 200});
    EXPECT_EQ(again, r);
}

TEST(Picture, ClipRectAndRastersInside) {
    Raster drawing(2, 2);
    drawing.setPixel(0, 0, kGrey);
    Picture p(40, 40);
    p.setBrush({kLight});
    p.setPen({kLight});
    p.rectangle({0, 0, 40, 40});
    p.drawRaster({0, 0, 20, 20}, drawing, true);     // white transparent: light stays
    p.drawRaster({20, 20, 40, 40}, drawing, false);  // opaque: white copied
    Raster r(40, 40);
    p.playOnto(r, {0, 0, 40, 40});
    EXPECT_EQ(r.pixel(5, 5), kGrey);
    EXPECT_EQ(r.pixel(15, 15), kLight);
    EXPECT_EQ(r.pixel(35, 35), kWhite);

    Picture clipped(40, 40);
    clipped.clipRect({10, 10, 30, 30});
    clipped.setBrush({kLight});
    clipped.ellipse({-100, -100, 140, 140});
    Picture holder(40, 40);
    holder.drawPicture({0, 0, 40, 40}, clipped);
    holder.pixel({0, 0}, kGrey);  // the clip ends with the nested picture
    Raster c(40, 40);
    holder.playOnto(c, {0, 0, 40, 40});
    EXPECT_EQ(CountColour(c, kLight), 400);
    EXPECT_EQ(c.pixel(0, 0), kGrey);

    // coordinates that overflow once scaled are held in range, not wrapped
    Picture far(1, 1);
    far.setBrush({kGrey});
    far.ellipse({-2000000000, -2000000000, 2000000000, 2000000000});
    far.moveTo({-2000000000, 0});
    far.lineTo({2000000000, 0});
    Raster big(30, 30);
    far.playOnto(big, {0, 0, 1000, 1000});
    EXPECT_EQ(big.pixel(15, 15), kGrey);
}

TEST(Picture, RecordsOperationsForOtherPainters) {
    Picture p(10, 10);
    p.setPen({kGrey, 2, PenStyle::Dot});
    p.moveTo({1, 1});
    p.lineTo({5, 5});
    p.polygon({{0, 0}, {5, 0}, {0, 5}});
    p.text({1, 2}, "N");
    const auto& ops = p.operations();
    ASSERT_EQ(ops.size(), 5u);
    EXPECT_EQ(std::get<draw::SetPen>(ops[0]).pen.style, PenStyle::Dot);
    EXPECT_EQ(std::get<draw::LineTo>(ops[2]).to, (Point{5, 5}));
    EXPECT_EQ(std::get<draw::Polygon>(ops[3]).points.size(), 3u);
    EXPECT_EQ(std::get<draw::Text>(ops[4]).text, "N");
    EXPECT_EQ(p.pen().width, 2);
    p.clear();
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(p.pen(), Pen{});
    EXPECT_EQ(p.width(), 10);
}

TEST(Picture, SvgIsWellFormedAndSaysWhatWasDrawn) {
    Picture inner(10, 20);
    inner.setPen({Rgb(0x12, 0x34, 0x56), 3});
    inner.moveTo({0, 0});
    inner.lineTo({10, 20});
    Raster drawing(3, 2);
    drawing.setPixel(1, 1, kGrey);

    Picture p(561, 581);
    p.setPen({Rgb(255, 0, 0), 0, PenStyle::Dot});
    p.setBrush({kWhite, BrushStyle::Clear});
    p.ellipse({40, 40, 521, 521});
    p.setFont({"Arial Rounded MT Bold", 10, Rgb(0, 0, 255)});
    p.text({274, 20}, "N <&> \"x\" \xFF\x01 °");
    p.setBrush({Rgb(0, 128, 128)});
    p.setPen({kBlack, 1, PenStyle::Solid, PenMode::Invert});
    p.polygon({{1, 1}, {9, 1}, {5, 8}});
    p.arc({0, 0, 480, 480}, {480, 240}, {240, 0});
    p.clipRect({0, 0, 100, 100});
    p.drawPicture({100, 200, 120, 260}, inner);
    p.drawRaster({0, 0, 30, 20}, drawing, true);
    p.pixel({3, 4}, kGrey);

    std::string svg = p.toSvg();
    std::unique_ptr<Element> root;
    ASSERT_NO_THROW(root = XmlReader(svg).document()) << svg.substr(0, 2000);
    EXPECT_EQ(root->name, "svg");
    EXPECT_EQ(root->attributes["width"], "561");
    EXPECT_EQ(root->attributes["viewBox"], "0 0 561 581");
    EXPECT_EQ(root->attributes["shape-rendering"], "crispEdges");

    const Element* ellipse = root->find("ellipse");
    ASSERT_TRUE(ellipse);
    EXPECT_EQ(ellipse->attributes.at("cx"), "280.5");
    EXPECT_EQ(ellipse->attributes.at("rx"), "240.5");
    EXPECT_EQ(ellipse->attributes.at("stroke"), "#FF0000");
    EXPECT_EQ(ellipse->attributes.at("fill"), "none");
    EXPECT_TRUE(ellipse->attributes.count("stroke-dasharray"));

    const Element* text = root->find("text");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text, "N <&> \"x\" \xEF\xBF\xBD\xEF\xBF\xBD \xC2\xB0");
    EXPECT_EQ(text->attributes.at("fill"), "#0000FF");
    EXPECT_EQ(text->attributes.at("font-family"), "'Arial Rounded MT Bold', sans-serif");

    const Element* polygon = root->find("polygon");
    ASSERT_TRUE(polygon);
    EXPECT_EQ(polygon->attributes.at("fill"), "#008080");
    EXPECT_EQ(polygon->attributes.at("points"), "1,1 9,1 5,8");
    EXPECT_EQ(polygon->attributes.at("fill-rule"), "evenodd");
    EXPECT_NE(polygon->attributes.at("style").find("difference"), std::string::npos);

    const Element* arc = root->find("path");
    ASSERT_TRUE(arc);
    // a quarter from east to north, counter-clockwise: small arc, negative sweep
    EXPECT_EQ(arc->attributes.at("d"), "M 480 240 A 240 240 0 0 0 240 0");

    const Element* group = root->find("g");
    ASSERT_TRUE(group);
    EXPECT_TRUE(group->attributes.count("clip-path"));
    const Element* nested = group->find("g");
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->attributes.at("transform"), "matrix(2 0 0 3 100 200)");
    const Element* line = nested->find("line");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->attributes.at("x2"), "10");
    EXPECT_EQ(line->attributes.at("stroke"), "#123456");
    EXPECT_EQ(line->attributes.at("stroke-width"), "3");

    const Element* image = root->find("image");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->attributes.at("xlink:href").rfind("data:image/png;base64,iVBORw0KGgo", 0), 0u);
    EXPECT_EQ(root->count("rect"), 2);  // the clip rectangle and the pixel
}

TEST(Png, StoredDataDecodesToTheRasterWithValidChecksums) {
    Raster r(70, 400);  // more than one stored block
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) r.setPixel(x, y, Rgb(x, y % 256, (x * y) % 251));
    for (bool transparent : {false, true}) {
        std::vector<std::uint8_t> png = EncodePng(r, transparent);
        ASSERT_GT(png.size(), 8u);
        auto be32 = [&](std::size_t at) {
            return std::uint32_t(png[at]) << 24 | std::uint32_t(png[at + 1]) << 16 |
                   std::uint32_t(png[at + 2]) << 8 | png[at + 3];
        };
        std::size_t at = 8;
        std::vector<std::uint8_t> zlib;
        std::vector<std::string> chunks;
        while (at + 12 <= png.size()) {
            std::uint32_t length = be32(at);
            std::string type(png.begin() + std::ptrdiff_t(at + 4),
                             png.begin() + std::ptrdiff_t(at + 8));
            chunks.push_back(type);
            // bitwise CRC-32 over type and data
            std::uint32_t crc = 0xFFFFFFFF;
            for (std::size_t i = at + 4; i < at + 8 + length; ++i) {
                crc ^= png[i];
                for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
            }
            EXPECT_EQ(crc ^ 0xFFFFFFFF, be32(at + 8 + length)) << type;
            if (type == "IDAT")
                zlib.insert(zlib.end(), png.begin() + std::ptrdiff_t(at + 8),
                            png.begin() + std::ptrdiff_t(at + 8 + length));
            if (type == "IHDR") {
                EXPECT_EQ(be32(at + 8), 70u);
                EXPECT_EQ(be32(at + 12), 400u);
            }
            at += 12 + length;
        }
        EXPECT_EQ(at, png.size());
        EXPECT_EQ(chunks.front(), "IHDR");
        EXPECT_EQ(chunks.back(), "IEND");
        EXPECT_EQ(std::count(chunks.begin(), chunks.end(), "tRNS"), transparent ? 1 : 0);
        // inflate the stored blocks
        std::vector<std::uint8_t> raw;
        std::size_t z = 2;
        for (bool last = false; !last;) {
            last = zlib[z] & 1;
            ASSERT_EQ(zlib[z] & 6, 0);  // stored
            std::size_t n = zlib[z + 1] | zlib[z + 2] << 8;
            ASSERT_EQ(n ^ 0xFFFF, std::size_t(zlib[z + 3] | zlib[z + 4] << 8));
            raw.insert(raw.end(), zlib.begin() + std::ptrdiff_t(z + 5),
                       zlib.begin() + std::ptrdiff_t(z + 5 + n));
            z += 5 + n;
        }
        ASSERT_EQ(raw.size(), 400u * (1 + 70 * 3));
        for (int y = 0; y < r.height(); ++y) {
            const std::uint8_t* row = raw.data() + std::size_t(y) * (1 + 70 * 3);
            ASSERT_EQ(row[0], 0);
            for (int x = 0; x < r.width(); ++x)
                ASSERT_EQ(Rgb(row[1 + 3 * x], row[2 + 3 * x], row[3 + 3 * x]), r.pixel(x, y));
        }
        std::uint32_t a = 1, b = 0;
        for (std::uint8_t byte : raw) a = (a + byte) % 65521, b = (b + a) % 65521;
        std::uint32_t adler = std::uint32_t(zlib[z]) << 24 | std::uint32_t(zlib[z + 1]) << 16 |
                              std::uint32_t(zlib[z + 2]) << 8 | zlib[z + 3];
        EXPECT_EQ(adler, (b << 16) | a);
    }
}

#include "diagrams/Annotations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "diagrams/SunPath.h"

using namespace umbrix;

namespace {

bool Drawn(const Raster& r, int x, int y) {
    return r.pixel(x, y) != kWhite;
}

std::vector<std::string> Texts(const Picture& p) {
    std::vector<std::string> out;
    for (const PictureOp& op : p.operations())
        if (auto* t = std::get_if<draw::Text>(&op)) out.push_back(t->text);
    return out;
}

}  // namespace

TEST(Annotations, ScaleBarIsARoundLengthOfAtMost120Pixels) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double scale, metres;
    };
    // the window's zoom steps, and the edges
    for (const Case c : {Case{0.25, 20}, Case{0.5, 50}, Case{1, 100}, Case{2, 200}, Case{4, 200},
                         Case{0.1, 10}, Case{3, 200}, Case{0, 0}, Case{-1, 0}, Case{nan, 0}}) {
        EXPECT_EQ(ScaleBarMetres(c.scale), c.metres) << "scale " << c.scale;
    }
}

TEST(Annotations, ScaleBarSpansItsLengthBelowTheSquare) {
    for (double scale : {0.25, 1.0, 4.0}) {
        const Picture p = ShadowAnnotations(scale, "21.6.2026  10:00 local time");
        ASSERT_EQ(p.width(), kShadowFrameWidth);
        ASSERT_EQ(p.height(), kShadowFrameHeight);
        const Raster r = p.rasterize();
        const int length = int(std::lround(ScaleBarMetres(scale) / scale));
        const int y = 467;  // the bar's middle row
        EXPECT_TRUE(Drawn(r, 40, y)) << scale;
        EXPECT_TRUE(Drawn(r, 40 + length - 1, y)) << scale;
        EXPECT_EQ(r.pixel(40 + length / 4, y), kBlack) << scale;      // the black half
        EXPECT_EQ(r.pixel(40 + 3 * length / 4, y), kWhite) << scale;  // the white half
        EXPECT_FALSE(Drawn(r, 40 + length + 2, y)) << scale;          // before its label
        // nothing over the square with its letters, nor over the caption line
        for (int yy = 0; yy < 458; ++yy)
            for (int x = 0; x < r.width(); ++x) ASSERT_FALSE(Drawn(r, x, yy)) << x << "," << yy;
        for (int yy = 481; yy < r.height(); ++yy)
            for (int x = 0; x < r.width(); ++x) ASSERT_FALSE(Drawn(r, x, yy)) << x << "," << yy;
        const auto texts = Texts(p);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[1], "21.6.2026  10:00 local time");
    }
    EXPECT_EQ(Texts(ShadowAnnotations(0.5, "t"))[0], "50 m");
}

TEST(Annotations, LegendShowsEachLayersColourOutsideTheHorizonCircle) {
    EXPECT_TRUE(HorizonLegend({}).empty());
    const std::vector<LegendEntry> entries = {{"buildings", Rgb(128, 128, 128)},
                                              {"terrain", Rgb(192, 192, 192)},
                                              {"drawing", Rgb(9, 160, 0)}};
    const Picture p = HorizonLegend(entries);
    ASSERT_EQ(p.width(), kPolarGridWidth);
    const Raster r = p.rasterize();
    // a swatch of each colour, one under the other
    int found = 0;
    for (const LegendEntry& e : entries)
        for (int y = 0; y < 100; ++y)
            if (r.pixel(457, y) == e.colour) {
                ++found;
                break;
            }
    EXPECT_EQ(found, 3);
    EXPECT_EQ(Texts(p), (std::vector<std::string>{"buildings", "terrain", "drawing"}));
    // the legend keeps clear of the diagram's circle (centre 280, 280, radius 240)
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            if (Drawn(r, x, y)) ASSERT_GT(std::hypot(x - 280.0, y - 280.0), 245.0) << x << "," << y;
}

#include "platform/Raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <set>
#include <vector>

#include "support/Pixels.h"

using namespace umbrix;
using test::CountColour;
using test::NonWhiteExtent;

namespace {

constexpr Colour kPen = Rgb(128, 128, 128);
constexpr Colour kFill = Rgb(192, 192, 192);
const Pen kGreyPen{kPen, 1};
const Brush kGreyBrush{kFill, BrushStyle::Solid};
const Pen kNoPen{kBlack, 1, PenStyle::Clear};
const Brush kNoBrush{kWhite, BrushStyle::Clear};

int CountNonWhite(const Raster& r) {
    return r.width() * r.height() - CountColour(r, kWhite);
}

// Pixels reachable from start through white 4-neighbours.
std::set<std::pair<int, int>> WhiteRegion(const Raster& r, int x0, int y0) {
    std::set<std::pair<int, int>> seen;
    std::deque<std::pair<int, int>> todo{{x0, y0}};
    while (!todo.empty()) {
        auto [x, y] = todo.front();
        todo.pop_front();
        if (x < 0 || y < 0 || x >= r.width() || y >= r.height()) continue;
        if (r.pixel(x, y) != kWhite || !seen.insert({x, y}).second) continue;
        todo.push_back({x + 1, y});
        todo.push_back({x - 1, y});
        todo.push_back({x, y + 1});
        todo.push_back({x, y - 1});
    }
    return seen;
}

}  // namespace

TEST(Raster, ColoursAreLowByteRed) {
    EXPECT_EQ(Rgb(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(RedOf(0x563412), 0x12);
    EXPECT_EQ(GreenOf(0x563412), 0x34);
    EXPECT_EQ(BlueOf(0x563412), 0x56);
    EXPECT_EQ(Rgb(255, 255, 255), kWhite);
}

TEST(Raster, PixelAccessOutOfRangeReadsWhiteAndIgnoresWrites) {
    Raster r(3, 2, kBlack);
    EXPECT_EQ(r.pixel(2, 1), kBlack);
    for (auto [x, y] :
         std::vector<std::pair<int, int>>{{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {1 << 30, 1 << 30}}) {
        EXPECT_EQ(r.pixel(x, y), kWhite);
        r.setPixel(x, y, kPen);
    }
    EXPECT_EQ(CountColour(r, kBlack), 6);
    // only 24 bits are kept
    r.setPixel(0, 0, 0xFF123456);
    EXPECT_EQ(r.pixel(0, 0), 0x123456u);
    EXPECT_TRUE(Raster(0, 5).empty());
    EXPECT_TRUE(Raster(-3, 5).empty());
}

TEST(Raster, StretchTakesTheSourcePixelUnderEachDestinationCentre) {
    struct Case {
        int srcW, srcH;
        Rect dest;
    };
    for (const Case& c : std::vector<Case>{{3, 2, {0, 0, 7, 5}},
                                           {481, 481, {0, 0, 482, 482}},
                                           {9, 9, {1, 2, 4, 5}},
                                           {5, 4, {-3, -2, 10, 9}},
                                           {200, 3, {10, 0, 60, 3}}}) {
        Raster src(c.srcW, c.srcH);
        for (int y = 0; y < c.srcH; ++y)
            for (int x = 0; x < c.srcW; ++x) src.setPixel(x, y, Rgb(x % 256, y, x / 256));
        Raster dst(12, 8, kBlack);
        if (c.srcW == 481) dst.reset(481, 481, kBlack);
        dst.drawRaster(c.dest, src);
        for (int y = 0; y < dst.height(); ++y)
            for (int x = 0; x < dst.width(); ++x) {
                bool inside =
                    x >= c.dest.left && x < c.dest.right && y >= c.dest.top && y < c.dest.bottom;
                if (!inside) {
                    ASSERT_EQ(dst.pixel(x, y), kBlack) << x << "," << y;
                    continue;
                }
                int sx = int(std::floor((x - c.dest.left + 0.5) * c.srcW / c.dest.width()));
                int sy = int(std::floor((y - c.dest.top + 0.5) * c.srcH / c.dest.height()));
                ASSERT_EQ(dst.pixel(x, y), src.pixel(sx, sy)) << x << "," << y;
            }
    }
}

TEST(Raster, TransparentStretchKeepsTheTargetUnderWhite) {
    Raster src(2, 1);
    src.setPixel(0, 0, kPen);
    src.setPixel(1, 0, kWhite);
    Raster dst(4, 1, kFill);
    dst.drawRaster({0, 0, 4, 1}, src, true);
    EXPECT_EQ(dst.pixel(0, 0), kPen);
    EXPECT_EQ(dst.pixel(1, 0), kPen);
    EXPECT_EQ(dst.pixel(2, 0), kFill);
    EXPECT_EQ(dst.pixel(3, 0), kFill);
    // near-white is a colour like any other
    src.setPixel(1, 0, 0xFEFFFF);
    dst.drawRaster({0, 0, 4, 1}, src, true);
    EXPECT_EQ(dst.pixel(3, 0), 0xFEFFFFu);
    // drawn onto itself, shifted: the source is read as it was before
    Raster self(3, 1);
    self.setPixel(0, 0, kPen);
    self.setPixel(1, 0, kFill);
    self.drawRaster({1, 0, 4, 1}, self);
    EXPECT_EQ(self.pixel(1, 0), kPen);
    EXPECT_EQ(self.pixel(2, 0), kFill);
}

TEST(Raster, RectanglePolygonFillsExactlyThePixelsInside) {
    Raster r(40, 40);
    std::vector<Point> square{{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    r.polygon(square, kNoPen, kGreyBrush);
    EXPECT_EQ(CountColour(r, kFill), 100);
    EXPECT_EQ(r.pixel(10, 10), kFill);
    EXPECT_EQ(r.pixel(19, 19), kFill);
    EXPECT_EQ(r.pixel(20, 15), kWhite);
    EXPECT_EQ(r.pixel(15, 20), kWhite);
    // with a pen the outline adds the right and bottom edge pixels
    r.fill(kWhite);
    r.polygon(square, kGreyPen, kGreyBrush);
    EXPECT_EQ(CountColour(r, kFill) + CountColour(r, kPen), 121);
    EXPECT_EQ(r.pixel(20, 20), kPen);
}

TEST(Raster, PolygonFillFollowsTheEvenOddRule) {
    // a pentagram: the middle pentagon is crossed twice and stays empty
    std::vector<Point> star;
    for (int k = 0; k < 5; ++k) {
        double a = k * 4 * M_PI / 5 - M_PI / 2;
        star.push_back(
            {int(std::lround(100 + 90 * std::cos(a))), int(std::lround(100 + 90 * std::sin(a)))});
    }
    Raster r(200, 200);
    r.polygon(star, kNoPen, kGreyBrush);
    EXPECT_EQ(r.pixel(100, 100), kWhite);
    EXPECT_EQ(r.pixel(100, 20), kFill);  // inside the top point
    // a triangle's filled area is close to its geometric area
    r.fill(kWhite);
    std::vector<Point> triangle{{5, 5}, {185, 25}, {60, 170}};
    r.polygon(triangle, kNoPen, kGreyBrush);
    double area = std::abs((185 - 5) * (170 - 5) - (60 - 5) * (25 - 5)) / 2.0;
    EXPECT_NEAR(CountColour(r, kFill), area, area * 0.01);
}

TEST(Raster, ThinPolygonsLeavePixelsOnlyWithAPen) {
    // zero area: every point on one line
    std::vector<Point> sliver{{10, 10}, {30, 20}, {50, 30}};
    Raster r(60, 40);
    r.polygon(sliver, kNoPen, kGreyBrush);
    EXPECT_EQ(CountNonWhite(r), 0);
    r.polygon(sliver, kGreyPen, kGreyBrush);
    EXPECT_GE(CountColour(r, kPen), 40);
    EXPECT_EQ(r.pixel(50, 30), kPen);
}

TEST(Raster, NothingIsAntiAliased) {
    Raster r(300, 300);
    Pen thick{kPen, 5};
    Pen dotted{kPen, 1, PenStyle::Dot};
    std::vector<Point> wiggle;
    for (int i = 0; i < 60; ++i)
        wiggle.push_back(
            {int(150 + 140 * std::cos(i * 0.37)), int(150 + 120 * std::sin(i * 0.53))});
    r.polygon(wiggle, kGreyPen, kGreyBrush);
    r.polyline(wiggle, thick);
    r.ellipse({13, 17, 211, 140}, thick, kGreyBrush);
    r.ellipse({100, 100, 107, 131}, dotted, kGreyBrush);
    r.arc({0, 0, 300, 300}, {300, 0}, {0, 299}, thick);
    r.rectangle({3, 250, 297, 290}, dotted, kGreyBrush);
    r.line({0, 0}, {299, 211}, thick);
    r.text({20, 200}, "N 90° W/m² äöü", kPen, 19.3);
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            Colour c = r.pixel(x, y);
            ASSERT_TRUE(c == kWhite || c == kPen || c == kFill) << x << "," << y << ": " << c;
        }
}

TEST(Raster, LinesLeaveOutTheirLastPixel) {
    Raster r(20, 20);
    r.line({2, 3}, {12, 3}, kGreyPen);
    EXPECT_EQ(CountColour(r, kPen), 10);
    EXPECT_EQ(r.pixel(2, 3), kPen);
    EXPECT_EQ(r.pixel(12, 3), kWhite);
    r.fill(kWhite);
    r.line({5, 5}, {5, 5}, kGreyPen);
    EXPECT_EQ(CountNonWhite(r), 0);
    // a closed polyline draws every vertex exactly once
    std::vector<Point> box{{1, 1}, {8, 1}, {8, 8}, {1, 8}, {1, 1}};
    r.polyline(box, kGreyPen);
    EXPECT_EQ(CountColour(r, kPen), 28);
    // a clear pen draws nothing; a dotted one draws part of the line
    r.fill(kWhite);
    r.line({0, 10}, {20, 10}, {kPen, 1, PenStyle::Clear});
    EXPECT_EQ(CountNonWhite(r), 0);
    r.line({0, 10}, {20, 10}, {kPen, 1, PenStyle::Dot});
    EXPECT_GT(CountColour(r, kPen), 5);
    EXPECT_LT(CountColour(r, kPen), 15);
}

TEST(Raster, InvertingPenTogglesWhiteAndRestoresOnASecondDrawing) {
    Raster r(50, 50);
    r.rectangle({0, 0, 25, 50}, kNoPen, kGreyBrush);
    Raster before = r;
    Pen invert{kPen, 1, PenStyle::Solid, PenMode::Invert};
    std::vector<Point> crossing{{2, 2}, {45, 45}, {45, 2}, {2, 45}};  // crosses itself
    r.polyline(crossing, invert);
    EXPECT_EQ(r.pixel(2, 2), kFill ^ kWhite);
    EXPECT_EQ(r.pixel(40, 7), kBlack);  // white inverted
    r.polyline(crossing, invert);
    EXPECT_EQ(r, before);
    Pen thickInvert{kPen, 4, PenStyle::Solid, PenMode::Invert};
    r.line({3, 30}, {40, 33}, thickInvert);
    EXPECT_NE(r, before);
    r.line({3, 30}, {40, 33}, thickInvert);
    EXPECT_EQ(r, before);
}

TEST(Raster, EllipseStaysInsideItsBoxAndIsClosed) {
    Raster r(100, 80);
    Rect box{10, 20, 71, 61};
    r.ellipse(box, kGreyPen, kNoBrush);
    EXPECT_EQ(NonWhiteExtent(r), box);
    // the outline seals the inside off from the outside
    auto inside = WhiteRegion(r, 40, 40);
    EXPECT_FALSE(inside.count({0, 0}));
    EXPECT_NEAR(double(inside.size()), M_PI * 29 * 19, 0.1 * M_PI * 29 * 19);
    // symmetric about the box centre
    for (int y = 20; y < 61; ++y)
        for (int x = 10; x < 71; ++x) ASSERT_EQ(r.pixel(x, y), r.pixel(80 - x, 80 - y));
    // filled: brush inside, pen on the rim
    r.fill(kWhite);
    r.ellipse(box, kGreyPen, kGreyBrush);
    EXPECT_EQ(r.pixel(40, 40), kFill);
    EXPECT_EQ(r.pixel(10, 40), kPen);
}

TEST(Raster, ArcRunsCounterClockwiseFromStartToEnd) {
    Rect box{0, 0, 101, 101};
    struct Case {
        Point start, end;
        bool upperRight, upperLeft, lowerLeft, lowerRight;
    };
    // east = (100, 50), north = (50, 0), west = (0, 50), south = (50, 100)
    for (const Case& c : std::vector<Case>{
             {{100, 50}, {50, 0}, true, false, false, false},
             {{50, 0}, {100, 50}, false, true, true, true},
             {{0, 50}, {100, 50}, false, false, true, true},
             {{200, 50}, {200, 50}, true, true, true, true},  // same radial: whole ellipse
         }) {
        Raster r(101, 101);
        r.arc(box, c.start, c.end, kGreyPen);
        auto any = [&](int x0, int x1, int y0, int y1) {
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                    if (r.pixel(x, y) == kPen) return true;
            return false;
        };
        // quadrants away from the axes, so end pixels do not blur the answer
        EXPECT_EQ(any(55, 101, 0, 45), c.upperRight);
        EXPECT_EQ(any(0, 45, 0, 45), c.upperLeft);
        EXPECT_EQ(any(0, 45, 55, 101), c.lowerLeft);
        EXPECT_EQ(any(55, 101, 55, 101), c.lowerRight);
    }
}

TEST(Raster, RectangleBorderAndInside) {
    Raster r(20, 20);
    r.rectangle({2, 3, 12, 9}, kGreyPen, kGreyBrush);
    EXPECT_EQ(CountColour(r, kPen) + CountColour(r, kFill), 60);
    EXPECT_EQ(CountColour(r, kPen), 28);
    EXPECT_EQ(r.pixel(11, 8), kPen);
    EXPECT_EQ(r.pixel(12, 8), kWhite);
    EXPECT_EQ(r.pixel(5, 5), kFill);
    // a one-pixel-wide rectangle under an inverting pen still shows
    Raster line(5, 5);
    line.rectangle({2, 0, 3, 5}, {kPen, 1, PenStyle::Solid, PenMode::Invert}, kNoBrush);
    EXPECT_EQ(CountColour(line, kBlack), 5);
}

TEST(Raster, ClipKeepsDrawingInside) {
    Raster r(50, 50);
    r.setClip({10, 10, 20, 20});
    r.rectangle({0, 0, 50, 50}, kGreyPen, kGreyBrush);
    r.line({0, 15}, {50, 15}, {kPen, 3});
    r.ellipse({-100, -100, 100, 100}, kGreyPen, kGreyBrush);
    EXPECT_EQ(CountNonWhite(r), 100);
    r.resetClip();
    r.plot({0, 0}, kPen);
    EXPECT_EQ(r.pixel(0, 0), kPen);
}

TEST(Raster, RunawayCoordinatesDoNotStall) {
    Raster r(100, 100);
    r.line({-2000000000, 50}, {2000000000, 50}, kGreyPen);
    EXPECT_EQ(r.pixel(0, 50), kPen);
    EXPECT_EQ(r.pixel(99, 50), kPen);
    r.polygon(std::vector<Point>{{-2000000000, -2000000000}, {2000000000, 0}, {0, 2000000000}},
              kGreyPen, kGreyBrush);
    EXPECT_EQ(r.pixel(50, 20), kFill);
    const int far = 2000000000;
    r.ellipse({-far, -far, far, far}, kGreyPen, {kPen});
    EXPECT_EQ(r.pixel(50, 50), kPen);
    r.drawRaster({-far, -far, far, far}, Raster(2, 2, kFill));
    EXPECT_EQ(r.pixel(0, 0), kFill);
    r.text({far, far}, "far", kPen, 8);
    r.text({-far, 0}, "far", kFill, 1e12);
}

TEST(Raster, TextUsesTheFontCellAndItsWidth) {
    Raster r(200, 40);
    r.text({10, 5}, "N", kPen, 16);
    // 5 glyph columns and 7 rows at twice the size
    EXPECT_EQ(NonWhiteExtent(r), (Rect{10, 5, 20, 19}));
    EXPECT_EQ(TextWidth("N", 16), 12);
    EXPECT_EQ(TextWidth("ä°", 8), 12);  // one cell per character, not per byte
    // different texts draw differently; malformed UTF-8 draws without harm
    Raster a(60, 12), b(60, 12);
    a.text({0, 0}, "12.6", kPen, 8);
    b.text({0, 0}, "12.9", kPen, 8);
    EXPECT_NE(a, b);
    a.text({0, 0}, "\xC3\x28\xFF", kPen, 8);
}

#include "horizon/Fisheye.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/FakeHost.h"

using namespace umbrix;

namespace {

constexpr Colour kGrey = Rgb(128, 128, 128);

// A horizon drawing obstructing the pixels whose distance from the centre pixel passes test.
template <class Test>
Raster Drawing(Test obstructed) {
    Raster r(kFisheyeSize, kFisheyeSize);
    for (int y = 0; y < kFisheyeSize; ++y)
        for (int x = 0; x < kFisheyeSize; ++x) {
            double d = std::hypot(x - 240.0, y - 240.0);
            if (d <= 240 && obstructed(d)) r.setPixel(x, y, kGrey);
        }
    return r;
}

// The factors summed pixel by pixel straight from the rule, for comparison with the fast pass.
SkyViewFactorValues Reference(const Raster& image) {
    double ss = 0, so = 0, cs = 0, co = 0;
    for (int X = 0; X <= 480; ++X)
        for (int Y = 0; Y <= 480; ++Y) {
            double r = std::sqrt((X - 240.5) * (X - 240.5) + (Y - 240.5) * (Y - 240.5)) / 240.5;
            if (r > 1) continue;
            double theta = r * M_PI / 2;
            double w = r == 0 ? 1 : std::sin(theta) / r;
            if (image.pixel(X, Y) == kWhite) {
                ss += w;
                cs += w * std::cos(theta);
            } else {
                so += w;
                co += w * std::cos(theta);
            }
        }
    return {float(ss / (ss + so)), float(cs / (cs + co))};
}

}  // namespace

TEST(Fisheye, WithoutSourcesTheSkyIsFreeAndTheSunVisibleAboveTheHorizon) {
    test::FakeHost host;
    SkyViewFactorValues v = SkyViewFactors({}, &host);
    EXPECT_EQ(v.SVF_Umb, 1.0f);
    EXPECT_EQ(v.SVF_cos, 1.0f);
    EXPECT_EQ(host.progressMax, 481);
    EXPECT_EQ(host.progressSteps, 481);
    EXPECT_EQ(host.processCalls, 481);

    // sources that draw nothing but white change nothing
    Raster blank(kFisheyeSize, kFisheyeSize);
    Picture whiteShapes(481, 481);
    whiteShapes.setPen({kWhite});
    whiteShapes.ellipse({0, 0, 481, 481});
    std::vector<HorizonSource> sources{&blank, &whiteShapes, static_cast<const Raster*>(nullptr)};
    v = SkyViewFactors(sources, nullptr);
    EXPECT_EQ(v.SVF_Umb, 1.0f);
    EXPECT_EQ(v.SVF_cos, 1.0f);

    Raster image = BuildHorizonImage(sources);
    for (double Z = 0; Z < 90; Z += 7.3)
        for (double A = 0; A < 360; A += 11.7)
            ASSERT_FALSE(IsSunHidden(image, Z, A)) << Z << " " << A;
    EXPECT_FALSE(IsSunHidden(image, 89.999, 45));
    EXPECT_TRUE(IsSunHidden(image, 90, 45));
    EXPECT_TRUE(IsSunHidden(image, 120, 45));
    EXPECT_TRUE(IsSunHidden(image, std::nan(""), 45));
    EXPECT_TRUE(IsSunHidden(image, 30, std::nan("")));
}

TEST(Fisheye, RingAndDiscGiveTheAnalyticFactors) {
    struct Case {
        const char* what;
        bool lowRing;  // obstructed below 45° elevation, else the inner disc up to 45° zenith
        double svfUmb, svfCos;
    };
    for (const Case& c : std::vector<Case>{
             {"ring below 45 degrees elevation", true, 1 - std::sin(M_PI / 4), 0.5},
             {"disc up to 45 degrees zenith", false, std::cos(M_PI / 4), 0.5},
         }) {
        Raster drawing = c.lowRing ? Drawing([](double d) { return d > 120; })
                                   : Drawing([](double d) { return d <= 120; });
        std::vector<HorizonSource> sources{&drawing};
        SkyViewFactorValues v = SkyViewFactors(sources, nullptr);
        EXPECT_NEAR(v.SVF_Umb, c.svfUmb, 0.005) << c.what;
        EXPECT_NEAR(v.SVF_cos, c.svfCos, 0.005) << c.what;
    }
    // the same ring as a vector picture: an annulus of two even-odd rings of points
    Picture ring(481, 481);
    ring.setPen({kGrey});
    ring.setBrush({kGrey});
    std::vector<Point> points;
    for (double radius : {240.0, 120.0})
        for (int k = 0; k <= 720; ++k)
            points.push_back({240 + int(std::lround(radius * std::sin(k * M_PI / 360))),
                              240 - int(std::lround(radius * std::cos(k * M_PI / 360)))});
    ring.polygon(points);
    std::vector<HorizonSource> sources{&ring};
    SkyViewFactorValues v = SkyViewFactors(sources, nullptr);
    EXPECT_NEAR(v.SVF_Umb, 1 - std::sin(M_PI / 4), 0.005);
    EXPECT_NEAR(v.SVF_cos, 0.5, 0.005);
}

TEST(Fisheye, FastPassSumsExactlyAsThePixelRule) {
    // an irregular horizon: sectors of different heights, an off-centre blob, stray pixels
    Raster drawing(kFisheyeSize, kFisheyeSize);
    for (int y = 0; y < kFisheyeSize; ++y)
        for (int x = 0; x < kFisheyeSize; ++x) {
            double d = std::hypot(x - 240.0, y - 240.0);
            double a = std::atan2(x - 240.0, 240.0 - y);
            if (d > 240 - 90 * std::abs(std::sin(3 * a)) ||
                (x - 300) * (x - 300) + (y - 100) * (y - 100) < 900 || (x * 7 + y * 13) % 97 == 0)
                drawing.setPixel(x, y, Rgb(x % 256, 10, 10));
        }
    std::vector<HorizonSource> sources{&drawing};
    Raster sky = BuildSkyViewImage(sources);
    SkyViewFactorValues fast = IntegrateSkyViewFactors(sky, nullptr);
    SkyViewFactorValues slow = Reference(sky);
    EXPECT_EQ(fast.SVF_Umb, slow.SVF_Umb);
    EXPECT_EQ(fast.SVF_cos, slow.SVF_cos);
    EXPECT_GT(fast.SVF_Umb, 0.2f);
    EXPECT_LT(fast.SVF_Umb, 0.9f);
}

TEST(Fisheye, OnlyExactWhiteIsSky) {
    Raster drawing(kFisheyeSize, kFisheyeSize);
    drawing.setPixel(300, 200, 0xFEFFFF);
    std::vector<HorizonSource> sources{&drawing};
    SkyViewFactorValues v = SkyViewFactors(sources, nullptr);
    EXPECT_LT(v.SVF_Umb, 1.0f);
    EXPECT_LT(v.SVF_cos, 1.0f);
    Raster image = BuildHorizonImage(sources);
    EXPECT_EQ(image.pixel(300, 200), 0xFEFFFFu);
    // the direction of pixel (300, 200): 60 east, 40 north of the centre
    double A = std::atan2(60.0, 40.0) * 180 / M_PI;
    double Z = std::hypot(60.0, 40.0) / 240 * 90;
    EXPECT_TRUE(IsSunHidden(image, Z, A));
    EXPECT_FALSE(IsSunHidden(image, Z + 0.5, A));
}

TEST(Fisheye, SunPixelRoundsHalvesToEven) {
    // due east: x = 240 + round(Z / 90 · 240), y = 240
    Raster image(kFisheyeSize, kFisheyeSize);
    image.setPixel(241, 240, kGrey);
    image.setPixel(360, 240, kGrey);
    EXPECT_FALSE(IsSunHidden(image, 0.5 * 90 / 240, 90));  // 0.5 → 0
    EXPECT_TRUE(IsSunHidden(image, 1.0 * 90 / 240, 90));
    EXPECT_FALSE(IsSunHidden(image, 1.5 * 90 / 240, 90));  // 1.5 → 2
    EXPECT_TRUE(IsSunHidden(image, 45, 90));
    // north is up: azimuth 0 reads above the centre
    image.setPixel(240, 120, kGrey);
    EXPECT_TRUE(IsSunHidden(image, 45, 0));
    EXPECT_FALSE(IsSunHidden(image, 45, 180));
}

TEST(Fisheye, SourcesAreDrawnTransparentlyInOrder) {
    Raster drawing(kFisheyeSize, kFisheyeSize);
    drawing.rectangle({0, 0, 100, 481}, {kGrey}, {kGrey});
    // white on top of the drawing must not free what the drawing obstructs
    Picture cover(481, 481);
    cover.setPen({kWhite});
    cover.setBrush({kWhite});
    cover.rectangle({0, 0, 481, 481});
    cover.setPen({Rgb(192, 192, 192)});
    cover.setBrush({Rgb(192, 192, 192)});
    cover.rectangle({50, 0, 150, 481});
    std::vector<HorizonSource> sources{&drawing, &cover};
    Raster image = BuildHorizonImage(sources);
    EXPECT_EQ(image.pixel(10, 240), kGrey);
    EXPECT_EQ(image.pixel(60, 240), Rgb(192, 192, 192));  // later source on top
    EXPECT_EQ(image.pixel(120, 240), Rgb(192, 192, 192));
    EXPECT_EQ(image.pixel(200, 240), kWhite);
}

TEST(Fisheye, SkyViewImageIsStretchedOnePixelLarger) {
    // the last source column falls beyond the 482-pixel stretch and drops out of the factors,
    // while the sun test still sees it
    Raster drawing(kFisheyeSize, kFisheyeSize);
    for (int y = 0; y < kFisheyeSize; ++y) drawing.setPixel(480, y, kGrey);
    std::vector<HorizonSource> sources{&drawing};
    EXPECT_EQ(BuildHorizonImage(sources).pixel(480, 240), kGrey);
    Raster sky = BuildSkyViewImage(sources);
    for (int y = 0; y < kFisheyeSize; ++y)
        for (int x = 0; x < kFisheyeSize; ++x) ASSERT_EQ(sky.pixel(x, y), kWhite);
    // column 240 moves to 240 and 241 (centres 240.5 and 241.5 map back onto it)
    Raster middle(kFisheyeSize, kFisheyeSize);
    for (int y = 0; y < kFisheyeSize; ++y) middle.setPixel(240, y, kGrey);
    std::vector<HorizonSource> middleSources{&middle};
    Raster stretched = BuildSkyViewImage(middleSources);
    EXPECT_EQ(stretched.pixel(239, 100), kWhite);
    EXPECT_EQ(stretched.pixel(240, 100), kGrey);
    EXPECT_EQ(stretched.pixel(241, 100), kGrey);
    EXPECT_EQ(stretched.pixel(242, 100), kWhite);
}

TEST(Fisheye, KeptHorizonServesLaterRows) {
    Raster drawing = Drawing([](double d) { return d > 200; });
    std::vector<HorizonSource> sources{&drawing};
    FisheyeHorizon kept;
    EXPECT_EQ(kept.SVF_Umb, 0.0f);  // nothing computed yet
    test::FakeHost host;
    ComputeFisheyeHorizon(kept, sources, &host);
    EXPECT_EQ(kept.image, BuildHorizonImage(sources));
    SkyViewFactorValues direct = SkyViewFactors(sources, nullptr);
    EXPECT_EQ(kept.SVF_Umb, direct.SVF_Umb);
    EXPECT_EQ(kept.SVF_cos, direct.SVF_cos);
    // the factors can be recomputed from a composed image alone
    SkyViewFactorValues again = IntegrateSkyViewFactors(BuildSkyViewImage(sources), nullptr);
    EXPECT_EQ(again.SVF_Umb, kept.SVF_Umb);
    // changing the drawing later leaves the kept image alone
    drawing.fill(kWhite);
    EXPECT_TRUE(IsSunHidden(kept.image, 85, 10));
}

TEST(Fisheye, ShadingBrightensSurfacesFacingAwayFromTheSun) {
    Raster all = Drawing([](double) { return true; });
    std::vector<HorizonSource> sources{&all};
    Raster sky = BuildSkyViewImage(sources);
    Raster shading(kFisheyeSize, kFisheyeSize);
    test::FakeHost host;
    // sun on the eastern horizon
    ShadeSkyImage(sky, shading, 90, 90, &host);
    EXPECT_EQ(host.progressSteps, 481);
    Colour west = shading.pixel(2, 240), east = shading.pixel(478, 240);
    Colour north = shading.pixel(240, 2), zenith = shading.pixel(240, 240);
    EXPECT_EQ(RedOf(west), 0);
    EXPECT_GE(GreenOf(west), 126);  // −cos θ ≈ 1
    EXPECT_EQ(BlueOf(west), 2 * GreenOf(west));
    EXPECT_EQ(east, kBlack);  // facing the sun: v = 0
    EXPECT_LE(GreenOf(north), 2);
    EXPECT_EQ(zenith, kBlack);
    EXPECT_EQ(shading.pixel(0, 0), kWhite);  // outside the horizon circle: untouched

    // free sky stays untouched; with the sun at the zenith nothing faces away from it
    Raster half = Drawing([](double d) { return d > 120; });
    std::vector<HorizonSource> halfSources{&half};
    Raster shading2(kFisheyeSize, kFisheyeSize);
    ShadeSkyImage(BuildSkyViewImage(halfSources), shading2, 0, 0, nullptr);
    EXPECT_EQ(shading2.pixel(240, 240), kWhite);
    EXPECT_EQ(shading2.pixel(240, 30), kBlack);

    // a sun below the horizon, opposite a pixel: blue saturates instead of wrapping to 0
    for (int x : {60, 100, 200}) {
        double e = x - 240.5, n = 240.5 - 240;
        double rho = std::sqrt(e * e + n * n) / 481 * 2;
        double Ap = std::atan2(e, n) * 180 / M_PI;
        Raster s(kFisheyeSize, kFisheyeSize);
        ShadeSkyImage(sky, s, Ap + 180, 180 - rho * 90, nullptr);
        Colour c = s.pixel(x, 240);
        EXPECT_GE(GreenOf(c), 127);
        EXPECT_EQ(BlueOf(c), std::min(2 * GreenOf(c), 255));
    }
}

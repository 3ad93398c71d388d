// The composed horizon in a table row: the header's obstructed share, the sky view factors, and
// the sun test inside the radiation step.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/Bmp.h"
#include "platform/Error.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

// Grey below the given elevation (degrees), white above, in the fisheye frame.
Raster RingBelow(double elevation) {
    Raster r(481, 481);
    const double limit = (1.0 - elevation / 90.0) * 240.0;
    for (int y = 0; y < 481; ++y)
        for (int x = 0; x < 481; ++x)
            if (std::hypot(x - 240.0, y - 240.0) > limit) r.setPixel(x, y, Rgb(128, 128, 128));
    return r;
}

class HorizonRowTest : public AppFixture {
  protected:
    void newRowAt(const std::string& time) {
        main().typeAndLeave("EditDat", "21.6.2026");
        main().typeAndLeave("EditZeit", time);
        main().click("ButtonNeu");
    }
};

TEST_F(HorizonRowTest, FreeSkyGivesBothFactorsOne) {
    newRowAt("12:00");
    EXPECT_EQ(Column(table(), "SVF_Umb"), "1.000");
    EXPECT_EQ(table().at(4), "horizon limitation: \t0.0% \tsky view factor (Umbrix): \t1.000");
}

TEST_F(HorizonRowTest, RingLowersTheDiffuseRadiationAndReachesTheHeader) {
    newRowAt("12:00");
    const double freeDiffuse = std::stod(Column(table(), "Dact"));
    const double freeDirect = std::stod(Column(table(), "Sact"));

    WriteBmp(path("ring.bmp"), RingBelow(45.0));
    app->loadHorizonDrawing(path("ring.bmp"));
    EXPECT_TRUE(main().checked("Horizonteinengung1"));
    EXPECT_FALSE(main().enabled("ButtonHinzu"));
    newRowAt("12:00");
    const double svf = std::stod(Column(table(), "SVF_Umb"));
    EXPECT_NEAR(svf, 1.0 - std::sin(M_PI / 4), 0.005);
    EXPECT_EQ(table().at(4).substr(0, 24), "horizon limitation: \t70.");
    // the noon sun stands above 45°: the direct part stays, the isotropic diffuse part drops
    EXPECT_EQ(std::stod(Column(table(), "Sact")), freeDirect);
    const double ringDiffuse = std::stod(Column(table(), "Dact"));
    EXPECT_LT(ringDiffuse, freeDiffuse - 20.0);
    EXPECT_GT(ringDiffuse, freeDiffuse * 0.5);  // the circumsolar part stays

    // in the evening the sun is below 45° and hidden by the ring
    newRowAt("18:00");
    EXPECT_EQ(Column(table(), "Sact"), "0.0");
}

TEST_F(HorizonRowTest, AddKeepsTheFactorsOfTheLastNew) {
    WriteBmp(path("ring.bmp"), RingBelow(30.0));
    app->loadHorizonDrawing(path("ring.bmp"));
    newRowAt("12:00");
    const std::string svf = Column(table(), "SVF_Umb");
    main().typeAndLeave("EditZeit", "13:00");
    main().click("ButtonHinzu");
    std::vector<std::string> names = Fields(table().at(6)), second = Fields(table().at(9));
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == "SVF_Umb") {
            EXPECT_EQ(second.at(i), svf);
        }
    }
}

TEST_F(HorizonRowTest, DrawingOfTheWrongSizeIsRefused) {
    WriteBmp(path("small.bmp"), Raster(100, 100));
    EXPECT_THROW(app->loadHorizonDrawing(path("small.bmp")), FileError);
    EXPECT_FALSE(main().checked("Horizonteinengung1"));
}

}  // namespace
}  // namespace umbrix::test

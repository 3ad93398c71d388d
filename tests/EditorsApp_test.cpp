// The two horizon editors inside the application: their menu items, their pictures as horizon
// sources 1 and 2 of the fisheye image, and the table rows that follow.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "models/HorizonEditorModel.h"
#include "models/TopographyEditorModel.h"
#include "platform/Format.h"
#include "support/AppFixture.h"

namespace umbrix {
namespace {

class EditorsAppTest : public test::AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        app->registry().set("ComboOrt", "Freiburg");
        app->registry().set("Sunelevationangle1", "1");
        app->registry().set("Sunazimuthangle1", "1");
        main().typeAndLeave("EditDat", "21.6.2026");
    }
    std::string column(const std::string& name) { return test::Column(table(), name); }
    double number(const std::string& name) { return std::stod(column(name)); }
    void openValley() {
        app->topographyEditor().typeAndLeave("EditZ0", "102");
        ASSERT_TRUE(app->topographyEditor().openTopographyFile(std::string(UMBRIX_SOURCE_DIR) +
                                                               "/examples/valley.txt"));
        app->topographyEditor().click("OkBtn");
    }
};

TEST_F(EditorsAppTest, MenuItemsOpenTheEditorsWithoutTogglingThem) {
    for (const char* item : {"Horizonteinengung1", "Topographie1"}) {
        main().click(item);
        EXPECT_FALSE(main().checked(item)) << item;
    }
    EXPECT_TRUE(app->horizonEditor().isVisible());
    EXPECT_TRUE(app->topographyEditor().isVisible());
    EXPECT_NE(app->topographyEditor().caption.find("Edit topography - Topographie bearbeiten - "),
              std::string::npos);
    // both reachable by qualified component names
    app->registry().set("FormTopo.EditRast", "25");
    EXPECT_EQ(app->topographyEditor().grid().delta, 25);
}

TEST_F(EditorsAppTest, RingDrawnWithThePolygonToolGivesItsSkyViewFactor) {
    // A ring to the edge of the horizon at half the radius: everything below 45 degrees.
    HorizonEditorModel& editor = app->horizonEditor();
    constexpr int kClicks = 90;
    for (int k = 0; k < kClicks; ++k) {
        const double t = 2 * std::numbers::pi * k / kClicks;
        editor.pointerPress(240 + int(std::lround(120 * std::cos(t))),
                            240 + int(std::lround(120 * std::sin(t))));
    }
    editor.pointerDoubleClick(editor.polygon().back().x, editor.polygon().back().y);
    EXPECT_TRUE(main().checked("Horizonteinengung1"));
    main().typeAndLeave("EditZeit", "7:00");  // sun at 22 degrees: behind the ring
    main().click("ButtonNeu");
    EXPECT_NEAR(number("SVF_Umb"), 1 - std::sin(std::numbers::pi / 4), 0.01);
    EXPECT_NEAR(main().results.SVF_cos, 0.5, 0.01);
    EXPECT_EQ(column("Sact"), "0.0");

    // New in the editor takes the drawing out; "A&dd" waits for the next "&New".
    EXPECT_TRUE(main().enabled("ButtonHinzu"));
    editor.click("NeuBtn");
    EXPECT_FALSE(main().checked("Horizonteinengung1"));
    EXPECT_FALSE(main().enabled("ButtonHinzu"));
    main().click("ButtonNeu");
    EXPECT_EQ(column("SVF_Umb"), "1.000");
    EXPECT_GT(number("Sact"), 0);
}

TEST_F(EditorsAppTest, ValleyLowersTheSkyViewFactorAndHidesTheLowSun) {
    openValley();
    EXPECT_TRUE(main().checked("Topographie1"));
    EXPECT_FALSE(app->topographyEditor().isVisible());
    struct Case {
        const char* time;
        bool sunlit;
    } cases[] = {{"7:00", false}, {"9:30", true}, {"12:00", true}, {"18:00", false}};
    for (const Case& t : cases) {
        main().typeAndLeave("EditZeit", t.time);
        main().click("ButtonNeu");
        EXPECT_NEAR(number("SVF_Umb"), 0.68, 0.01) << t.time;
        EXPECT_GT(number("elev."), 15) << t.time;  // above the flat horizon at all four times
        EXPECT_EQ(number("Sact") > 0, t.sunlit) << t.time;
    }
    // without the terrain the morning sun shines
    app->topographyEditor().click("NeuBtn");
    main().typeAndLeave("EditZeit", "7:00");
    main().click("ButtonNeu");
    EXPECT_GT(number("Sact"), 0);
    EXPECT_EQ(column("SVF_Umb"), "1.000");
}

TEST_F(EditorsAppTest, GermanMessagesFollowTheLanguage) {
    main().click("Deutsch1");
    app->topographyEditor().typeAndLeave("EditZ0", "-5");
    app->topographyEditor().click("OkBtn");  // flat terrain at 0 above an eye at -5
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().rfind("Standort ist \"unterirdisch\"", 0), 0u);
}

}  // namespace
}  // namespace umbrix

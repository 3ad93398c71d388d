#include "models/ObstacleEditorModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "horizon/Fisheye.h"
#include "models/BuildingDialog.h"
#include "models/ConiferDialog.h"
#include "models/DeciduousTreeDialog.h"
#include "models/RangeMessages.h"
#include "platform/Bmp.h"
#include "platform/Error.h"
#include "platform/TextFile.h"
#include "support/AppFixture.h"
#include "support/FakeHost.h"
#include "support/MainWindowStub.h"

using namespace umbrix;
using umbrix::test::FakeHost;

namespace {

class ObstacleEditorModelTest : public ::testing::Test {
  protected:
    ObstacleEditorModelTest()
        : building(host), deciduous(host), conifer(host), obs(host, building, deciduous, conifer) {
        obs.setMainWindow(&main);
        dir = std::filesystem::temp_directory_path() /
              ("umbrix_obs_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    ~ObstacleEditorModelTest() override { std::filesystem::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    void click(int X, int Y, MouseButton b = MouseButton::Left) {
        obs.mouseDown(X, Y, b);
        obs.mouseUp(X, Y, b);
    }
    void drag(int X0, int Y0, int X1, int Y1, MouseButton b = MouseButton::Left) {
        obs.mouseDown(X0, Y0, b);
        obs.mouseMove(X1, Y1);
        obs.mouseUp(X1, Y1, b);
    }
    // A building from four clicks on the plan.
    void addBuilding(std::initializer_list<Point> corners) {
        obs.select("RadioGrp", 0);
        obs.click("AddObsBtn");
        for (Point p : corners) click(p.x, p.y);
        obs.click("AddObsBtn");  // release
    }

    FakeHost host;
    BuildingDialog building;
    DeciduousTreeDialog deciduous;
    ConiferDialog conifer;
    test::MainWindowStub main{host};
    ObstacleEditorModel obs;
    std::filesystem::path dir;
};

}  // namespace

TEST_F(ObstacleEditorModelTest, StartsEmptyWithDefaults) {
    EXPECT_TRUE(obs.obstacles().empty());
    EXPECT_EQ(obs.text("EditDat"), "(none - keine)");
    EXPECT_EQ(obs.text("EditScale"), "1");
    EXPECT_EQ(obs.text("EditAlt"), "1.00");
    EXPECT_TRUE(obs.checked("GebChk") && obs.checked("LaubChk") && obs.checked("NadelChk"));
    EXPECT_FALSE(obs.enabled("CopyObsBtn"));
    EXPECT_FALSE(obs.enabled("MoveMapBtn"));
    EXPECT_EQ(obs.horizonPicture(), nullptr);
    // the location marker at the centre of the plan
    EXPECT_EQ(obs.planImage().pixel(200, 200), 0x0000FFu);
    EXPECT_EQ(obs.planImage().width(), 401);
}

TEST_F(ObstacleEditorModelTest, AddBuildingByFourClicksAndTreeByTwo) {
    obs.click("AddObsBtn");
    EXPECT_EQ(obs.ctl("StatusBar1").caption,
              "Set building corner position - Hauseckenposition festlegen");
    click(190, 180);
    EXPECT_FALSE(obs.enabled("RadioGrp"));  // kind fixed from the first click
    click(210, 180);
    click(210, 170);
    EXPECT_TRUE(obs.obstacles().empty());
    click(190, 170);
    ASSERT_EQ(obs.obstacles().size(), 1u);
    EXPECT_TRUE(obs.enabled("RadioGrp"));
    const Obstacle& b = obs.obstacles()[0];
    EXPECT_FLOAT_EQ(float(b.corner(1).x), -10);
    EXPECT_FLOAT_EQ(float(b.corner(1).y), 20);
    EXPECT_FLOAT_EQ(float(b.corner(3).x), 10);
    EXPECT_FLOAT_EQ(float(b.corner(3).y), 30);
    EXPECT_FLOAT_EQ(float(b.corner(3).z), 10);
    EXPECT_FLOAT_EQ(float(b.corner(7).x), 10);
    EXPECT_FLOAT_EQ(float(b.corner(7).z), 0);
    EXPECT_FLOAT_EQ(b.albedo(), 0.3f);
    EXPECT_FLOAT_EQ(b.emission(), 0.95f);
    EXPECT_TRUE(obs.modified());
    EXPECT_EQ(obs.ctl("EditNr").maximum, 1);
    EXPECT_TRUE(obs.enabled("CopyObsBtn"));

    obs.select("RadioGrp", 2);
    EXPECT_EQ(obs.ctl("StatusBar1").caption, "Set trunc position - Baumstammposition festlegen");
    click(150, 250);
    EXPECT_EQ(obs.ctl("StatusBar1").caption,
              "Set crown expansion - Baumkronenausdehnung festlegen");
    click(153, 254);  // 5 pixels away
    ASSERT_EQ(obs.obstacles().size(), 2u);
    const Obstacle& t = obs.obstacles()[1];
    EXPECT_EQ(t.kind, ObstacleKind::Conifer);
    EXPECT_FLOAT_EQ(t.x(), -50);
    EXPECT_FLOAT_EQ(t.y(), -50);
    EXPECT_FLOAT_EQ(t.height(), 10);
    EXPECT_FLOAT_EQ(t.crownRadius(), 5);
    EXPECT_FLOAT_EQ(t.trunkLength(), 4);
    EXPECT_FLOAT_EQ(t.trunkDiameter(), 0.5f);
    EXPECT_EQ(obs.selectedIndex(), 1);
    EXPECT_EQ(obs.text("EditNr"), "2");

    // a command releases the mode and drops a half-placed building
    obs.select("RadioGrp", 0);
    click(100, 100);
    obs.click("ZoomInBtn");
    EXPECT_EQ(obs.mode(), "");
    EXPECT_TRUE(obs.enabled("RadioGrp"));
    obs.click("AddObsBtn");
    for (int i = 0; i < 3; ++i) click(100 + i, 100);
    EXPECT_EQ(obs.obstacles().size(), 2u);
}

TEST_F(ObstacleEditorModelTest, DoubleClickInAPointerModeIsOnlyAClick) {
    addBuilding({{190, 180}, {210, 180}, {210, 170}, {190, 170}});  // stays selected
    obs.click("AddObsBtn");
    // press, release, double click, press, release: two corners, no dialog
    click(100, 100);
    obs.doubleClick();
    click(100, 100);
    EXPECT_TRUE(host.modalDialogs.empty());
    click(120, 100);
    click(120, 120);
    ASSERT_EQ(obs.obstacles().size(), 2u);
    EXPECT_FLOAT_EQ(float(obs.obstacles()[1].corner(2).x), -100);
    EXPECT_FLOAT_EQ(float(obs.obstacles()[1].corner(4).y), 80);
}

TEST_F(ObstacleEditorModelTest, SelectDragAndCornerDrag) {
    addBuilding({{190, 180}, {210, 180}, {210, 170}, {190, 170}});
    host.askAnswers.push_back(Answer::No);  // "Save changes?": no
    obs.click("New1");
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_TRUE(host.saveRequests.empty());
    EXPECT_TRUE(obs.obstacles().empty());

    addBuilding({{190, 180}, {210, 180}, {210, 170}, {190, 170}});
    click(300, 300);  // nothing there
    EXPECT_EQ(obs.selectedIndex(), -1);
    EXPECT_FALSE(obs.enabled("CopyObsBtn"));

    // left drag from a corner handle (within one pixel) moves the whole building
    drag(211, 171, 221, 191);
    ASSERT_EQ(obs.selectedIndex(), 0);
    EXPECT_EQ(obs.selectedHandle(), 3);
    EXPECT_EQ(obs.text("EditNr"), "1");
    const Obstacle& b = obs.obstacles()[0];
    EXPECT_FLOAT_EQ(float(b.corner(1).x), 0);
    EXPECT_FLOAT_EQ(float(b.corner(1).y), 0);
    EXPECT_FLOAT_EQ(float(b.corner(5).y), 0);

    // right drag moves only the handle that was hit (top corner 1, not corner 5 below it)
    drag(200, 200, 195, 200, MouseButton::Right);
    EXPECT_EQ(obs.selectedHandle(), 1);
    EXPECT_FLOAT_EQ(float(obs.obstacles()[0].corner(1).x), -5);
    EXPECT_FLOAT_EQ(float(obs.obstacles()[0].corner(5).x), 0);
    EXPECT_FLOAT_EQ(float(obs.obstacles()[0].corner(2).x), 20);
}

TEST_F(ObstacleEditorModelTest, ClickOnAHandleSetsModifiedAndCloseOffersSave) {
    obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, 10, 10, 10, 3, 4, 0.3f, 0.3f, 0.95f));
    host.saveAnswers.push_back(path("first.obs"));
    obs.click("BitBtn3");
    EXPECT_FALSE(obs.modified());
    click(210, 190);
    EXPECT_EQ(obs.selectedIndex(), 0);
    EXPECT_TRUE(obs.modified());

    host.askAnswers.push_back(Answer::Yes);
    host.saveAnswers.push_back(path("second.obs"));
    obs.close();
    EXPECT_EQ(host.saveRequests.size(), 2u);
    EXPECT_EQ(host.saveRequests.back().fileName, path("first.obs"));
    EXPECT_TRUE(std::filesystem::exists(path("second.obs")));
    EXPECT_TRUE(main.checked("Hindernisobjekte1"));
    EXPECT_FALSE(obs.isVisible());
    ASSERT_NE(obs.horizonPicture(), nullptr);
    EXPECT_EQ(obs.obstacleFileName(), path("second.obs"));

    // closing without changes asks nothing
    obs.close();
    EXPECT_EQ(host.saveRequests.size(), 2u);
}

TEST_F(ObstacleEditorModelTest, RemoveCopyPasteAndEditNumber) {
    obs.click("RemoveObsBtn");  // nothing selected: nothing happens, the button comes up
    EXPECT_FALSE(obs.checked("RemoveObsBtn"));
    EXPECT_FALSE(obs.modified());

    obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, 10, 10, 10, 3, 4, 0.3f, 0.3f, 0.95f));
    obs.appendObstacle(MakeTree(ObstacleKind::Conifer, -10, 10, 10, 3, 4, 0.3f, 0.3f, 0.95f));
    obs.click("CopyObsBtn");
    EXPECT_TRUE(obs.enabled("PasteObsBtn"));
    obs.click("PasteObsBtn");
    ASSERT_EQ(obs.obstacles().size(), 3u);
    EXPECT_EQ(obs.obstacles()[2].kind, ObstacleKind::Conifer);
    EXPECT_EQ(obs.selectedIndex(), 2);
    EXPECT_EQ(obs.ctl("EditNr").maximum, 3);

    obs.typeAndLeave("EditNr", "1");
    EXPECT_EQ(obs.selectedIndex(), 0);
    obs.typeAndLeave("EditNr", "99");
    EXPECT_EQ(obs.selectedIndex(), 2);
    EXPECT_EQ(obs.text("EditNr"), "3");
    obs.typeAndLeave("EditNr", "x");
    EXPECT_EQ(obs.text("EditNr"), "0");
    EXPECT_EQ(obs.selectedIndex(), -1);

    obs.typeAndLeave("EditNr", "1");
    obs.click("RemoveObsBtn");
    EXPECT_FALSE(obs.checked("RemoveObsBtn"));
    ASSERT_EQ(obs.obstacles().size(), 2u);
    EXPECT_EQ(obs.obstacles()[0].kind, ObstacleKind::Conifer);
    EXPECT_EQ(obs.ctl("EditNr").maximum, 2);
    EXPECT_EQ(obs.selectedIndex(), -1);
}

TEST_F(ObstacleEditorModelTest, ZoomLimitsAndScaleField) {
    for (int i = 0; i < 20; ++i) obs.click("ZoomInBtn");
    EXPECT_DOUBLE_EQ(obs.scale(), 0.03125);
    EXPECT_DOUBLE_EQ(obs.mapZoom(), 0.03125);
    EXPECT_EQ(obs.text("EditScale"), "0.03125");
    for (int i = 0; i < 20; ++i) obs.click("ZoomOutBtn");
    EXPECT_DOUBLE_EQ(obs.scale(), 32);
    EXPECT_EQ(obs.text("EditScale"), "32");

    struct Case {
        const char* typed;
        double scale;
        const char* shown;
    } cases[] = {
        {"2,5", 2.5, "2.5"}, {"abc", 1, "1"},        {"0", 1, "1"},       {"-3", 1, "1"},
        {"1e300", 1, "1"},   {"1e-9", 1e-9, "1E-9"}, {"0.5", 0.5, "0.5"},
    };
    for (const Case& c : cases) {
        double before = obs.scale(), zoom = obs.mapZoom();
        obs.type("EditScale", c.typed);
        obs.click("ApplyButton");
        EXPECT_DOUBLE_EQ(obs.scale(), c.scale) << c.typed;
        EXPECT_DOUBLE_EQ(obs.mapZoom(), zoom * c.scale / before) << c.typed;
        EXPECT_EQ(obs.text("EditScale"), c.shown) << c.typed;
    }
    obs.typeAndLeave("EditScale", "4");  // leaving the field applies it too
    EXPECT_DOUBLE_EQ(obs.scale(), 4);
}

TEST_F(ObstacleEditorModelTest, FitTakesTheRoundestScaleThatShowsEveryObstacle) {
    // reach = the farthest x or y (a tree's crown included); 180 pixels must hold it; a reach
    // beyond any usable scale keeps the scale
    struct Case {
        float x, crown;
        double scale;
    } cases[] = {
        {22, 0, 0.125},   {-40, 5, 0.25},  {100, 0, 1},
        {0.5, 0.5, 0.05}, {3000, 600, 20}, {1e30f, 0, 2},
    };
    for (const Case& c : cases) {
        host.askAnswers.push_back(Answer::No);  // "Save changes?": no
        obs.click("New1");
        obs.appendObstacle(
            MakeTree(ObstacleKind::Conifer, c.x, 1, 10, c.crown, 2, 0.3f, 0.3f, 0.95f));
        obs.click("ZoomOutBtn");  // 2 m per pixel, so that every case changes it
        obs.click("FitBtn");
        EXPECT_DOUBLE_EQ(obs.scale(), c.scale) << c.x;
    }
    host.askAnswers.push_back(Answer::No);
    obs.click("New1");  // nothing to fit: the scale stays
    obs.click("ZoomOutBtn");
    obs.click("FitBtn");
    EXPECT_DOUBLE_EQ(obs.scale(), 2);
}

TEST_F(ObstacleEditorModelTest, YardstickSetsTheScale) {
    obs.click("ScaleBtn");
    EXPECT_EQ(obs.mode(), "ScaleBtn");
    obs.mouseDown(100, 100);
    EXPECT_EQ(obs.ctl("StatusBar1").caption,
              "Release mouse button on end of yardstick - Maustaste am Ende des Maßstabs "
              "loslassen");
    obs.mouseUp(160, 180);  // 100 pixels
    EXPECT_EQ(obs.mode(), "");
    EXPECT_TRUE(obs.enabled("EditYardstick"));
    EXPECT_EQ(obs.text("EditYardstick"), "100");
    EXPECT_EQ(obs.focusedControl(), "EditYardstick");
    EXPECT_EQ(obs.defaultButton(), "ApplyButton");
    obs.typeAndLeave("EditYardstick", "25");
    EXPECT_DOUBLE_EQ(obs.scale(), 0.25);
    EXPECT_DOUBLE_EQ(obs.mapZoom(), 1);
    EXPECT_EQ(obs.text("EditScale"), "0.25");
    EXPECT_FALSE(obs.enabled("EditYardstick"));

    // no distance, or an unusable length, leaves the scale alone
    obs.click("ScaleBtn");
    click(50, 50);
    EXPECT_FALSE(obs.enabled("EditYardstick"));
    EXPECT_DOUBLE_EQ(obs.scale(), 0.25);
    for (const char* typed : {"x", "0", "-2"}) {
        obs.click("ScaleBtn");
        drag(0, 0, 10, 0);
        obs.typeAndLeave("EditYardstick", typed);
        EXPECT_DOUBLE_EQ(obs.scale(), 0.25) << typed;
        EXPECT_EQ(obs.text("EditScale"), "0.25");
    }
}

TEST_F(ObstacleEditorModelTest, RotateMoveLocationAndMoveEverything) {
    obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, 10, 0, 10, 3, 4, 0.3f, 0.3f, 0.95f));
    obs.typeAndLeave("EditRot", "90");
    obs.click("RotateBtn");
    EXPECT_EQ(obs.text("EditRot"), "0");
    EXPECT_NEAR(obs.obstacles()[0].x(), 0, 1e-5);
    EXPECT_NEAR(obs.obstacles()[0].y(), 10, 1e-5);
    obs.typeAndLeave("EditRot", "x");
    EXPECT_EQ(obs.text("EditRot"), "0");
    obs.typeAndLeave("EditRot", "-45,5");
    EXPECT_EQ(obs.text("EditRot"), "-45.5");

    // the clicked point becomes the origin
    obs.click("MoveLocBtn");
    click(205, 190);  // (5, 10) m
    EXPECT_NEAR(obs.obstacles()[0].x(), -5, 1e-5);
    EXPECT_NEAR(obs.obstacles()[0].y(), 0, 1e-5);
    EXPECT_FLOAT_EQ(obs.obstacles()[0].height(), 10);
    EXPECT_EQ(obs.mode(), "MoveLocBtn");

    // the view frame follows the drag: obstacles move against it
    obs.click("MoveBtn");
    drag(100, 100, 130, 80);
    EXPECT_NEAR(obs.obstacles()[0].x(), -35, 1e-5);
    EXPECT_NEAR(obs.obstacles()[0].y(), -20, 1e-5);
    EXPECT_TRUE(obs.modified());
}

TEST_F(ObstacleEditorModelTest, FarAndHugeObstaclesAreDrawnAndProjectedSafely) {
    obs.appendObstacle(
        MakeTree(ObstacleKind::Deciduous, 1e30f, -1e30f, 3e38f, 3e38f, 1, 3e38f, 0.3f, 0.95f));
    obs.appendObstacle(MakeTree(ObstacleKind::Conifer, 5, 5, 10, 3e38f, 4, 1, 0.3f, 0.95f));
    obs.appendObstacle(MakeBuilding({{{-3e38f, -3e38f}, {3e38f, -3e38f}, {3e38f, 1}, {0, 1}}},
                                    3e38f, 0.3f, 0.95f));
    obs.mouseMove(200, 200);
    host.askAnswers.assign(2, Answer::No);  // not saved, here and at New
    obs.close();
    ASSERT_NE(obs.horizonPicture(), nullptr);
    for (const ProjectedShape& shape : obs.horizonShapes())
        for (Point p : shape.points) {
            EXPECT_GE(p.x, 0);
            EXPECT_LE(p.x, 480);
        }
    // an empty list does not become modified by moving or rotating nothing
    obs.click("New1");
    obs.click("MoveLocBtn");
    click(150, 150);
    obs.typeAndLeave("EditRot", "30");
    obs.click("RotateBtn");
    EXPECT_FALSE(obs.modified());
}

TEST_F(ObstacleEditorModelTest, DialogRefusesAlbedoAndEmissionOutsideZeroToOne) {
    obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, 10, 0, 10, 3, 4, 0.3f, 0.3f, 0.95f));
    host.modalScripts.push_back([](FormModel& d) {
        EXPECT_THROW(d.typeAndLeave("EditAlb", "1.5"), RangeError);
        EXPECT_EQ(d.text("EditAlb"), "0.30");
        d.type("EditEmi", "-0.5");  // not left: "&OK" refuses it
        d.click("OKBtn");
        EXPECT_EQ(d.text("EditEmi"), "0.95");
        d.click("CancelBtn");
    });
    obs.click("EditObsBtn");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find(
                  "Emission coefficient (EditEmi): \"-0.5\" is outside the range 0 to 1"),
              std::string::npos)
        << host.messages[0];
    EXPECT_FLOAT_EQ(obs.obstacles()[0].emission(), 0.95f);
}

TEST_F(ObstacleEditorModelTest, FieldRulesForAltitude) {
    struct Case {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"2,5", "2.50"}, {"abc", "1.00"}, {"", "1.00"}, {"12", "12.00"}, {"-0.333", "-0.33"}};
    for (const Case& c : cases) {
        obs.typeAndLeave("EditAlt", c.typed);
        EXPECT_EQ(obs.text("EditAlt"), c.shown) << c.typed;
    }
}

TEST_F(ObstacleEditorModelTest, EditThroughTheDialogs) {
    obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, 10, 0, 10, 3, 4, 0.3f, 0.3f, 0.95f));
    host.modalScripts.push_back([](FormModel& d) {
        EXPECT_EQ(d.text("EditZ"), "10.00");
        EXPECT_EQ(d.text("EditAlb"), "0.30");
        d.type("EditZ", "12.345");
        d.type("EditAlb", "0.25");
        d.type("EditEmi", "0.9");
        d.type("EditD", "thick");  // not a number: keeps its value
        d.click("OKBtn");
        EXPECT_EQ(d.text("EditZ"), "12.35");
        EXPECT_EQ(d.text("EditD"), "0.30");
    });
    obs.click("EditObsBtn");
    EXPECT_EQ(host.modalDialogs, std::vector<std::string>{"LaubForm"});
    const Obstacle& t = obs.obstacles()[0];
    EXPECT_FLOAT_EQ(t.height(), 12.35f);  // what the dialog shows is what it stores
    EXPECT_FLOAT_EQ(t.trunkDiameter(), 0.3f);
    EXPECT_FLOAT_EQ(obs.defaultAlbedo(), 0.25f);
    EXPECT_FLOAT_EQ(obs.defaultEmission(), 0.9f);

    // the new defaults go to new obstacles
    obs.select("RadioGrp", 1);
    obs.click("AddObsBtn");
    click(100, 100);
    click(100, 103);
    EXPECT_FLOAT_EQ(obs.obstacles()[1].albedo(), 0.25f);

    // a trunk above the tree top is refused; the previous values come back
    obs.typeAndLeave("EditNr", "1");
    host.modalScripts.push_back([](FormModel& d) {
        d.type("EditS", "20");
        d.type("EditX", "1");
        d.click("OKBtn");
        EXPECT_EQ(d.text("EditS"), "4.00");
        EXPECT_EQ(d.text("EditZ"), "12.35");
        d.click("CancelBtn");
    });
    obs.click("EditObsBtn");
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_FLOAT_EQ(obs.obstacles()[0].trunkLength(), 4);
    EXPECT_FLOAT_EQ(obs.obstacles()[0].x(), 10);  // cancelled

    // a building goes to the building dialog; a double click opens it too
    obs.appendObstacle(MakeBuilding({{{0, 0}, {1, 0}, {1, 1}, {0, 1}}}, 5, 0.3f, 0.95f));
    host.modalScripts.push_back([](FormModel& d) {
        EXPECT_EQ(d.text("EditZ5"), "0.00");
        d.type("EditZ1", "7,5");  // the dialogs read a decimal point only
        d.type("EditZ2", "7.5");
        d.click("OKBtn");
    });
    obs.doubleClick();
    EXPECT_EQ(host.modalDialogs.back(), "GebForm");
    EXPECT_FLOAT_EQ(float(obs.obstacles()[2].corner(1).z), 5);
    EXPECT_FLOAT_EQ(float(obs.obstacles()[2].corner(2).z), 7.5f);
}

TEST_F(ObstacleEditorModelTest, SaveOpenAndTheMainWindow) {
    obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, 12, -3.5f, 10, 3, 4, 0.3f, 0.3f, 0.957f));
    obs.appendObstacle(MakeBuilding({{{0, 10}, {5, 10}, {5, 15}, {0, 15}}}, 12, 0.3f, 0.95f));
    host.saveAnswers.push_back(path("yard.obs"));
    obs.click("SaveAs1");
    EXPECT_EQ(host.saveRequests[0].filter, "Obstacle files|*.obs");
    EXPECT_EQ(host.saveRequests[0].defaultExt, "obs");
    EXPECT_EQ(obs.text("EditDat"), "yard.obs");
    std::string text = ReadTextFile(path("yard.obs"));
    EXPECT_EQ(text.substr(0, 28), "# Umbrix obstacle file #\r\nl ");
    EXPECT_NE(text.find("l 12.00 -3.50 10.00 3.00 4.00 0.30 0.30 0.96\r\n"), std::string::npos);

    obs.click("New1");
    EXPECT_TRUE(obs.obstacles().empty());
    EXPECT_FALSE(main.checked("Hindernisobjekte1"));
    EXPECT_FALSE(main.enabled("Schattenwurf1"));
    EXPECT_FALSE(main.enabled("ButtonHinzu"));
    EXPECT_EQ(obs.text("EditDat"), "(none - keine)");

    main.ctl("ButtonHinzu").enabled = true;
    host.openAnswers.push_back(path("yard.obs"));
    obs.click("BitBtn2");
    EXPECT_EQ(host.openRequests[0].filter, "Obstacle files|*.obs");
    ASSERT_EQ(obs.obstacles().size(), 2u);
    EXPECT_FLOAT_EQ(obs.obstacles()[0].emission(), 0.96f);
    EXPECT_EQ(obs.text("EditDat"), "yard.obs");
    EXPECT_EQ(obs.text("EditNr"), "2");
    EXPECT_EQ(obs.selectedIndex(), -1);
    EXPECT_FALSE(obs.enabled("CopyObsBtn"));
    EXPECT_FALSE(obs.modified());
    EXPECT_TRUE(main.checked("Hindernisobjekte1"));
    EXPECT_TRUE(main.enabled("Schattenwurf1"));
    EXPECT_FALSE(main.enabled("ButtonHinzu"));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.saveRequests.size(), 1u);  // nothing unsaved: no save offered
}

TEST_F(ObstacleEditorModelTest, OpenReportsDroppedLinesAndKeepsTheListOnFailure) {
    WriteTextFile(path("bad.obs"),
                  "# x\r\nl 1 2 10 3 4 0.3\r\ng 1 2\r\nl 1 2 3 4 5 x\r\nn 5 5 10 2 4 0.2\r\n");
    host.openAnswers.push_back(path("bad.obs"));
    obs.click("Open1");
    EXPECT_EQ(obs.obstacles().size(), 2u);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("2 obstacle line(s)"), std::string::npos) << host.messages[0];
    EXPECT_NE(host.messages[0].find("line 3"), std::string::npos) << host.messages[0];

    host.openAnswers.push_back(path("missing.obs"));
    EXPECT_THROW(obs.click("Open1"), FileError);
    EXPECT_EQ(obs.obstacles().size(), 2u);
    EXPECT_EQ(obs.text("EditDat"), "bad.obs");
}

TEST_F(ObstacleEditorModelTest, OpenWithUnsavedChangesOffersTheSaveDialogFirst) {
    obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, 1, 2, 10, 3, 4, 0.3f, 0.3f, 0.95f));
    host.askAnswers.push_back(Answer::Yes);
    host.saveAnswers.push_back(path("kept.obs"));
    WriteTextFile(path("other.obs"), "n 5 5 10 2 4 0.2\r\n");
    host.openAnswers.push_back(path("other.obs"));
    obs.click("Open1");
    EXPECT_EQ(ParseObstacleFile(ReadTextFile(path("kept.obs")), 0, 0).obstacles.size(), 1u);
    ASSERT_EQ(obs.obstacles().size(), 1u);
    EXPECT_EQ(obs.obstacles()[0].kind, ObstacleKind::Conifer);
}

TEST_F(ObstacleEditorModelTest, CloseSortsAndProjects) {
    main.ctl("Hindernisobjekte1").checked = true;
    obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, 3, 4, 10, 3, 4, 0.3f, 0.3f, 0.95f));
    obs.appendObstacle(MakeTree(ObstacleKind::Conifer, 60, 0, 20, 3, 4, 0.3f, 0.3f, 0.95f));
    obs.typeAndLeave("EditNr", "1");
    host.askAnswers.assign(4, Answer::No);  // every close: not saved
    obs.close();
    EXPECT_EQ(obs.obstacles()[0].kind, ObstacleKind::Conifer);  // the far one first
    EXPECT_EQ(obs.selectedIndex(), 1);                          // selection follows its obstacle
    EXPECT_EQ(obs.text("EditNr"), "2");
    EXPECT_FALSE(obs.horizonShapes().empty());
    EXPECT_NE(obs.horizonPicture()->rasterize(), Raster(481, 481));
    EXPECT_FALSE(main.enabled("ButtonHinzu"));
    EXPECT_GE(host.processCalls, 4);

    // same content again: "A&dd" stays usable
    main.ctl("ButtonHinzu").enabled = true;
    obs.close();
    EXPECT_TRUE(main.enabled("ButtonHinzu"));

    // an unchecked kind leaves no trace
    obs.click("LaubChk");
    obs.click("NadelChk");
    EXPECT_FALSE(obs.checked("LaubChk"));
    obs.close();
    EXPECT_TRUE(obs.horizonShapes().empty());
    EXPECT_EQ(obs.horizonPicture()->rasterize(), Raster(481, 481));
    EXPECT_FALSE(main.enabled("ButtonHinzu"));

    // "Obstacles" unchecked: empty picture, list not sorted
    obs.click("LaubChk");
    main.ctl("Hindernisobjekte1").checked = false;
    obs.close();
    EXPECT_EQ(obs.horizonPicture()->rasterize(), Raster(481, 481));
}

TEST_F(ObstacleEditorModelTest, PlanViewDrawsObstaclesSelectionAndHover) {
    obs.appendObstacle(MakeBuilding({{{-10, 20}, {10, 20}, {10, 30}, {-10, 30}}}, 10, 0.3f, 0.95f));
    obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, -50, -50, 10, 5, 4, 0.3f, 0.3f, 0.95f));
    // the building was appended and selected first, then the tree: the tree is yellow
    EXPECT_EQ(obs.planImage().pixel(150, 247), 0x00FFFFu);
    EXPECT_EQ(obs.planImage().pixel(150, 250), 0x000000u);  // trunk pixel
    EXPECT_EQ(obs.planImage().pixel(200, 175), 0xC0C0C0u);
    obs.typeAndLeave("EditNr", "1");
    EXPECT_EQ(obs.planImage().pixel(200, 175), 0x00FFFFu);
    EXPECT_EQ(obs.planImage().pixel(150, 247), 0x008000u);

    // hovering over a handle inverts a circle of radius 5 around it
    Raster before = obs.planImage();
    obs.mouseMove(240, 240);
    EXPECT_EQ(obs.ctl("LabelX").caption, "x: 40.00");
    EXPECT_EQ(obs.ctl("LabelY").caption, "y: -40.00");
    EXPECT_FALSE(obs.hoverHandle());
    obs.mouseMove(150, 251);
    ASSERT_TRUE(obs.hoverHandle());
    EXPECT_EQ(obs.hoverHandle()->first, 1);
    EXPECT_NE(obs.planImage(), before);
    obs.mouseMove(240, 240);
    EXPECT_EQ(obs.planImage(), before);
    // not in the add mode
    obs.click("AddObsBtn");
    obs.mouseMove(150, 251);
    EXPECT_FALSE(obs.hoverHandle());
}

TEST_F(ObstacleEditorModelTest, TemplateMapMovesAndIsWrittenAsKLine) {
    Raster map(400, 400, 0x123456);
    map.setPixel(200, 200, 0x0000FF);
    map.setPixel(130, 130, 0xFF0000);
    std::string mapFile = path("map.bmp");
    WriteBmp(mapFile, map);
    host.openAnswers.push_back(mapFile);
    obs.click("NewMapBtn");
    ASSERT_TRUE(obs.hasMap());
    EXPECT_TRUE(obs.enabled("MoveMapBtn"));
    EXPECT_TRUE(obs.enabled("RemoveMapBtn"));
    EXPECT_EQ(obs.mapImage().pixel(200, 200), 0x0000FFu);
    EXPECT_EQ(obs.composedView().pixel(130, 130), 0xFF0000u);  // white plan pixels show the map
    EXPECT_EQ(obs.composedView().pixel(100, 130), 0x000000u);  // grid line over it

    obs.click("MoveMapBtn");
    obs.mouseDown(200, 200);
    obs.mouseMove(210, 195);  // the map follows the pointer
    EXPECT_EQ(obs.mapImage().pixel(210, 195), 0x0000FFu);
    obs.mouseUp(210, 195);
    EXPECT_EQ(obs.mapX(), 190);
    EXPECT_EQ(obs.mapY(), 205);

    host.saveAnswers.push_back(path("with_map.obs"));
    obs.click("Save1");
    std::vector<std::string> lines = SplitLines(ReadTextFile(path("with_map.obs")));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "k 190 205  1.00000000000000E+0000 " + mapFile);

    obs.click("RemoveMapBtn");
    EXPECT_FALSE(obs.hasMap());
    EXPECT_FALSE(obs.enabled("MoveMapBtn"));
    EXPECT_EQ(obs.mapX(), 200);
    // the map dialog keeps its file: the "k" line stays
    host.saveAnswers.push_back(path("after.obs"));
    obs.click("Save1");
    EXPECT_EQ(SplitLines(ReadTextFile(path("after.obs"))).size(), 2u);
}

namespace umbrix::test {
namespace {

using ObstaclesInTheApplication = AppFixture;

TEST_F(ObstaclesInTheApplication, MenuItemTogglesAndOpenEnablesShadows) {
    ObstacleEditorModel& obs = app->obstacleEditor();
    EXPECT_FALSE(obs.isVisible());
    main().ctl("ButtonHinzu").enabled = true;
    main().click("Hindernisobjekte1");
    EXPECT_TRUE(obs.isVisible());
    EXPECT_TRUE(main().checked("Hindernisobjekte1"));
    EXPECT_FALSE(main().enabled("ButtonHinzu"));
    main().click("Hindernisobjekte1");
    EXPECT_FALSE(main().checked("Hindernisobjekte1"));

    writeFile("yard.obs", "# Umbrix obstacle file #\r\nl 12 -3.5 10 3 4 0.3\r\n");
    host.openAnswers.push_back(path("yard.obs"));
    obs.click("BitBtn2");
    EXPECT_TRUE(main().checked("Hindernisobjekte1"));
    EXPECT_TRUE(main().enabled("Schattenwurf1"));
    obs.close();
    ASSERT_NE(obs.horizonPicture(), nullptr);
    EXPECT_FALSE(obs.horizonShapes().empty());

    // the editor's fields are reachable by name, as the command line sets them
    app->registry().set("FormObs.EditAlt", "2,5");
    EXPECT_EQ(obs.text("EditAlt"), "2.50");
    app->registry().set("LaubChk", "0");
    EXPECT_FALSE(obs.checked("LaubChk"));

    obs.click("New1");
    EXPECT_FALSE(main().checked("Hindernisobjekte1"));
    EXPECT_FALSE(main().enabled("Schattenwurf1"));
}

TEST_F(ObstaclesInTheApplication, GermanCaptionsReachTheEditorAndItsDialogs) {
    main().click("Deutsch1");
    ObstacleEditorModel& obs = app->obstacleEditor();
    EXPECT_EQ(obs.ctl("RadioGrp").items[1], "Laubbaum");
    EXPECT_EQ(app->deciduousTreeDialog().ctl("LabelZ").caption, "Baumhöhe h (m)");
    EXPECT_EQ(app->buildingDialog().ctl("CancelBtn").caption, "Abbrechen");
    obs.click("BitBtn2");  // cancelled
    ASSERT_EQ(host.openRequests.size(), 1u);
    EXPECT_EQ(host.openRequests[0].filter, "Hindernisobjekt-Dateien|*.obs");
    main().click("English1");
    EXPECT_EQ(app->deciduousTreeDialog().ctl("LabelZ").caption, "Tree height h (m)");
}

TEST_F(ObstaclesInTheApplication, BuildingToTheSouthHidesTheWinterNoonSun) {
    main().typeAndLeave("EditDat", "21.12.2026");
    main().typeAndLeave("EditZeit", "12:00");
    main().click("ButtonNeu");
    EXPECT_FLOAT_EQ(main().results.SVF_Umb, 1.0f);
    EXPECT_GT(main().results.S, 50.0f);

    // 10 m south, 20 m high, 30 m wide
    writeFile("south.obs",
              "g -15 -14 20 15 -14 20 15 -10 20 -15 -10 20 "
              "-15 -14 0 15 -14 0 15 -10 0 -15 -10 0\r\n");
    host.openAnswers.push_back(path("south.obs"));
    app->obstacleEditor().click("BitBtn2");
    app->obstacleEditor().close();
    EXPECT_FALSE(main().enabled("ButtonHinzu"));
    main().click("ButtonNeu");
    EXPECT_LT(main().results.SVF_Umb, 0.95f);
    EXPECT_GT(main().results.SVF_Umb, 0.5f);
    EXPECT_FLOAT_EQ(main().results.S, 0.0f);
    EXPECT_TRUE(IsSunHidden(main().horizonImage(), main().results.Z, main().results.azimuth));

    // "A&dd" integrates the same image again
    float svf = main().results.SVF_Umb;
    main().click("ButtonHinzu");
    EXPECT_FLOAT_EQ(main().results.SVF_Umb, svf);

    // unchecked, the obstacles stop taking part
    main().click("Hindernisobjekte1");
    main().click("ButtonNeu");
    EXPECT_FLOAT_EQ(main().results.SVF_Umb, 1.0f);
    EXPECT_GT(main().results.S, 50.0f);
}

}  // namespace
}  // namespace umbrix::test

std::string DescribeObstacles(const std::vector<Obstacle>& obstacles) {
    std::string out;
    for (const Obstacle& ob : obstacles) out += FormatObstacleLine(ob) + "\n";
    return out;
}

// Every change of the list is one undo step: undo brings back the list (and the selection)
// from before it, redo the one after it.
TEST_F(ObstacleEditorModelTest, UndoAndRedoEveryChangeOfTheList) {
    struct Case {
        const char* change;
        std::function<void()> apply;
    };
    const Case cases[] = {
        {"add by clicks",
         [this] {
             addBuilding({{230, 160}, {250, 160}, {250, 180}, {230, 180}});
         }},
        {"drag", [this] { drag(210, 190, 230, 170); }},
        {"corner drag", [this] { drag(210, 190, 214, 190, MouseButton::Right); }},
        {"remove", [this] { obs.click("RemoveObsBtn"); }},
        {"paste",
         [this] {
             obs.click("CopyObsBtn");
             obs.click("PasteObsBtn");
         }},
        {"rotate",
         [this] {
             obs.typeAndLeave("EditRot", "90");
             obs.click("RotateBtn");
         }},
        {"edit",
         [this] {
             host.modalScripts.push_back([](FormModel& d) {
                 d.type("EditZ", "22");
                 d.click("OKBtn");
             });
             obs.click("EditObsBtn");
         }},
        {"clear",
         [this] {
             if (obs.modified()) host.askAnswers.push_back(Answer::No);
             obs.click("BitBtn1");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        if (obs.modified()) host.askAnswers.push_back(Answer::No);
        obs.click("New1");
        obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, 10, 10, 10, 3, 4, 0.3f, 0.3f, 0.95f));
        click(210, 190);  // selects the tree
        ASSERT_EQ(obs.selectedIndex(), 0);
        const std::string before = DescribeObstacles(obs.obstacles());
        c.apply();
        const std::string after = DescribeObstacles(obs.obstacles());
        ASSERT_NE(after, before);
        ASSERT_TRUE(obs.canUndo());
        EXPECT_FALSE(obs.canRedo());
        obs.undo();
        EXPECT_EQ(DescribeObstacles(obs.obstacles()), before);
        EXPECT_EQ(obs.selectedIndex(), 0);
        EXPECT_EQ(obs.ctl("EditNr").maximum, 1);
        EXPECT_TRUE(obs.canRedo());
        obs.redo();
        EXPECT_EQ(DescribeObstacles(obs.obstacles()), after);
        EXPECT_FALSE(obs.canRedo());
        obs.undo();
        // a new change drops the step that could be redone
        obs.click("ZoomInBtn");  // no change of the list: the redo stays
        EXPECT_TRUE(obs.canRedo());
        obs.appendObstacle(MakeTree(ObstacleKind::Conifer, -10, 10, 10, 3, 4, 0.3f, 0.3f, 0.95f));
        EXPECT_FALSE(obs.canRedo());
        obs.click("ZoomOutBtn");
    }
}

TEST_F(ObstacleEditorModelTest, UndoOfClearBringsBackTheMainWindowItemAndOpenStartsAfresh) {
    obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, 10, 10, 10, 3, 4, 0.3f, 0.3f, 0.95f));
    host.saveAnswers.push_back(path("one.obs"));
    obs.click("BitBtn3");
    host.openAnswers.push_back(path("one.obs"));
    obs.click("BitBtn2");
    EXPECT_TRUE(main.checked("Hindernisobjekte1"));
    EXPECT_FALSE(obs.canUndo());  // an opened file has no history
    obs.click("BitBtn1");
    EXPECT_FALSE(main.checked("Hindernisobjekte1"));
    main.enableAdd();
    obs.undo();
    EXPECT_EQ(obs.obstacles().size(), 1u);
    EXPECT_TRUE(main.checked("Hindernisobjekte1"));
    EXPECT_FALSE(main.enabled("ButtonHinzu"));  // the horizon changed: a new table is due
    EXPECT_TRUE(obs.modified());
}

#include "models/ProjectFile.h"

#include <gtest/gtest.h>

#include "models/ComponentNames.h"
#include "models/HorizonEditorModel.h"
#include "models/ObstacleEditorModel.h"
#include "models/TopographyEditorModel.h"
#include "platform/Base64.h"
#include "platform/Bmp.h"
#include "platform/Error.h"
#include "support/AppFixture.h"

namespace umbrix {
namespace {

const std::string kSource = UMBRIX_SOURCE_DIR;

class ProjectFileTest : public test::AppFixture {
  protected:
    // A study that uses every part a project holds.
    void setUpStudy() {
        app->registry().set("ComboOrt", "Sydney");
        main().typeAndLeave("EditDat", "1.7.2025");
        main().typeAndLeave("EditGew", "82");
        app->presettings().typeAndLeave("EditBowen", "2.5");
        DataFileWindowModel& data = app->dataFileWindow();
        data.useDataFile(kSource + "/examples/summer_days.txt", false);
        data.selectColumns({"date", "time", "Ta", "RH", "v", "G"});
        app->registry().set("FormWerte.ChkUeberschriften", "1");
        ObstacleEditorModel& obs = app->obstacleEditor();
        writeFile("yard.obs", "l 8 -6 12 4 3 0.4 0.25 0.9\r\n");
        host.openAnswers.push_back(path("yard.obs"));
        obs.click("BitBtn2");
        obs.typeAndLeave("EditAlt", "1.50");
        obs.close();
        HorizonEditorModel& horizon = app->horizonEditor();
        horizon.typeAndLeave("EditA", "0.6");
        for (Point p : {Point{300, 240}, Point{300, 300}}) horizon.pointerPress(p.x, p.y);
        horizon.pointerDoubleClick(240, 300);
        TopographyEditorModel& topo = app->topographyEditor();
        topo.typeAndLeave("EditZ0", "102");
        ASSERT_TRUE(topo.openTopographyFile(kSource + "/examples/valley.txt"));
        topo.mapClick(350, 50);  // window point (35, 5): a peak typed by hand
        topo.typeAndLeave("EditZp", "812.25");
        topo.click("OkBtn");
    }
};

TEST_F(ProjectFileTest, ARoundTripRestoresEveryPartAndTheSameTable) {
    setUpStudy();
    main().click(main_window::ButtonNeu);
    const std::vector<std::string> before = table();
    ASSERT_GT(before.size(), 90u);
    const HorizonPictures drawn = app->horizonEditor().pictures();
    SaveProject(*app, path("study.umbrix"));

    makeApp();  // a fresh start: defaults everywhere
    EXPECT_NE(main().text("ComboOrt"), "Sydney");
    EXPECT_TRUE(OpenProject(*app, path("study.umbrix")).empty());
    EXPECT_EQ(main().text("ComboOrt"), "Sydney");
    EXPECT_EQ(main().text("EditGew"), "82.0");
    EXPECT_FLOAT_EQ(app->presettings().bowen, 2.5f);
    EXPECT_EQ(app->dataFileWindow().fileName(), kSource + "/examples/summer_days.txt");
    EXPECT_EQ(app->dataFileWindow().checkedColumns().size(), 6u);
    ASSERT_EQ(app->obstacleEditor().obstacles().size(), 1u);
    EXPECT_EQ(FormatObstacleLine(app->obstacleEditor().obstacles()[0]),
              "l 8.00 -6.00 12.00 4.00 3.00 0.40 0.25 0.90");
    EXPECT_EQ(app->obstacleEditor().text("EditAlt"), "1.50");
    EXPECT_EQ(app->horizonEditor().pictures(), drawn);
    EXPECT_DOUBLE_EQ(app->horizonEditor().albedo(), 0.6);
    EXPECT_DOUBLE_EQ(app->topographyEditor().z0(), 102);
    EXPECT_FLOAT_EQ(app->topographyEditor().window().at(35, 5), 812.25f);
    for (const char* item : {main_window::Hindernisobjekte1, main_window::Horizonteinengung1,
                             main_window::Topographie1, main_window::Wertedatei1})
        EXPECT_TRUE(main().checked(item)) << item;
    main().click(main_window::ButtonNeu);
    EXPECT_EQ(table(), before);
}

TEST_F(ProjectFileTest, HeightsTypedWithoutAFileComeBack) {
    app->topographyEditor().mapClick(350, 50);
    app->topographyEditor().typeAndLeave("EditZp", "40.5");
    SaveProject(*app, path("typed.umbrix"));
    makeApp();
    EXPECT_TRUE(OpenProject(*app, path("typed.umbrix")).empty());
    EXPECT_FALSE(app->topographyEditor().hasFile());
    EXPECT_FLOAT_EQ(app->topographyEditor().window().at(35, 5), 40.5f);
}

TEST_F(ProjectFileTest, ABrokenOrForeignFileIsRefusedAndChangesNothing) {
    SaveProject(*app, path("good.umbrix"));
    const std::string good = readFile("good.umbrix");
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const Raster tiny(10, 10);
    const struct {
        const char* name;
        std::string content;
        const char* message;
    } cases[] = {
        {"foreign", "[FormGeodat]\nEditTa=40\n", "no Umbrix project file"},
        {"text", "just some words\n", "no Umbrix project file"},
        {"newer", replaced("Version=1", "Version=7"), "newer version"},
        {"no main window", replaced("[FormGeodat]", "[Other]"), "no main window section"},
        {"bad obstacle", replaced("[Obstacles]", "[Obstacles]\nCount=1\n1=g 1 2 x"),
         "obstacle 1 cannot be read"},
        {"bad picture", replaced("[HorizonDrawing]", "[HorizonDrawing]\nDrawing=@@@@"),
         "not base64"},
        {"small picture",
         replaced("[HorizonDrawing]", "[HorizonDrawing]\nDrawing=" + EncodeBase64(EncodeBmp(tiny))),
         "not 481 x 481"},
        {"bad heights", replaced("[Terrain]", "[Terrain]\nHeights=3 4 5;6 7"),
         "typed topography heights"},
    };
    main().typeAndLeave("EditTa", "33");
    app->obstacleEditor().appendObstacle(
        MakeTree(ObstacleKind::Conifer, 5, 5, 10, 3, 4, 0.3f, 0.3f, 0.95f));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("bad.umbrix", c.content);
        try {
            OpenProject(*app, path("bad.umbrix"));
            ADD_FAILURE() << "no error";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(main().text("EditTa"), "33.0");
        EXPECT_EQ(app->obstacleEditor().obstacles().size(), 1u);
    }
}

TEST_F(ProjectFileTest, AMissingDataFileIsReportedAndTheRestOpens) {
    const std::string moved = path("moved.txt");
    writeFile("moved.txt", "1.7.2025\t12:00\t25\n");
    app->dataFileWindow().useDataFile(moved, false);
    main().typeAndLeave("EditTa", "28");
    SaveProject(*app, path("p.umbrix"));
    std::filesystem::remove(moved);
    makeApp();
    const std::vector<std::string> problems = OpenProject(*app, path("p.umbrix"));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("moved.txt"), std::string::npos);
    EXPECT_EQ(main().text("EditTa"), "28.0");
    EXPECT_FALSE(main().checked(main_window::Wertedatei1));
}

TEST_F(ProjectFileTest, UnsavedObstaclesAreOfferedForSavingFirst) {
    EXPECT_TRUE(OfferToSaveEditors(*app));  // nothing to save: no question
    EXPECT_TRUE(host.questions.empty());
    app->obstacleEditor().appendObstacle(
        MakeTree(ObstacleKind::Conifer, 5, 5, 10, 3, 4, 0.3f, 0.3f, 0.95f));
    host.askAnswers = {Answer::Cancel, Answer::No};
    EXPECT_FALSE(OfferToSaveEditors(*app));
    EXPECT_TRUE(OfferToSaveEditors(*app));
    EXPECT_EQ(host.questions.size(), 2u);
}

TEST_F(ProjectFileTest, RecentProjectsKeepTheNewestEightOnce) {
    const std::string list = path("recent.ini");
    EXPECT_TRUE(RecentProjects(list).empty());
    for (int i = 1; i <= 10; ++i) RememberRecentProject(list, "/p/" + std::to_string(i));
    RememberRecentProject(list, "/p/5");
    const std::vector<std::string> expected = {"/p/5", "/p/10", "/p/9", "/p/8",
                                               "/p/7", "/p/6",  "/p/4", "/p/3"};
    EXPECT_EQ(RecentProjects(list), expected);
}

TEST(Base64, RoundTripAndRefusals) {
    for (std::string text : {"", "f", "fo", "foo", "foob", "fooba", "foobar"}) {
        const std::vector<std::uint8_t> bytes(text.begin(), text.end());
        EXPECT_EQ(DecodeBase64(EncodeBase64(bytes)), bytes) << text;
    }
    EXPECT_EQ(EncodeBase64({'f', 'o', 'o', 'b'}), "Zm9vYg==");
    for (const char* bad : {"Zm9", "Zm9v!mFy", "Zg=a", "Z===", "Zg==Zm9v"})
        EXPECT_FALSE(DecodeBase64(bad)) << bad;
}

}  // namespace
}  // namespace umbrix

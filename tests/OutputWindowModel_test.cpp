// The diagram modes of "&New" and "A&dd" and the diagram window: composition, time, zoom,
// grid, diagram modes, open, save and print.
#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

#include "diagrams/Shadows.h"
#include "diagrams/SunPath.h"
#include "horizon/Sunshine.h"
#include "models/ObstacleEditorModel.h"
#include "platform/Bmp.h"
#include "platform/Error.h"
#include "platform/TextFile.h"
#include "support/AppFixture.h"
#include "support/Pixels.h"

namespace umbrix::test {
namespace {

// A building 10 m south of the location, 20 m high, and two trees.
const char* kYard =
    "# test obstacle file #\r\n"
    "g -6.00 -16.00 20.00 6.00 -16.00 20.00 6.00 -10.00 20.00 -6.00 -10.00 20.00 "
    "-6.00 -16.00 0.00 6.00 -16.00 0.00 6.00 -10.00 0.00 -6.00 -10.00 0.00 0.30 0.95\r\n"
    "l 12.00 5.00 10.00 3.00 4.00 0.30\r\n"
    "n -12.00 8.00 14.00 2.50 2.00 0.35\r\n";

class OutputWindowModelTest : public AppFixture {
  protected:
    OutputWindowModel& map() { return app->outputWindow(); }
    ObstacleEditorModel& obs() { return app->obstacleEditor(); }

    void at(const std::string& date, const std::string& time) {
        app->registry().set("ComboOrt", "Freiburg");
        main().typeAndLeave("EditDat", date);
        main().typeAndLeave("EditZeit", time);
    }
    void openYard() {
        writeFile("yard.obs", kYard);
        host.openAnswers.push_back(path("yard.obs"));
        obs().click("BitBtn2");
        obs().close();
    }
    void polar(const std::string& date = "21.6.2026", const std::string& time = "15:00") {
        at(date, time);
        main().click("Polar1");
        main().click("ButtonNeu");
    }
    void shadows(const std::string& time = "10:00") {
        openYard();
        at("21.6.2026", time);
        main().click("Schattenwurf1");
        main().click("ButtonNeu");
    }
    // The nested pictures and rasters of the composed diagram, in drawing order, named by
    // what they are.
    std::vector<std::string> layers() {
        const DiagramPictures& d = main().diagrams;
        std::vector<std::string> out;
        for (const PictureOp& op : map().composedPicture().operations()) {
            if (const auto* p = std::get_if<draw::DrawPicture>(&op)) {
                const Picture& q = *p->picture;
                out.push_back(q.width() == d.grid.width() && q.height() == d.grid.height() ? "grid"
                              : q.operations().size() == d.overlay.operations().size()
                                  ? "overlay"
                                  : "obstacles");
            } else if (const auto* r = std::get_if<draw::DrawRaster>(&op)) {
                out.push_back(r->dest.width() == 482 ? "raster" : "drawing");
            }
        }
        return out;
    }
    static int Discs(const Picture& overlay) {
        return int(std::count_if(
            overlay.operations().begin(), overlay.operations().end(),
            [](const PictureOp& op) { return std::holds_alternative<draw::Ellipse>(op); }));
    }
};

TEST_F(OutputWindowModelTest, PolarNewDrawsTheDiagramAndShowsIt) {
    polar();
    const OutputWindowModel& m = map();
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(m.pictureView);
    EXPECT_TRUE(m.ctl("ImageSun").visible);
    EXPECT_FALSE(m.ctl("RichEdit1").visible);
    ASSERT_TRUE(m.ctl("ImageSun").picture);
    EXPECT_EQ(m.ctl("ImageSun").picture->width(), kPolarGridWidth);
    EXPECT_EQ(m.clientWidth, kPolarGridWidth);
    EXPECT_EQ(m.clientHeight, kPolarGridHeight + OutputWindowModel::kToolbarHeight);
    EXPECT_EQ(m.timeMinutes(), 900);
    EXPECT_EQ(m.text("EditTime"), "15:00");
    EXPECT_TRUE(main().enabled("ButtonHinzu"));
    // zoom only for shadows; the sun orbit button and the three mode items for the sun path
    EXPECT_FALSE(m.enabled("ZoomInBtn"));
    EXPECT_FALSE(m.enabled("ZoomOut1"));
    EXPECT_TRUE(m.enabled("SunOrbitBtn"));
    EXPECT_TRUE(m.enabled("Reflected1"));
    EXPECT_TRUE(m.enabled("GridBtn"));
    EXPECT_EQ(layers(), (std::vector<std::string>{"grid", "overlay"}));
    // the caption under the grid fits its width, in the plain bitmap font too
    std::string caption;
    for (const PictureOp& op : main().diagrams.grid.operations())
        if (const auto* t = std::get_if<draw::Text>(&op)) caption = t->text;
    EXPECT_NE(caption.find(kProgramTitle), std::string::npos);
    EXPECT_LE(40 + TextWidth(caption, 7 * 96.0 / 72), kPolarGridWidth);
    // no table in this mode
    EXPECT_TRUE(table().empty());
    EXPECT_EQ(Discs(main().diagrams.overlay), 1);

    // the zoom of a disabled control does nothing but say so
    EXPECT_THROW(map().click("ZoomInBtn"), UmbrixError);
    EXPECT_EQ(map().scale, 1.0);
}

TEST_F(OutputWindowModelTest, TimeControlRedrawsTheSunPositionAndTheDiscDisappearsAtNight) {
    polar();
    map().changeTime(60);
    EXPECT_EQ(map().text("EditTime"), "1:00");
    EXPECT_EQ(Discs(main().diagrams.overlay), 0);
    map().setPosition("UpDown1", 780);  // the up-down itself
    EXPECT_EQ(map().text("EditTime"), "13:00");
    EXPECT_EQ(Discs(main().diagrams.overlay), 1);
    map().stepTime(+1);
    EXPECT_EQ(map().timeMinutes(), 810);
    map().changeTime(5000);
    EXPECT_EQ(map().timeMinutes(), 1440);
    EXPECT_EQ(map().text("EditTime"), "0:00");
    EXPECT_EQ(host.progress, 0);
}

TEST_F(OutputWindowModelTest, IncrementSetsTheTimeStepAndKeepsItForTextThatIsNoNumber) {
    polar();
    map().type("EditInc", "15");
    EXPECT_EQ(map().ctl("UpDown2").position, 15);
    EXPECT_EQ(map().ctl("UpDown1").increment, 15);
    map().changeTime(600);
    map().stepTime(-1);
    EXPECT_EQ(map().timeMinutes(), 585);
    EXPECT_THROW(map().type("EditInc", "1x"), ConvertError);
    EXPECT_EQ(map().ctl("UpDown1").increment, 15);
    map().type("EditInc", "999");  // held within the up-down's range
    EXPECT_EQ(map().ctl("UpDown1").increment, 240);
    map().setPosition("UpDown2", 45);
    EXPECT_EQ(map().text("EditInc"), "45");
    EXPECT_EQ(map().ctl("UpDown1").increment, 45);
}

TEST_F(OutputWindowModelTest, AddKeepsThePathsAndDrawsTheNewDayWithoutHourNumbers) {
    polar();
    auto texts = [&] {
        std::vector<std::string> out;
        for (const PictureOp& op : main().diagrams.path.operations())
            if (const auto* t = std::get_if<draw::Text>(&op)) out.push_back(t->text);
        return out;
    };
    const std::size_t first = texts().size();
    EXPECT_EQ(texts().front(), "21.6.");
    main().typeAndLeave("EditDat", "21.12.2026");
    main().typeAndLeave("EditZeit", "12:00");
    main().click("ButtonHinzu");
    const auto all = texts();
    EXPECT_EQ(all.size(), first + 1);  // the date only
    EXPECT_EQ(all.back(), "21.12.");
    EXPECT_EQ(Discs(main().diagrams.overlay), 1);
    // a new "&New" starts the paths afresh
    main().click("ButtonNeu");
    EXPECT_EQ(texts().front(), "21.12.");
    EXPECT_LT(texts().size(), first);  // the short winter day has fewer hours
}

TEST_F(OutputWindowModelTest, GridInFrontIsDrawnOverTheHorizonPicturesWithTheOverlay) {
    openYard();
    polar();
    EXPECT_TRUE(main().checked("Hindernisobjekte1"));
    EXPECT_EQ(layers(), (std::vector<std::string>{"grid", "overlay", "obstacles"}));
    map().click("GridBtn");
    EXPECT_TRUE(map().checked("GridBtn"));
    EXPECT_EQ(layers(), (std::vector<std::string>{"obstacles", "grid", "overlay"}));
    // the building south of the location shows in the composed diagram
    Raster shown = map().image().rasterize();
    EXPECT_NE(shown.pixel(280, 280 + 200), kWhite);
    map().click("GridBtn");
    EXPECT_EQ(layers(), (std::vector<std::string>{"grid", "overlay", "obstacles"}));
}

TEST_F(OutputWindowModelTest, HorizonDrawingIsLaidOverThePolarDiagramAtItsOwnSize) {
    Raster drawing(481, 481);
    drawing.rectangle({200, 10, 280, 60}, {kBlack}, {Rgb(0, 0, 255)});
    WriteBmp(path("horizon.bmp"), drawing);
    app->loadHorizonDrawing(path("horizon.bmp"));
    openYard();
    polar();
    EXPECT_EQ(layers(), (std::vector<std::string>{"grid", "overlay", "drawing", "obstacles"}));
    EXPECT_EQ(map().image().rasterize().pixel(40 + 240, 40 + 30), Rgb(0, 0, 255));
}

TEST_F(OutputWindowModelTest, ReflectedRadiationModeShowsTheShadingPicture) {
    openYard();
    polar("21.6.2026", "12:00");
    // the shading of the obstructed pixels: surfaces facing away from the sun are bright
    const Raster& shading = main().diagrams.shading;
    int shaded = 0;
    for (int y = 0; y < shading.height(); ++y)
        for (int x = 0; x < shading.width(); ++x) shaded += shading.pixel(x, y) != kWhite;
    EXPECT_GT(shaded, 1000);
    map().click("Reflected1");
    EXPECT_TRUE(map().checked("RBtn"));
    EXPECT_FALSE(map().checked("SunOrbitBtn"));
    EXPECT_TRUE(map().checked("Reflected1"));
    EXPECT_FALSE(map().checked("SunOrbit1"));
    EXPECT_EQ(layers(), (std::vector<std::string>{"grid", "overlay", "obstacles", "raster"}));
    // saved as a bitmap in this mode
    host.saveAnswers.push_back(path("shading.bmp"));
    EXPECT_TRUE(map().saveAs());
    EXPECT_EQ(host.saveRequests.back().filter, "Bitmaps|*.bmp");
    EXPECT_EQ(ReadBmp(path("shading.bmp")).width(), kPolarGridWidth);
    map().click("SunOrbitBtn");
    EXPECT_TRUE(map().checked("SunOrbit1"));
    EXPECT_EQ(layers(), (std::vector<std::string>{"grid", "overlay", "obstacles"}));
}

TEST_F(OutputWindowModelTest, ShadowsNewDrawsTheFrameAndTheEditorsObstacles) {
    shadows();
    const OutputWindowModel& m = map();
    EXPECT_TRUE(m.pictureView);
    EXPECT_TRUE(m.checked("SunOrbitBtn"));
    EXPECT_FALSE(m.enabled("SunOrbitBtn"));
    EXPECT_TRUE(m.enabled("ZoomInBtn"));
    EXPECT_TRUE(m.enabled("ZoomOut1"));
    EXPECT_EQ(m.composedPicture().width(), kShadowFrameWidth);
    EXPECT_EQ(m.composedPicture().height(), kShadowFrameHeight);
    EXPECT_FALSE(main().enabled("ButtonHinzu"));
    Raster shown = m.image().rasterize();
    // the building 10 m to 16 m south, at 1 m a pixel: its roof 40 + 200 + 13 down
    EXPECT_EQ(shown.pixel(240, 253), kShadowLight);
    EXPECT_GT(CountColour(shown, kDeciduousGreen), 0);

    // the list as the editor shows it, not the file: an added tree casts a shadow at once
    const int green = CountColour(shown, kDeciduousGreen);
    obs().appendObstacle(MakeTree(ObstacleKind::Deciduous, -30, -30, 10, 4, 4, 0.3f, 0.3f, 0.95f));
    map().changeTime(600);
    EXPECT_GT(CountColour(map().image().rasterize(), kDeciduousGreen), green);
    // a kind whose box is off is not drawn at all
    obs().click("LaubChk");
    map().changeTime(600);
    Raster without = map().image().rasterize();
    EXPECT_EQ(CountColour(without, kDeciduousGreen), 0);
    EXPECT_GT(CountColour(without, kConiferTeal), 0);
}

TEST_F(OutputWindowModelTest, ZoomHalvesAndDoublesTheScaleWithinItsLimits) {
    shadows();
    const double steps[] = {0.5, 0.25, 0.25};
    for (double expected : steps) {
        map().click("ZoomInBtn");
        EXPECT_EQ(map().scale, expected);
    }
    const double out[] = {0.5, 1, 2, 4, 4};
    for (double expected : out) {
        map().click("ZoomOut1");  // the menu item zooms too
        EXPECT_EQ(map().scale, expected);
    }
    // the scale carries over to the next diagram
    main().click("ButtonNeu");
    EXPECT_EQ(map().scale, 4);
}

TEST_F(OutputWindowModelTest, NightGivesTheAllGreySquareAndTheDayShadows) {
    shadows("23:30");
    Raster night = map().image().rasterize();
    EXPECT_EQ(night.pixel(100, 100), kShadowDark);
    EXPECT_EQ(night.pixel(400, 400), kShadowDark);
    map().changeTime(12 * 60);
    Raster day = map().image().rasterize();
    EXPECT_EQ(day.pixel(100, 100), kWhite);
}

TEST_F(OutputWindowModelTest, SavingTheTextViewWritesExactlyTheTableLines) {
    at("21.6.2026", "12:00");
    main().click("ButtonNeu");
    ASSERT_FALSE(map().pictureView);
    host.saveAnswers.push_back(path("table.dat"));
    EXPECT_TRUE(map().saveAs());
    EXPECT_EQ(host.saveRequests.back().defaultExt, "dat");
    EXPECT_EQ(host.saveRequests.back().filter,
              "Textfiles|*.dat|Tab-separated values (*.tsv)|*.tsv|Comma-separated values "
              "(*.csv)|*.csv");
    std::string expected;
    for (const std::string& line : table()) expected += line + "\n";
    EXPECT_EQ(readFile("table.dat"), expected);
    // cancelled: nothing written
    EXPECT_FALSE(map().saveAs());

    // tsv and csv, by the file type or the name: metadata, one header line, the rows
    app->registry().set("EditZeit", "14:00");
    main().click("ButtonHinzu");
    for (const char* name : {"table.tsv", "table.csv"}) {
        SCOPED_TRACE(name);
        host.saveAnswers.push_back(path(name));
        EXPECT_TRUE(map().saveAs());
        std::vector<std::string> lines;
        std::istringstream in(readFile(name));
        for (std::string line; std::getline(in, line);)
            if (line[0] != '#') lines.push_back(line);
        ASSERT_EQ(lines.size(), 3u);
        const std::string sep = name[6] == 't' ? "\t" : ",";
        EXPECT_EQ(lines[0].substr(0, 10), "date" + sep + "day o");
        EXPECT_EQ(lines[1].substr(0, 11), "2026-06-21" + sep);
        EXPECT_NE(lines[2].find(sep + "14:00" + sep), std::string::npos) << lines[2];
    }
}

TEST_F(OutputWindowModelTest, SavingTheDiagramWritesSvgOrBmpByTheFileName) {
    polar();
    host.saveAnswers.push_back(path("sun.svg"));
    EXPECT_TRUE(map().saveAs());
    EXPECT_EQ(host.saveRequests.back().defaultExt, "svg");
    EXPECT_EQ(host.saveRequests.back().filter, "SVG pictures|*.svg");
    const std::string svg = readFile("sun.svg");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("width=\"561\" height=\"581\""), std::string::npos);
    EXPECT_NE(svg.find(">21.6.</text>"), std::string::npos);
    host.saveAnswers.push_back(path("sun.BMP"));
    EXPECT_TRUE(map().saveAs());
    Raster bmp = ReadBmp(path("sun.BMP"));
    EXPECT_EQ(bmp, map().composedPicture().rasterize());
}

TEST_F(OutputWindowModelTest, PrintingScalesThePictureToThePageWidth) {
    EXPECT_EQ(OutputWindowModel::printArea(481, 501, 4800), (Rect{0, 0, 4800, 4999}));
    EXPECT_EQ(OutputWindowModel::printArea(561, 581, 4800), (Rect{0, 0, 4800, 4971}));
    shadows();
    EXPECT_TRUE(map().print());
    ASSERT_EQ(host.printedAreas.size(), 1u);
    EXPECT_EQ(host.printedAreas[0], (Rect{0, 0, 4800, 4999}));  // 481 wide, 501 high
    EXPECT_FALSE(host.printJobs[0].landscape);
    EXPECT_EQ(host.printJobs[0].title, kProgramTitle);

    // the text view in landscape, its lines as they stand
    main().click("Einzeltab1");
    main().click("ButtonNeu");
    EXPECT_TRUE(map().print());
    EXPECT_TRUE(host.printJobs.back().landscape);
    EXPECT_EQ(host.printedTexts.back(), table());

    host.printAnswer = PrintOutcome::Cancelled;
    EXPECT_FALSE(map().print());
    EXPECT_TRUE(host.messages.empty());
    host.printAnswer = PrintOutcome::Unavailable;
    EXPECT_FALSE(map().print());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "no printer");
}

TEST_F(OutputWindowModelTest, OpenShowsBitmapsInThePictureViewAndTextsInTheTextView) {
    Raster bitmap(30, 20, Rgb(10, 20, 30));
    WriteBmp(path("pic.bmp"), bitmap);
    host.openAnswers.push_back(path("pic.bmp"));
    EXPECT_TRUE(map().open());
    EXPECT_EQ(host.openRequests.back().filter,
              "SVG pictures|*.svg|Bitmaps|*.bmp|Textfiles|*.dat|All files|*.*");
    EXPECT_TRUE(map().pictureView);
    EXPECT_EQ(map().image().rasterize(), bitmap);
    EXPECT_EQ(map().clientHeight, 20 + 41);
    EXPECT_EQ(map().caption, std::string(kProgramTitle) + " - " + path("pic.bmp"));

    writeFile("old.dat", "a\tb\r\n1\t2\r\n");
    host.openAnswers.push_back(path("old.dat"));
    EXPECT_TRUE(map().open());
    EXPECT_FALSE(map().pictureView);
    EXPECT_TRUE(map().ctl("RichEdit1").visible);
    EXPECT_EQ(map().lines(), (std::vector<std::string>{"a\tb", "1\t2"}));

    // an SVG needs a front end that renders vector pictures; a broken bitmap is refused
    writeFile("pic.svg", "<svg width=\"10\" height=\"10\"></svg>");
    host.openAnswers.push_back(path("pic.svg"));
    EXPECT_THROW(map().open(), FileError);
    writeFile("bad.bmp", "BM nonsense");
    host.openAnswers.push_back(path("bad.bmp"));
    EXPECT_THROW(map().open(), FileError);
    EXPECT_FALSE(map().open());  // cancelled
}

TEST_F(OutputWindowModelTest, SunshineDurationReachesEveryTableRowAndFollowsTheObstacles) {
    app->registry().set("SDtat1", "1");
    at("21.12.2026", "12:00");
    main().click("ButtonNeu");
    const int free = std::stoi(Column(table(), "SDact"));
    SunshineCounter counter;
    EXPECT_EQ(free, counter.count(355, 7.85f, 48.0f, 1.0f, Raster()));
    // the building 10 m south, 20 m high, hides the low winter sun
    openYard();
    main().click("ButtonNeu");
    const int shaded = std::stoi(Column(table(), "SDact"));
    EXPECT_LT(shaded, free - 60);
    EXPECT_EQ(shaded, counter.count(355, 7.85f, 48.0f, 1.0f, main().horizonImage()));
    // "A&dd" for another day counts against the same horizon
    main().typeAndLeave("EditDat", "21.6.2026");
    main().click("ButtonHinzu");
    EXPECT_EQ(main().results.SDact, counter.count(172, 7.85f, 48.0f, 1.0f, main().horizonImage()));
}

}  // namespace
}  // namespace umbrix::test

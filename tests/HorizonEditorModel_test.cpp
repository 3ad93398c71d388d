#include "models/HorizonEditorModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

#include "models/RangeMessages.h"
#include "platform/Bmp.h"
#include "platform/Error.h"
#include "support/FakeHost.h"
#include "support/MainWindowStub.h"

namespace umbrix {
namespace {

namespace fs = std::filesystem;

std::string TempPath(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / "umbrix_horizon_editor_test";
    fs::create_directories(dir);
    return (dir / name).string();
}

int CountColour(const Raster& r, Colour c) {
    int n = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) n += r.pixel(x, y) == c;
    return n;
}

// Renders every vector picture as a black square, as a desktop front end would render one.
class RenderingHost : public test::FakeHost {
  public:
    bool renderVectorFile(const std::string&, Raster& target, std::string&) override {
        target.fill(kBlack);
        return true;
    }
};

class HorizonEditorModelTest : public ::testing::Test {
  protected:
    test::FakeHost host;
    test::MainWindowStub main{host};
    HorizonEditorModel editor{host, main};

    bool sourceChecked() const { return main.checked("Horizonteinengung1"); }
    bool addEnabled() const { return main.enabled("ButtonHinzu"); }

    // A polygon by clicks in the current mode, closed by a double click on the last point.
    void drawPolygon(const std::vector<Point>& clicks) {
        for (Point p : clicks) editor.pointerPress(p.x, p.y);
        editor.pointerDoubleClick(clicks.back().x, clicks.back().y);
    }
    // Clicks around the centre at radius r, clockwise from east.
    std::vector<Point> ring(double r, int count) {
        std::vector<Point> out;
        for (int k = 0; k < count; ++k) {
            const double t = 2 * std::numbers::pi * k / count;
            out.push_back(
                {240 + int(std::lround(r * std::cos(t))), 240 + int(std::lround(r * std::sin(t)))});
        }
        return out;
    }
};

TEST_F(HorizonEditorModelTest, ClicksOutsideTheHorizonCircleAddNoPoint) {
    for (Point p : {Point{0, 0}, Point{480, 480}, Point{240 + 170, 240 + 170}, Point{-5, 240}})
        editor.pointerPress(p.x, p.y);
    EXPECT_TRUE(editor.polygon().empty());
    EXPECT_EQ(editor.pointerMove(0, 0).cursor, PointerCursor::Default);
    EXPECT_EQ(editor.pointerMove(480, 240).cursor, PointerCursor::Cross);  // on the circle
    // the first click to the edge starts on the horizon circle in the click's direction
    editor.pointerPress(300, 240);
    ASSERT_EQ(editor.polygon().size(), 2u);
    EXPECT_EQ(editor.polygon()[0], (Point{480, 240}));
    EXPECT_EQ(editor.polygon()[1], (Point{300, 240}));
}

TEST_F(HorizonEditorModelTest, PolygonKeepsAtMostAHundredPoints) {
    editor.click("SpeedButton2");
    for (int k = 0; k < 105; ++k) editor.pointerPress(100 + k, 200);
    ASSERT_EQ(editor.polygon().size(), 100u);
    EXPECT_EQ(editor.polygon()[98], (Point{198, 200}));
    EXPECT_EQ(editor.polygon()[99], (Point{204, 200}));  // the last click replaced it
}

TEST_F(HorizonEditorModelTest, ClosingFollowsTheHorizonCircleCounterClockwise) {
    // From south (pi/2) back to east (0): a quarter circle, 27 points.
    auto points = HorizonClosingPoints(0, std::numbers::pi / 2);
    ASSERT_EQ(points.size(), 27u);
    EXPECT_EQ(points.front(), (Point{240, 480}));
    EXPECT_EQ(points.back(), (Point{480, 240}));
    for (Point p : points) EXPECT_NEAR(std::hypot(p.x - 240, p.y - 240), 240, 0.75);
    // A last direction before the first one goes round the other way: three quarters.
    auto longWay = HorizonClosingPoints(std::numbers::pi / 2, 0);
    EXPECT_EQ(longWay.size(), 77u);
    EXPECT_EQ(longWay[38], (Point{70, 70}));  // half way: north-west
}

TEST_F(HorizonEditorModelTest, RingToTheEdgeObstructsTheLowSkyOnly) {
    main.enableAdd();
    drawPolygon(ring(120, 60));  // 45 degrees elevation
    EXPECT_TRUE(editor.polygon().empty());
    EXPECT_TRUE(sourceChecked());
    EXPECT_FALSE(addEnabled());
    const Raster& d = editor.drawing();
    for (double angle = 0.1; angle < 6.2; angle += 0.5) {
        auto at = [&](double r) {
            return d.pixel(240 + int(std::lround(r * std::cos(angle))),
                           240 + int(std::lround(r * std::sin(angle))));
        };
        EXPECT_EQ(at(60), kWhite) << angle;
        EXPECT_EQ(at(180), Colour(0xA0A0A0)) << angle;
        EXPECT_EQ(at(235), Colour(0xA0A0A0)) << angle;
    }
    EXPECT_EQ(editor.pictures().albedo.pixel(240, 420), Rgb(0, 76, 0));  // round(76.5) = 76
    EXPECT_EQ(editor.pictures().emission.pixel(240, 420), Rgb(242, 0, 0));
}

TEST_F(HorizonEditorModelTest, FloodFillFromTheSkyPaintsAllConnectedSky) {
    editor.click("FillBtn");
    editor.pointerPress(240, 240);
    const Raster& d = editor.drawing();
    // columns and rows 0 .. 479: everything but the last column and row
    EXPECT_EQ(CountColour(d, 0xA0A0A0), 480 * 480);
    EXPECT_EQ(d.pixel(480, 17), kWhite);
    EXPECT_EQ(d.pixel(0, 0), Colour(0xA0A0A0));
    EXPECT_EQ(CountColour(editor.pictures().albedo, Rgb(0, 76, 0)), 480 * 480);
    EXPECT_GT(host.processCalls, 0);
    EXPECT_FALSE(host.busy);
}

TEST_F(HorizonEditorModelTest, FloodFillStopsAtColoursFurtherThan64) {
    HorizonPictures p;
    // a wall one pixel wide across the picture, with a gap of a colour 64 away from white
    for (int y = 0; y < 481; ++y) p.drawing.setPixel(100, y, Rgb(200, 250, 250));  // 65 away
    p.drawing.setPixel(100, 300, Rgb(223, 223, 255));                              // 64 away
    auto painted = FloodFillHorizon(p, {10, 10}, kBlack, 1, 2);
    EXPECT_EQ(p.drawing.pixel(200, 10), kBlack);  // through the gap
    EXPECT_EQ(p.drawing.pixel(100, 300), kBlack);
    EXPECT_EQ(p.drawing.pixel(100, 301), Rgb(200, 250, 250));
    EXPECT_EQ(painted, std::size_t(480 * 480 - 479));
    p.drawing.setPixel(100, 300, Rgb(200, 250, 250));
    HorizonPictures q = p;
    q.drawing.fill(kWhite);
    for (int y = 0; y < 481; ++y) q.drawing.setPixel(100, y, Rgb(200, 250, 250));
    FloodFillHorizon(q, {10, 10}, kBlack, 1, 2);
    EXPECT_EQ(q.drawing.pixel(200, 10), kWhite);  // the closed wall holds
    EXPECT_EQ(q.albedo.pixel(10, 10), Colour(1));
    // a seed outside columns 0 .. 479 paints nothing
    EXPECT_EQ(FloodFillHorizon(q, {480, 5}, kBlack, 1, 2), 0u);
}

TEST_F(HorizonEditorModelTest, CutOffWhitesWhatIsBrighterThanTheCutOffColour) {
    EXPECT_EQ(editor.cutOffColour(), Rgb(223, 223, 223));
    struct Case {
        Point at;
        Colour colour;
        bool cut;
    } cases[] = {
        {{240, 200}, Rgb(224, 224, 224), true},  {{240, 201}, Rgb(223, 223, 223), true},
        {{240, 202}, Rgb(222, 240, 240), false}, {{240, 203}, Rgb(240, 240, 222), false},
        {{240, 204}, Rgb(10, 10, 10), false},    {{3, 3}, Rgb(10, 10, 10), true},  // outside
    };
    editor.click("FillBtn");
    editor.pointerPress(240, 240);  // paint everything, maps included
    HorizonPictures before = editor.pictures();
    for (const Case& t : cases) before.drawing.setPixel(t.at.x, t.at.y, t.colour);
    HorizonPictures p = before;
    CutOffBright(p, editor.cutOffColour());
    for (const Case& t : cases) {
        EXPECT_EQ(p.drawing.pixel(t.at.x, t.at.y) == kWhite, t.cut) << t.at.x << "," << t.at.y;
        EXPECT_EQ(p.albedo.pixel(t.at.x, t.at.y) == kWhite, t.cut);
    }
    // a pick with the cut-off pipette moves the track bars
    editor.click("CutPickBtn");
    editor.pointerPress(240, 240);
    EXPECT_EQ(editor.ctl("TrackBar1").position, 255 - 160);
    EXPECT_EQ(editor.cutOffColour(), Colour(0xA0A0A0));
    editor.click("CutBtn");
    EXPECT_EQ(CountColour(editor.drawing(), kWhite), 481 * 481);
}

TEST_F(HorizonEditorModelTest, FourthUndoableOperationDropsTheOldest) {
    editor.click("FillBtn");
    std::vector<HorizonPictures> states{editor.pictures()};
    const Colour brushes[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456};
    for (Colour c : brushes) {
        host.colourAnswers.push_back(c);
        editor.click("SelBtn");
        editor.pointerPress(240, 240);
        states.push_back(editor.pictures());
    }
    EXPECT_EQ(editor.undoDepth(), 3u);
    editor.click("UndoBtn");
    EXPECT_EQ(editor.pictures(), states[3]);
    editor.click("UndoBtn");
    editor.click("UndoBtn");
    EXPECT_EQ(editor.pictures(), states[1]);  // the state before the second operation
    EXPECT_FALSE(editor.enabled("UndoBtn"));
    editor.Undo();  // nothing left: no change
    EXPECT_EQ(editor.pictures(), states[1]);
}

TEST_F(HorizonEditorModelTest, UndoRestoresTheSkyViewFactorCheck) {
    drawPolygon({{300, 240}, {300, 300}, {240, 300}});
    EXPECT_TRUE(sourceChecked());
    HorizonPictures drawn = editor.pictures();
    editor.click("NeuBtn");
    EXPECT_FALSE(sourceChecked());
    EXPECT_EQ(CountColour(editor.drawing(), kWhite), 481 * 481);
    main.enableAdd();
    editor.click("UndoBtn");
    EXPECT_EQ(editor.pictures(), drawn);
    EXPECT_TRUE(sourceChecked());  // the drawing counts again
}

TEST_F(HorizonEditorModelTest, AlbedoAndEmissionEntriesAreCorrected) {
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
        bool refused;  // outside 0 … 1: a message, and the field keeps its value
    } cases[] = {{"EditA", "0,5", "0.50", false},   {"EditA", "1.5", "0.50", true},
                 {"EditA", "abc", "0.30", false},   {"EditA", "1", "1.00", false},
                 {"EditE", "0.875", "0.88", false}, {"EditE", "-0.1", "0.88", true},
                 {"EditE", "", "0.95", false}};
    for (const Case& t : cases) {
        SCOPED_TRACE(std::string(t.field) + " <- " + t.typed);
        if (t.refused)
            EXPECT_THROW(editor.typeAndLeave(t.field, t.typed), RangeError);
        else
            editor.typeAndLeave(t.field, t.typed);
        EXPECT_EQ(editor.text(t.field), t.shown);
    }
    EXPECT_DOUBLE_EQ(editor.emission(), 0.95);
}

TEST_F(HorizonEditorModelTest, OpenReplacesTheDrawingAndPaintsBothMaps) {
    Raster half(481, 481);
    half.rectangle({0, 0, 240, 481}, Pen{kBlack}, Brush{Rgb(10, 200, 30)});
    std::string path = TempPath("half.bmp");
    WriteBmp(path, half);
    editor.typeAndLeave("EditA", "0.2");
    editor.typeAndLeave("EditE", "0.9");
    main.enableAdd();
    const auto depth = editor.undoDepth();
    host.openAnswers.push_back(path);
    editor.click("OeffnenBtn");
    EXPECT_EQ(editor.undoDepth(), std::min<std::size_t>(depth + 1, 3));
    EXPECT_TRUE(sourceChecked());
    EXPECT_FALSE(addEnabled());
    EXPECT_EQ(host.openRequests.at(0).defaultExt, "bmp");
    const Raster& d = editor.drawing();
    EXPECT_EQ(d.width(), 481);
    EXPECT_EQ(d.pixel(100, 240), Rgb(10, 200, 30));
    EXPECT_EQ(d.pixel(400, 240), kWhite);
    const Colour painted = Rgb(230, 51, 0);  // round(0.9 * 255), round(0.2 * 255)
    const int paintedCount = 481 * 481 - CountColour(d, kWhite);
    EXPECT_EQ(CountColour(editor.pictures().albedo, painted), paintedCount);
    EXPECT_EQ(CountColour(editor.pictures().emission, painted), paintedCount);
    EXPECT_EQ(host.progressSteps, 481);
    EXPECT_EQ(host.progress, 0);
}

TEST_F(HorizonEditorModelTest, UnreadableBitmapLeavesTheDrawing) {
    drawPolygon({{300, 240}, {300, 300}, {240, 300}});
    HorizonPictures before = editor.pictures();
    const auto depth = editor.undoDepth();
    std::string path = TempPath("notabitmap.bmp");
    { std::ofstream(path) << "BM this is not a bitmap"; }
    EXPECT_THROW(editor.openDrawingFile(path), FileError);
    EXPECT_THROW(editor.openDrawingFile(TempPath("missing.bmp")), FileError);
    WriteBmp(TempPath("small.bmp"), Raster(100, 100, kBlack));
    EXPECT_THROW(editor.openDrawingFile(TempPath("small.bmp")), FileError);
    {
        std::ofstream big(TempPath("big.bmp"), std::ios::binary);
        big << "BM" << std::string(5 << 20, '\0');
    }
    try {
        editor.openDrawingFile(TempPath("big.bmp"));
        ADD_FAILURE() << "a 5 MB file was read";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
    }
    EXPECT_EQ(editor.pictures(), before);
    EXPECT_EQ(editor.undoDepth(), depth);
}

TEST_F(HorizonEditorModelTest, SaveWritesThe481PixelDrawing) {
    drawPolygon(ring(100, 30));
    host.saveAnswers.push_back(TempPath("saved.bmp"));
    editor.click("SpeichernBtn");
    ASSERT_EQ(host.saveRequests.size(), 1u);
    EXPECT_EQ(host.saveRequests[0].fileName, "example.bmp");
    EXPECT_EQ(host.saveRequests[0].filter, "Bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(fs::file_size(TempPath("saved.bmp")), 54u + 481u * 1444u);  // 24 bits, padded
    EXPECT_EQ(ReadBmp(TempPath("saved.bmp")), editor.drawing());
}

TEST_F(HorizonEditorModelTest, PicksMonochromeAndMapDisplay) {
    drawPolygon({{300, 240}, {300, 300}, {240, 300}});
    editor.click("FillPickBtn");
    EXPECT_EQ(editor.pointerMove(290, 250).cursor, PointerCursor::Pipette);
    editor.pointerPress(240, 240);  // white sky
    EXPECT_EQ(editor.brushColour(), kWhite);

    editor.click("AlbBtn");
    EXPECT_FALSE(editor.enabled("EditA"));
    EXPECT_EQ(&editor.displayed(), &editor.pictures().albedo);
    EXPECT_EQ(editor.pointerMove(400, 300).hint, "Albedo = 0.30");
    EXPECT_EQ(editor.pointerMove(100, 100).hint, "");  // sky
    editor.click("EmiBtn");
    EXPECT_FALSE(editor.checked("AlbBtn"));
    EXPECT_EQ(editor.pointerMove(400, 300).hint, "Emission coeff. = 0.95");
    HorizonPictures before = editor.pictures();
    editor.click("FillBtn");  // releases the display...
    EXPECT_FALSE(editor.checked("EmiBtn"));
    EXPECT_TRUE(editor.enabled("EditA"));
    editor.click("EmiBtn");
    editor.pointerPress(100, 100);  // ...and while a map is shown, clicks do nothing
    EXPECT_EQ(editor.pictures(), before);

    editor.click("MonoBtn");
    EXPECT_FALSE(editor.checked("EmiBtn"));
    EXPECT_EQ(editor.drawing().pixel(400, 300), kBlack);
    EXPECT_EQ(CountColour(editor.drawing(), kWhite) + CountColour(editor.drawing(), kBlack),
              481 * 481);
    EXPECT_EQ(editor.pictures().albedo, before.albedo);
}

TEST_F(HorizonEditorModelTest, ImportNeedsAFrontEndThatRendersVectorPictures) {
    HorizonPictures before = editor.pictures();
    EXPECT_THROW(editor.importDrawingFile("plan.svg"), FileError);
    EXPECT_EQ(editor.pictures(), before);
    EXPECT_FALSE(sourceChecked());

    RenderingHost desktop;
    test::MainWindowStub desktopMain{desktop};
    HorizonEditorModel other{desktop, desktopMain};
    other.importDrawingFile("plan.svg");
    EXPECT_TRUE(desktopMain.checked("Horizonteinengung1"));
    EXPECT_EQ(other.drawing().pixel(479, 479), kBlack);
    EXPECT_EQ(other.drawing().pixel(480, 100), kWhite);  // rendered onto (0, 0)-(480, 480)
    EXPECT_EQ(CountColour(other.pictures().albedo, kWhite), 481 * 481);  // maps unchanged
}

TEST_F(HorizonEditorModelTest, FillCutMonochromeAndUndoLeaveAddAsItIs) {
    // "A&dd" keeps the fisheye image and factors of the last "&New", so its rows stay true to
    // their header; only New, Open, Import and closing a polygon ask for a new table.
    drawPolygon({{300, 240}, {300, 300}, {240, 300}});
    main.enableAdd();
    editor.click("FillBtn");
    editor.pointerPress(100, 240);
    for (const char* command : {"MonoBtn", "CutBtn", "UndoBtn"}) editor.click(command);
    EXPECT_TRUE(addEnabled());
}

TEST_F(HorizonEditorModelTest, RedoTakesBackAnUndoUntilTheNextChange) {
    EXPECT_FALSE(editor.enabled("RedoBtn"));
    const HorizonPictures empty = editor.pictures();
    drawPolygon({{300, 240}, {300, 300}, {240, 300}});
    const HorizonPictures drawn = editor.pictures();
    editor.click("MonoBtn");
    const HorizonPictures mono = editor.pictures();
    ASSERT_NE(mono, drawn);

    editor.click("UndoBtn");
    editor.click("UndoBtn");
    EXPECT_EQ(editor.pictures(), empty);
    EXPECT_FALSE(sourceChecked());
    EXPECT_EQ(editor.redoDepth(), 2u);
    editor.click("RedoBtn");
    EXPECT_EQ(editor.pictures(), drawn);
    EXPECT_TRUE(sourceChecked());  // the stroke counts again
    editor.click("RedoBtn");
    EXPECT_EQ(editor.pictures(), mono);
    EXPECT_FALSE(editor.enabled("RedoBtn"));
    editor.Redo();  // nothing to redo: no change
    EXPECT_EQ(editor.pictures(), mono);

    // a change after an undo drops what could be redone
    editor.click("UndoBtn");
    EXPECT_TRUE(editor.enabled("RedoBtn"));
    editor.click("CutBtn");
    EXPECT_FALSE(editor.enabled("RedoBtn"));
    EXPECT_EQ(editor.redoDepth(), 0u);
    editor.click("UndoBtn");
    EXPECT_EQ(editor.pictures(), drawn);
}

}  // namespace
}  // namespace umbrix

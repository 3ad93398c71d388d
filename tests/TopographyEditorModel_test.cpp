#include "models/TopographyEditorModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/TextFile.h"
#include "support/FakeHost.h"
#include "support/MainWindowStub.h"

namespace umbrix {
namespace {

namespace fs = std::filesystem;

std::string TempPath(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / "umbrix_topo_test";
    fs::create_directories(dir);
    return (dir / name).string();
}

// A file of `columns` x `rows` heights: value = 1000 * j + i, so every point is recognisable.
std::string WriteGrid(const std::string& name, int columns, int rows) {
    std::ostringstream out;
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) out << 1000 * j + i << ' ';
        out << '\n';
    }
    std::string path = TempPath(name);
    std::ofstream(path) << out.str();
    return path;
}

class TopographyEditorModelTest : public ::testing::Test {
  protected:
    test::FakeHost host;
    test::MainWindowStub main{host};
    TopographyEditorModel topo{host, main};

    bool mainItem() const { return main.checked("Topographie1"); }
    bool addEnabled() const { return main.enabled("ButtonHinzu"); }
};

TEST_F(TopographyEditorModelTest, StartsEmptyWithTheDefaults) {
    EXPECT_EQ(topo.text("EditRast"), "50");
    EXPECT_EQ(topo.text("ComboX"), "W-E");
    EXPECT_EQ(topo.text("ComboY"), "N-S");
    EXPECT_EQ(topo.text("EditDat"), "(none - keine)");
    EXPECT_EQ(topo.caption, "Edit topography - Topographie bearbeiten - Umbrix");
    EXPECT_EQ(topo.ctl("LabelWest").caption, "0m");
    EXPECT_EQ(topo.ctl("LabelSouth").caption, "2000m");
    EXPECT_FALSE(mainItem());
    EXPECT_EQ(topo.map().width(), 401);
}

TEST_F(TopographyEditorModelTest, GridSettingsFollowTheirEntryRules) {
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
    } cases[] = {
        {"EditRast", "25", "25"},  {"EditRast", "abc", "10"}, {"EditRast", "2.5", "10"},
        {"EditRast", "0", "10"},   {"EditRast", "-5", "10"},  {"EditAnzSp", "100", "100"},
        {"EditAnzSp", "x", "100"}, {"EditAnzSp", "0", "100"}, {"EditAnzZe", "7", "7"},
        {"EditAnzZe", "", "7"},
    };
    for (const Case& t : cases) {
        topo.typeAndLeave(t.field, t.typed);
        EXPECT_EQ(topo.text(t.field), t.shown) << t.field << " <- " << t.typed;
    }
    EXPECT_EQ(topo.grid().delta, 10);
    EXPECT_EQ(topo.grid().columns, 100);
    EXPECT_EQ(topo.grid().rows, 7);
    // a changed setting greys the edge labels until the map is actualized
    EXPECT_FALSE(topo.ctl("LabelWest").enabled);
    topo.click("AktualBtn");
    EXPECT_TRUE(topo.ctl("LabelWest").enabled);
    EXPECT_EQ(topo.ctl("LabelWest").caption, "800m");  // round(1000 / 10) - 20 grid distances
}

TEST_F(TopographyEditorModelTest, DirectionSelectorsStayComplementary) {
    struct Case {
        const char* combo;
        int index;
        const char* other;
    } cases[] = {
        {"ComboX", 3, "S-N"}, {"ComboX", 0, "W-E"}, {"ComboY", 2, "N-S"}, {"ComboY", 1, "E-W"}};
    for (const Case& t : cases) {
        topo.select(t.combo, t.index);
        EXPECT_EQ(topo.text(std::string(t.combo) == "ComboX" ? "ComboY" : "ComboX"), t.other);
    }
}

TEST_F(TopographyEditorModelTest, OpenFillsTheWindowAroundTheLocation) {
    std::string path = WriteGrid("grid60.txt", 60, 50);
    topo.typeAndLeave("EditAnzSp", "60");
    main.enableAdd();
    ASSERT_TRUE(topo.openTopographyFile(path));
    EXPECT_TRUE(mainItem());
    EXPECT_FALSE(addEnabled());
    EXPECT_EQ(topo.text("EditDat"), "grid60.txt");
    // x0 = y0 = 1000 with 50 m: the window centre is file point (20, 20)
    EXPECT_EQ(topo.window().at(20, 20), 20020);
    EXPECT_EQ(topo.window().at(0, 0), 0);
    EXPECT_EQ(topo.window().at(40, 40), 40040);
    EXPECT_EQ(topo.fileValueCount(), 3000u);

    // Moving the location re-extracts at once, keeping a height typed by hand.
    topo.mapClick(200, 200 + 10);  // window point (20, 21)
    topo.typeAndLeave("EditZp", "5.25");
    EXPECT_EQ(topo.text("EditZp"), "5.3");
    topo.typeAndLeave("EditX0", "2000");
    EXPECT_EQ(topo.text("EditX0"), "2000.0");
    EXPECT_EQ(topo.window().at(20, 20), 20040);
    EXPECT_EQ(topo.window().at(39, 20), 20059);  // beyond column 59 of the file: 0
    EXPECT_EQ(topo.window().at(40, 20), 0);
    EXPECT_FLOAT_EQ(topo.window().at(0, 21), 5.25f);  // the typed height moved along
    EXPECT_EQ(topo.ctl("LabelWest").caption, "1000m");
    EXPECT_EQ(topo.ctl("LabelEast").caption, "3000m");
}

TEST_F(TopographyEditorModelTest, UnreadableFileIsReportedWithLineAndText) {
    std::string path = TempPath("broken.txt");
    std::ofstream(path) << "1 2 3\n4 5 six 7\n";
    topo.typeAndLeave("EditAnzSp", "3");
    topo.typeAndLeave("EditX0", "0");
    topo.typeAndLeave("EditY0", "0");
    main.ctl("Topographie1").checked = true;
    main.enableAdd();
    EXPECT_FALSE(topo.openTopographyFile(path));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("Invalid source file!", 0), 0u);
    EXPECT_NE(host.messages[0].find("line 2: \"six\""), std::string::npos);
    EXPECT_FALSE(mainItem());
    EXPECT_FALSE(addEnabled());
    // values read before the error remain
    EXPECT_EQ(topo.window().at(21, 21), 5);
    EXPECT_EQ(topo.window().at(22, 21), 0);

    topo.setGerman(true);
    topo.openTopographyFile(TempPath("missing.txt"));
    EXPECT_EQ(host.messages.back().rfind("Quelldatei ist ungültig!", 0), 0u);
}

TEST_F(TopographyEditorModelTest, HugeFileKeepsOnlyItsWindowAndIsReadAgainWhenTheLocationMoves) {
    std::string path = WriteGrid("huge.txt", 100, 100);  // more values than held here
    topo.setMaxHeldValues(5000);
    topo.typeAndLeave("EditAnzSp", "100");
    ASSERT_TRUE(topo.openTopographyFile(path));
    EXPECT_FALSE(topo.holdsAllValues());
    EXPECT_EQ(topo.window().at(20, 20), 20020);
    topo.typeAndLeave("EditY0", "3000");
    EXPECT_EQ(topo.window().at(20, 20), 60020);
    EXPECT_EQ(topo.window().at(0, 40), 80000);
}

TEST_F(TopographyEditorModelTest, SaveWritesTheWindowAndGuardsLargerFiles) {
    std::string whole = WriteGrid("whole.txt", 41, 41);
    ASSERT_TRUE(topo.openTopographyFile(whole));
    topo.typeAndLeave("EditX0", "1000");
    std::string out = TempPath("saved.txt");
    host.saveAnswers.push_back(out);
    topo.click("SaveBtn");
    ASSERT_EQ(host.saveRequests.size(), 1u);
    EXPECT_EQ(host.saveRequests[0].fileName, whole);  // a whole 41 x 41 file is proposed
    EXPECT_EQ(host.saveRequests[0].defaultExt, "txt");
    EXPECT_EQ(topo.text("EditDat"), "saved.txt");
    auto lines = SplitLines(ReadTextFile(out));
    ASSERT_EQ(lines.size(), 1681u);
    EXPECT_EQ(lines[0], "  0.00");
    EXPECT_EQ(lines[1680], "40040.00");

    std::string larger = WriteGrid("larger.txt", 60, 60);
    topo.typeAndLeave("EditAnzSp", "60");
    ASSERT_TRUE(topo.openTopographyFile(larger));
    host.saveAnswers.push_back(std::nullopt);  // cancelled
    topo.click("Speichern1");
    ASSERT_EQ(host.saveRequests.size(), 2u);
    EXPECT_EQ(host.saveRequests[1].fileName, "");
    EXPECT_NE(host.saveRequests[1].title.find("41 x 41 window only"), std::string::npos);
}

TEST_F(TopographyEditorModelTest, EditPointCoordinatesSnapAndStayInTheWindow) {
    topo.mapClick(47, 52);  // nearest point (5, 5)
    EXPECT_EQ(topo.text("EditXp"), "250");
    EXPECT_EQ(topo.text("EditYp"), "250");
    topo.typeAndLeave("EditXp", "1049");  // toward zero onto 1000: column 20
    EXPECT_EQ(topo.editColumn(), 20);
    EXPECT_EQ(topo.text("EditXp"), "1000");
    topo.typeAndLeave("EditXp", "-49");  // toward zero: 0 m, column 0
    EXPECT_EQ(topo.editColumn(), 0);
    for (const char* refused : {"2050", "-100", "abc"}) {
        topo.typeAndLeave("EditYp", refused);
        EXPECT_EQ(topo.editRow(), 5) << refused;
        EXPECT_EQ(topo.text("EditYp"), "250") << refused;
    }
    // the location marker gives the location's own coordinates
    topo.typeAndLeave("EditX0", "1012.6");
    topo.mapClick(201, 199);
    EXPECT_EQ(topo.editColumn(), 20);
    EXPECT_EQ(topo.text("EditXp"), "1013");
}

TEST_F(TopographyEditorModelTest, TypingAHeightChecksTopographyAndPassingThroughChangesNothing) {
    std::string path = TempPath("fine.txt");
    std::ofstream(path) << "12.345";
    topo.typeAndLeave("EditX0", "0");
    topo.typeAndLeave("EditY0", "0");
    ASSERT_TRUE(topo.openTopographyFile(path));
    main.ctl("Topographie1").checked = false;
    topo.mapClick(200, 200);
    EXPECT_EQ(topo.text("EditZp"), "12.3");
    topo.leave("EditZp");
    EXPECT_FLOAT_EQ(topo.window().at(20, 20), 12.345f);  // not rounded to what is shown
    EXPECT_FALSE(mainItem());
    topo.type("EditZp", "7");
    EXPECT_TRUE(mainItem());
    topo.leave("EditZp");
    EXPECT_EQ(topo.window().at(20, 20), 7.0f);
}

TEST_F(TopographyEditorModelTest, AutoEnterWalksTheFileGrid) {
    topo.typeAndLeave("EditAnzSp", "3");
    topo.typeAndLeave("EditAnzZe", "2");
    topo.click("AutoBtn");
    EXPECT_TRUE(topo.checked("AutoBtn"));
    EXPECT_EQ(topo.focused(), "EditZp");
    for (int n = 1; n <= 6; ++n) {
        topo.type("EditZp", std::to_string(n));
        topo.heightEnter();
    }
    EXPECT_FALSE(topo.checked("AutoBtn"));
    EXPECT_EQ(topo.window().at(0, 0), 1);
    EXPECT_EQ(topo.window().at(2, 0), 3);
    EXPECT_EQ(topo.window().at(0, 1), 4);
    EXPECT_EQ(topo.window().at(2, 1), 6);
    EXPECT_EQ(topo.editColumn(), 2);  // stays on the last stored point
    EXPECT_EQ(topo.editRow(), 1);

    topo.click("AutoBtn");
    topo.heightEscape();
    EXPECT_FALSE(topo.checked("AutoBtn"));
    topo.type("EditZp", "9");
    topo.heightEnter();  // without Auto-enter, Enter does not move on
    EXPECT_EQ(topo.editColumn(), 2);
}

TEST_F(TopographyEditorModelTest, CloseComputesTheTerrainHorizonUnlessUnderground) {
    std::string path = TempPath("hill.txt");
    {
        std::ofstream out(path);
        for (int k = 0; k < 41 * 41; ++k) out << (k == 20 * 41 + 22 ? "200" : "100") << '\n';
    }
    ASSERT_TRUE(topo.openTopographyFile(path));
    topo.show();
    topo.typeAndLeave("EditZ0", "99.9");
    EXPECT_FALSE(topo.closeAndComputeHorizon());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0],
              "Location is \"underground\" because of its too low z-coord.\n"
              "No horizon calculation possible!");
    EXPECT_TRUE(topo.isVisible());
    EXPECT_TRUE(topo.horizonPicture().empty());

    topo.typeAndLeave("EditZ0", "100");  // level with the terrain: not underground
    topo.click("OkBtn");
    EXPECT_FALSE(topo.isVisible());
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_DOUBLE_EQ(topo.horizon()[90], 0.5);
    Raster picture = topo.horizonPicture().rasterize();
    EXPECT_EQ(picture.pixel(240 + 120, 240), Colour(0xC0C0C0));  // 45 degrees east
    EXPECT_EQ(picture.pixel(240 - 120, 240), kWhite);
}

TEST_F(TopographyEditorModelTest, FlatTerrainPictureObstructsNothingInsideTheHorizonCircle) {
    topo.click("OkBtn");
    Raster picture = topo.horizonPicture().rasterize();
    int inside = 0, ring = 0;
    for (int y = 0; y < 481; ++y)
        for (int x = 0; x < 481; ++x) {
            if (picture.pixel(x, y) == kWhite) continue;
            const double r = std::hypot(x - 240, y - 240);
            (r < 238.5 ? inside : ring)++;
        }
    EXPECT_EQ(inside, 0);
    EXPECT_GT(ring, 1000);  // the arcs along the circle
}

TEST_F(TopographyEditorModelTest, NewForgetsEverything) {
    std::string path = WriteGrid("new.txt", 41, 41);
    ASSERT_TRUE(topo.openTopographyFile(path));
    topo.click("OkBtn");
    main.enableAdd();
    topo.click("NeuBtn");
    EXPECT_FALSE(mainItem());
    EXPECT_FALSE(addEnabled());
    EXPECT_FALSE(topo.hasFile());
    EXPECT_EQ(topo.window(), TopoWindow{});
    EXPECT_TRUE(topo.horizonPicture().empty());
    EXPECT_EQ(topo.text("EditDat"), "(none - keine)");
    EXPECT_EQ(topo.editColumn(), 0);
    topo.typeAndLeave("EditX0", "2000");  // re-extraction has nothing to bring back
    EXPECT_EQ(topo.window(), TopoWindow{});
}

}  // namespace
}  // namespace umbrix

namespace umbrix {
namespace {

TEST_F(TopographyEditorModelTest, ReliefMapShowsShadingGridLinesAndMarkers) {
    const Raster& map = topo.map();
    EXPECT_EQ(map.pixel(15, 13), Rgb(178, 178, 178));  // flat: 0.7 * 255
    EXPECT_EQ(map.pixel(200, 50), kBlack);             // offset 0 m: a multiple of 1000
    EXPECT_EQ(map.pixel(220, 50), kWhite);             // 100 m
    EXPECT_EQ(map.pixel(210, 50), Colour(0x808080));   // 50 m
    EXPECT_EQ(map.pixel(200, 200), Rgb(255, 0, 0));    // the location
    EXPECT_EQ(map.pixel(1, 1), Rgb(255, 255, 0));      // the edit point after New: (0, 0)
    // 10 m per grid distance rising to the north darkens every triangle, rising to the south
    // brightens it: trunc((0.7 -+ 0.3 * 50 / sqrt(10^2 + 50^2)) * 255)
    topo.typeAndLeave("EditX0", "1000");
    for (int sign : {1, -1}) {
        std::string path = TempPath("slope.txt");
        {
            std::ofstream out(path);
            for (int k = 0; k < 41 * 41; ++k) out << 500 + sign * 10 * (40 - k / 41) << '\n';
        }
        ASSERT_TRUE(topo.openTopographyFile(path));
        const int grey = sign > 0 ? 103 : 253;
        for (Point p : {Point{15, 13}, Point{13, 15}, Point{15, 17}, Point{17, 15}})
            EXPECT_EQ(topo.map().pixel(p.x, p.y), Rgb(grey, grey, grey)) << sign;
    }
}

TEST_F(TopographyEditorModelTest, TerrainBeyondTheWindowDoesNotReachTheHorizon) {
    // A 60-column file, flat at 0 with a 5 km tower 21 grid distances east of the location.
    std::string path = TempPath("tower.txt");
    {
        std::ofstream out(path);
        for (int k = 0; k < 60 * 41; ++k) out << (k == 20 * 60 + 41 ? 5000 : 0) << '\n';
    }
    topo.typeAndLeave("EditAnzSp", "60");
    ASSERT_TRUE(topo.openTopographyFile(path));
    topo.click("OkBtn");
    for (double h : topo.horizon()) ASSERT_EQ(h, 0.0);
    topo.typeAndLeave("EditX0", "1050");  // one grid distance closer: now it counts
    topo.click("OkBtn");
    EXPECT_GT(topo.horizon()[90], 0.8);  // 5 km at 1 km: about 79 degrees
}

}  // namespace
}  // namespace umbrix

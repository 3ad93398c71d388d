// "&New" and "A&dd" in the "Data table" mode: the table in memory and in files, the row loop's
// missing values and the inputs it refuses.
#include <filesystem>

#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/TextFile.h"
#include "solar/SunPosition.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

using MainWindowCommandsTest = AppFixture;

TEST_F(MainWindowCommandsTest, NewWritesHeaderAndRowAddAppendsUnderIt) {
    app->registry().set("ComboOrt", "Freiburg");
    app->registry().set("Enumtag1", "1");
    main().typeAndLeave("EditZeit", "12:00");
    main().click("ButtonNeu");
    ASSERT_EQ(table().size(), 9u);
    EXPECT_TRUE(main().enabled("ButtonHinzu"));
    EXPECT_TRUE(app->outputWindow().isVisible());
    EXPECT_TRUE(app->outputWindow().ctl("RichEdit1").visible);
    EXPECT_EQ(app->outputWindow().timeMinutes(), 720);
    auto row = Fields(table()[8]);
    EXPECT_EQ(row[0], "1");
    EXPECT_EQ(row[1], "21.6.2026 ");
    EXPECT_EQ(row[3], "12:00");
    main().typeAndLeave("EditZeit", "15:00");
    main().typeAndLeave("EditTa", "25");
    main().click("ButtonHinzu");
    main().click("ButtonHinzu");
    ASSERT_EQ(table().size(), 11u);
    EXPECT_EQ(Fields(table()[9])[0], "2");
    EXPECT_EQ(Fields(table()[10])[0], "3");
    EXPECT_EQ(Fields(table()[9])[3], "15:00");
    main().click("ButtonNeu");  // a new table starts over
    ASSERT_EQ(table().size(), 9u);
    EXPECT_EQ(Fields(table()[8])[0], "1");
}

TEST_F(MainWindowCommandsTest, RowCarriesSunPositionAndHumidityCoupling) {
    app->registry().set("ComboOrt", "Freiburg");
    app->registry().set("Sunelevationangle1", "1");
    app->registry().set("Sunazimuthangle1", "1");
    main().typeAndLeave("EditZeit", "12:00");
    main().click("ButtonNeu");
    const CalculationResults& r = main().results;
    const double trueTime = TrueLocalTime(172, 7.85f, 1.0f, 12.0f);
    EXPECT_NEAR(r.Z, SunZenith(172, 48.0f, float(trueTime)), 1e-4);
    EXPECT_NEAR(r.azimuth, SunAzimuth(172, 48.0f, float(trueTime)), 1e-3);
    auto names = Fields(table()[6]);
    auto row = Fields(table()[8]);
    auto column = [&](const std::string& name) {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return row.at(i);
        ADD_FAILURE() << "no column " << name;
        return std::string();
    };
    EXPECT_EQ(column("elev."), fixed(90.0f - r.Z, 6, 1));
    EXPECT_EQ(column("sunr."), "4:29");
    EXPECT_EQ(column("sunset"), "20:32");
    EXPECT_EQ(column("SDmax"), "963");
    EXPECT_EQ(column("RH"), "53.5");  // from VP 12.5 at 20 °C
    EXPECT_EQ(column("SVF_Umb"), "1.000");
    // the meteorological values are read afresh by the next command
    EXPECT_EQ(r.Ta, main().missingValue);
    EXPECT_EQ(r.Tmrt, main().missingValue);
}

TEST_F(MainWindowCommandsTest, MissingValueInARowFillsEveryComputedColumn) {
    app->registry().set("FormWerte.EditDefVal", "20");
    main().click("ButtonNeu");  // Ta 20.0 equals the missing-value default
    auto names = Fields(table()[6]);
    auto row = Fields(table()[8]);
    for (const char* name : {"Gmax", "Gact", "Sact", "Dact", "A", "E", "Ts", "Tmrt", "PMV", "PET",
                             "SET*", "UTCI", "PT", "mPET"}) {
        auto it = std::find(names.begin(), names.end(), name);
        ASSERT_NE(it, names.end()) << name;
        EXPECT_EQ(row[it - names.begin()], "20.0") << name;
    }
}

TEST_F(MainWindowCommandsTest, TmrtThatIsNoNumberLeavesEveryIndexMissing) {
    // At a Bowen ratio of -0.9 the twelve passes of the surface balance run away: Ts, E and
    // Tmrt are no numbers and show the missing value, and so must every index formed from Tmrt.
    app->presettings().typeAndLeave("EditBowen", "-0.9");
    main().click("ButtonNeu");
    auto names = Fields(table()[6]);
    auto row = Fields(table()[8]);
    auto column = [&](const char* name) {
        auto it = std::find(names.begin(), names.end(), name);
        return it == names.end() ? std::string("absent") : row[it - names.begin()];
    };
    for (const char* name : {"Ts", "E", "Tmrt", "PMV", "PET", "SET*", "UTCI", "PT", "mPET"})
        EXPECT_EQ(column(name), "9999.0") << name;

    // a given Tmrt still gives the indices
    main().typeAndLeave("EditTmrt", "30");
    main().click("ButtonNeu");
    names = Fields(table()[6]);
    row = Fields(table()[8]);
    EXPECT_EQ(column("Tmrt"), "30.0");
    for (const char* name : {"PMV", "PET", "SET*", "PT"}) EXPECT_NE(column(name), "9999.0") << name;
}

TEST_F(MainWindowCommandsTest, GivenTmrtIsUsedAsItIs) {
    main().typeAndLeave("EditTmrt", "45.5");
    main().click("ButtonNeu");
    auto names = Fields(table()[6]);
    auto it = std::find(names.begin(), names.end(), "Tmrt");
    EXPECT_EQ(Fields(table()[8])[it - names.begin()], "45.5");
}

TEST_F(MainWindowCommandsTest, UnreadableTextEndsTheCommandNamingTheField) {
    app->registry().set("FormWerte.EditDefVal", "none");
    try {
        main().click("ButtonNeu");
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.field(), "EditDefVal");
        EXPECT_EQ(e.text(), "none");
    }
    EXPECT_FALSE(main().enabled("ButtonHinzu"));
    EXPECT_EQ(table().size(), 8u);  // header written, no row
    // a day of year that was typed but never left
    app->registry().set("FormWerte.EditDefVal", "9999");
    main().type("EditTag", "x");
    EXPECT_THROW(main().click("ButtonNeu"), ConvertError);
    EXPECT_FALSE(host.busy);
}

TEST_F(MainWindowCommandsTest, OutputInFileWithDetailFiles) {
    struct Case {
        bool pet, mpet;
        const char* detail;
    } cases[] = {{false, false, nullptr},
                 {true, false, "memi_t.txt"},
                 {false, true, "mPET_model_t.txt"},
                 {true, true, "memi_mPET_model_t.txt"}};
    app->registry().set("FormWerte.ChkInDatei", "1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.detail ? c.detail : "none");
        for (const char* f : {"t.txt", "memi_t.txt", "mPET_model_t.txt", "memi_mPET_model_t.txt"})
            std::filesystem::remove(path(f));
        app->registry().set("PETMEMI1", c.pet ? "1" : "0");
        app->registry().set("mPETYCC1", c.mpet ? "1" : "0");
        host.saveAnswers.push_back(path("t.txt"));
        main().click("ButtonNeu");
        EXPECT_EQ(host.saveRequests.back().defaultExt, "txt");
        EXPECT_EQ(SplitLines(readFile("t.txt")).size(), 9u);
        main().click("ButtonHinzu");
        main().click("ButtonHinzu");
        EXPECT_EQ(SplitLines(readFile("t.txt")).size(), 11u);
        EXPECT_TRUE(host.saveAnswers.empty());  // "A&dd" asks for nothing
        EXPECT_EQ(main().outputFile(), path("t.txt"));
        EXPECT_EQ(table().size(), 8u);  // the header also stays in the text view
        for (const char* f : {"memi_t.txt", "mPET_model_t.txt", "memi_mPET_model_t.txt"}) {
            bool expected = c.detail && std::string(f) == c.detail;
            EXPECT_EQ(std::filesystem::exists(path(f)), expected) << f;
            if (expected) {
                EXPECT_EQ(SplitLines(readFile(f)).size(), 5u);  // names, units, 3 rows
            }
        }
        EXPECT_TRUE(app->detailTable().lines().empty());
    }
}

TEST_F(MainWindowCommandsTest, CancelledSaveDialogComputesNothingAndKeepsAddDisabled) {
    app->registry().set("FormWerte.ChkInDatei", "1");
    main().click("ButtonNeu");  // no answer queued: cancelled
    EXPECT_FALSE(main().enabled("ButtonHinzu"));
    EXPECT_TRUE(table().empty());
    EXPECT_EQ(main().outputFile(), "");
}

TEST_F(MainWindowCommandsTest, DetailWindowShowsDetailLinesInMemory) {
    main().click("ButtonNeu");
    EXPECT_FALSE(app->detailTable().isVisible());
    EXPECT_TRUE(app->detailTable().lines().empty());
    app->registry().set("PETMEMI1", "1");
    main().click("ButtonNeu");
    EXPECT_TRUE(app->detailTable().isVisible());
    EXPECT_EQ(app->detailTable().lines().size(), 3u);
    main().click("ButtonHinzu");
    EXPECT_EQ(app->detailTable().lines().size(), 4u);
    host.saveAnswers.push_back(path("details.txt"));
    app->detailTable().click("SaveAs1");
    EXPECT_EQ(SplitLines(readFile("details.txt")), app->detailTable().lines());
}

TEST_F(MainWindowCommandsTest, DiagramWindowSavesTheTextViewAsItIs) {
    main().click("ButtonNeu");
    host.saveAnswers.push_back(path("table.dat"));
    app->outputWindow().click("SaveBtn");
    EXPECT_EQ(host.saveRequests.back().defaultExt, "dat");
    EXPECT_EQ(SplitLines(readFile("table.dat")), table());
    EXPECT_FALSE(app->outputWindow().saveAs());  // cancelled: nothing happens
}

TEST_F(MainWindowCommandsTest, OtherModesAndDataFilesReportWhatIsMissing) {
    // the cylindrical diagram does not exist: its item is hidden and disabled
    EXPECT_THROW(main().click("Zylinder1"), UmbrixError);
    EXPECT_TRUE(main().checked("Einzeltab1"));
    main().click("Wertedatei1");
    EXPECT_TRUE(app->dataFileWindow().isVisible());
    EXPECT_THROW(main().click("ButtonNeu"), FileError);  // no data file chosen
}

}  // namespace
}  // namespace umbrix::test

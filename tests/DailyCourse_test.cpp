// The daily data course: a row per day of the year or per data-file record, polar days and
// nights, the clear-sky and actual radiation sums, and what it refuses.
#include <cmath>

#include "models/PresettingsModel.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "solar/RadiationStep.h"
#include "solar/SunPosition.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

class DailyTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        app->registry().set("ComboOrt", "Freiburg");
        main().click("Jahresgang1");
    }
    std::size_t firstRow() const { return app->mainWindow().dataFileActive() ? 5 : 8; }
    std::vector<std::string> rows() { return {table().begin() + long(firstRow()), table().end()}; }
    std::vector<std::string> names() { return Fields(table()[firstRow() - 2]); }
    std::string cell(const std::string& row, const std::string& name) {
        auto n = names();
        auto f = Fields(row);
        for (std::size_t i = 0; i < n.size(); ++i)
            if (n[i] == name) return i < f.size() ? f[i] : "<none>";
        ADD_FAILURE() << "no column " << name;
        return {};
    }
    std::string dayRow(int day) { return rows().at(std::size_t(day - 1)); }
    void useData(const std::string& content, const std::vector<std::string>& columns) {
        writeFile("days.txt", content);
        host.openAnswers.push_back(path("days.txt"));
        app->dataFileWindow().click("BitBtn1");
        app->dataFileWindow().selectColumns(columns);
    }
};

TEST_F(DailyTest, ThreeHundredSixtyFiveRowsAlsoInALeapYear) {
    for (int year : {2026, 2028}) {
        SCOPED_TRACE(year);
        host.clock.year = year;
        main().click("ButtonNeu");
        auto r = rows();
        ASSERT_EQ(r.size(), 365u);
        EXPECT_EQ(cell(r.front(), "date      "), "1.1." + std::to_string(year) + " ");
        EXPECT_EQ(cell(r.back(), "day of"), "365");
        EXPECT_EQ(cell(r.back(), "date      "),
                  (year == 2028 ? "30.12." : "31.12.") + std::to_string(year) + " ");
    }
    EXPECT_FALSE(main().enabled("ButtonHinzu"));
    EXPECT_TRUE(app->outputWindow().isVisible());
}

TEST_F(DailyTest, HeaderListsExactlyTheColumnsOfTheRows) {
    for (const char* item : {"Enumtag1", "Latitude1", "Longitude1", "Altitude1", "Timezone1",
                             "SVFcos1", "Sunelevationangle1"})
        app->registry().set(item, "1");
    main().click("ButtonNeu");
    EXPECT_EQ(table()[6],
              "date      \tday of\tsunr.\tsunset\tSDmax\tSDact\tGmaxMax\tGactMax\tGmaxSum\t"
              "GactSum\tGmaxAvr\tGactAvr\t");
    for (const std::string& row : rows()) ASSERT_EQ(Fields(row).size(), names().size()) << row;
    // without "Global radiation" the six radiation columns go as well
    app->registry().set("Gtat1", "0");
    app->registry().set("Datum1", "0");
    main().click("ButtonNeu");
    EXPECT_EQ(table()[6], "day of\tsunr.\tsunset\tSDmax\tSDact\t");
    EXPECT_EQ(rows()[171], "172\t4:28\t20:31\t963\t961\t");
}

TEST_F(DailyTest, PolarDayAndNightAtEightyNorth) {
    main().typeAndLeave("EditBr", "80");
    main().click("ButtonNeu");
    struct Case {
        int day;
        const char* sdMax;
    } cases[] = {{172, "1440"}, {355, "0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.day);
        const std::string row = dayRow(c.day);
        EXPECT_EQ(cell(row, "sunr."), "---");
        EXPECT_EQ(cell(row, "sunset"), "---");
        EXPECT_EQ(cell(row, "SDmax"), c.sdMax);
    }
    EXPECT_EQ(cell(dayRow(172), "SDact"), "1440");
    EXPECT_EQ(cell(dayRow(355), "SDact"), "0");
    EXPECT_EQ(cell(dayRow(355), "GmaxMax"), "0.0");
    EXPECT_NE(cell(dayRow(80), "sunr."), "---");
}

TEST_F(DailyTest, RadiationStatisticsOfAClearDay) {
    main().click("ButtonNeu");
    const std::string row = dayRow(172);
    const float gmaxMax = std::stof(cell(row, "GmaxMax"));
    // without clouds and horizon the actual radiation is the clear-sky radiation
    EXPECT_EQ(cell(row, "GactMax"), cell(row, "GmaxMax"));
    EXPECT_EQ(cell(row, "GactSum"), cell(row, "GmaxSum"));
    // sum and average of the same 144 ten-minute values
    EXPECT_NEAR(std::stof(cell(row, "GmaxSum")) / 24, std::stof(cell(row, "GmaxAvr")), 0.06);
    // the largest ten-minute value, at the true noon step, with the automatic turbidity
    const double T = AutoLinkeTurbidity(172, 48.0, 53.5, 90);
    EXPECT_EQ(fixed(gmaxMax, 6, 1),
              fixed(float(ClearSkyGlobal(172, 278, SunZenith(172, 48.0f, 12.0f), T)), 6, 1));
    // and that of a data-table row at true noon (a turbidity of 0 would give about 13 % more)
    main().click("Einzeltab1");
    main().typeAndLeave("EditZeit", "12:32");
    main().click("ButtonNeu");
    const float tableGmax = main().results.G0;
    EXPECT_NEAR(gmaxMax, tableGmax, 0.005 * tableGmax);
}

TEST_F(DailyTest, OvercastLeavesOnlyDiffuseRadiation) {
    main().typeAndLeave("EditN", "8");
    main().click("ButtonNeu");
    for (int day : {20, 172, 300}) {
        const std::string row = dayRow(day);
        // N = 8: no direct part, and a diffuse part of SVF · 0.28 · G0 in every step
        EXPECT_NEAR(std::stof(cell(row, "GactMax")), 0.28f * std::stof(cell(row, "GmaxMax")), 0.1);
        EXPECT_NEAR(std::stof(cell(row, "GactSum")), 0.28f * std::stof(cell(row, "GmaxSum")), 0.3);
    }
}

TEST_F(DailyTest, AutomaticRatioIsTakenAsTwoTenths) {
    // a horizon profile of 45° all round hides the sun part of the day and halves the sky view
    std::string angles;
    for (int k = 0; k < 12; ++k) angles += " 45";
    useData("172" + angles + "\n355" + angles + "\n", {"doy", "horizon"});
    main().click("ButtonNeu");
    auto automatic = rows();
    ASSERT_EQ(automatic.size(), 2u);
    for (const std::string& row : automatic)
        for (const char* name : {"GactMax", "GactSum", "GactAvr"})
            EXPECT_GT(std::stof(cell(row, name)), 0.0f) << name << " in " << row;
    app->registry().set("EditDGratio", "0.2");
    main().click("ButtonNeu");
    EXPECT_EQ(rows(), automatic);
    app->registry().set("EditDGratio", "0.5");
    main().click("ButtonNeu");
    EXPECT_NE(rows()[0], automatic[0]);
    // the sun stays below 45° on the winter solstice
    EXPECT_EQ(cell(automatic[1], "SDact"), "0");
    EXPECT_NE(cell(automatic[0], "SDact"), "0");
}

TEST_F(DailyTest, DataFileGivesTheDaysAndTheCloudCover) {
    useData("1.7.2025;0\n2.7.2025;8\n3.7.2025;9999\n", {"date", "N"});
    app->registry().set("ComboFileSep", ";");
    main().typeAndLeave("EditN", "4");
    main().click("ButtonNeu");
    auto r = rows();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(cell(r[0], "date      "), "1.7.2025 ");
    EXPECT_EQ(cell(r[1], "day of"), "183");
    EXPECT_EQ(cell(r[0], "GactMax"), cell(r[0], "GmaxMax"));  // N = 0 from the file, not 4
    EXPECT_NEAR(std::stof(cell(r[1], "GactMax")), 0.28f * std::stof(cell(r[1], "GmaxMax")), 0.1);
    // a missing cloud cover leaves the radiation unknown
    EXPECT_EQ(cell(r[2], "GactMax"), "9999.0");
    EXPECT_EQ(cell(r[2], "GmaxMax"), "9999.0");
    EXPECT_NE(cell(r[2], "sunr."), "9999.0");
}

TEST_F(DailyTest, DataFileWithoutDayIsRefusedWithAMessage) {
    useData("20\n21\n", {"Ta"});
    // an error, not a message beside an empty table: the command line must not report success
    try {
        main().click("ButtonNeu");
        ADD_FAILURE() << "no error";
    } catch (const UmbrixError& e) {
        EXPECT_STREQ(e.what(),
                     "For calulating daily data with an input file, there must be a \"date\" or "
                     "\"day of year\" parameter column.");
    }
    EXPECT_TRUE(table().empty());
    // an empty file: no rows, no message
    useData("", {"doy"});
    main().click("ButtonNeu");
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DailyTest, NeverWritesTheOutputFile) {
    app->registry().set("FormWerte.ChkInDatei", "1");
    main().click("ButtonNeu");
    EXPECT_EQ(rows().size(), 365u);
    EXPECT_TRUE(host.saveRequests.empty());
}

// Days are computed in blocks over the threads and written in order: the same rows with one
// thread and with two, over block boundaries, with missing and refused days between.
TEST_F(DailyTest, TheCourseDoesNotDependOnTheThreadCount) {
    std::string content;
    for (int i = 0; i < 600; ++i) {
        std::string n = std::to_string(i % 9);
        if (i % 97 == 5) n = "9999";  // missing
        if (i % 89 == 7) n = "12";    // outside its range
        content += std::to_string(1 + (i * 7) % 365) + ";" + n + ";" +
                   std::to_string(20 + (i * 13) % 80) + "\n";
    }
    useData(content, {"doy", "N", "RH"});
    app->registry().set("ComboFileSep", ";");
    std::vector<std::string> tables[2];
    for (unsigned threads : {1u, 2u}) {
        main().setThreads(threads);
        main().click("ButtonNeu");
        tables[threads - 1] = rows();
    }
    ASSERT_EQ(tables[0].size(), 600u);
    EXPECT_EQ(tables[0], tables[1]);
    EXPECT_EQ(cell(tables[0][5], "GactMax"), "9999.0");
    EXPECT_NE(cell(tables[0][6], "GactMax"), "9999.0");
}

TEST_F(DailyTest, UnreadableRecordEndsTheCourseKeepingItsRows) {
    useData("172\n173\nx\n175\n", {"doy"});
    EXPECT_THROW(main().click("ButtonNeu"), DataFileError);
    EXPECT_EQ(rows().size(), 2u);
    main().type("EditTa", "warm");  // typed, never left
    EXPECT_THROW(main().click("ButtonNeu"), ConvertError);
}

}  // namespace
}  // namespace umbrix::test

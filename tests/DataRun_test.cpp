// "&New" and "A&dd" over a data file: the rows, what the main window supplies, missing values,
// lines that cannot be read, the output file, and the columns that reach the pre-settings.
#include <cmath>
#include <filesystem>

#include "diagrams/SunPath.h"
#include "horizon/Fisheye.h"
#include "horizon/Sunshine.h"
#include "models/DataFileWindowModel.h"
#include "models/RangeMessages.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/TextFile.h"
#include "solar/RadiationStep.h"
#include "solar/SunPosition.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

class DataRunTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        app->registry().set("ComboOrt", "Freiburg");
    }
    // Chooses the file (written first) and the columns, as the user would.
    void useData(const std::string& content, const std::vector<std::string>& columns,
                 const std::string& name = "data.txt") {
        writeFile(name, content);
        host.openAnswers.push_back(path(name));
        app->dataFileWindow().click("BitBtn1");
        app->dataFileWindow().selectColumns(columns);
    }
    std::vector<std::string> names() { return Fields(table()[3]); }
    // The value of a column in the table line `line` (rows follow the unit line).
    std::string cell(std::size_t line, const std::string& name) {
        auto n = names();
        auto row = Fields(table().at(line));
        for (std::size_t i = 0; i < n.size(); ++i)
            if (n[i] == name) return i < row.size() ? row[i] : std::string("<none>");
        ADD_FAILURE() << "no column " << name;
        return {};
    }
    static constexpr std::size_t kFirstRow = 5;  // no location lines with a data file
};

TEST_F(DataRunTest, OneRowPerLineWithTheMainWindowFillingTheRest) {
    useData(
        "date\ttime\tTa\tRH\tG\n"
        "1.7.2025\t12:00\t28.0\t40\t800\n"
        "1.7.2025\t13:00\t29.0\t38\t-5\n"
        "1.7.2025\t24:00\t20.0\t60\t0\n",
        {"date", "time", "Ta", "RH", "G"});
    app->registry().set("ChkUeberschriften", "1");
    app->registry().set("Enumtag1", "1");
    main().typeAndLeave("EditN", "3");
    main().typeAndLeave("EditWG", "1.5");
    main().click("ButtonNeu");
    ASSERT_EQ(table().size(), kFirstRow + 3);
    EXPECT_EQ(table()[2], "");  // the location lines are left out
    EXPECT_EQ(cell(5, "Enum."), "1");
    EXPECT_EQ(cell(7, "Enum."), "3");
    EXPECT_EQ(cell(5, "date      "), "1.7.2025 ");
    EXPECT_EQ(cell(5, "day of"), "182");
    EXPECT_EQ(cell(6, "time"), "13:00");
    EXPECT_EQ(cell(7, "time"), "0:00");  // 24:00 is midnight of the same date
    EXPECT_EQ(cell(7, "date      "), "1.7.2025 ");
    EXPECT_EQ(cell(5, "Ta"), "28.0");
    EXPECT_EQ(cell(5, "RH"), "40.0");
    EXPECT_EQ(cell(5, "VP"), fixed(float(VapourFromRelHumidity(28.0f, 40.0f)), 6, 1));
    EXPECT_EQ(cell(5, "v"), "1.5");
    EXPECT_EQ(cell(5, "Gact"), "800.0");
    EXPECT_EQ(cell(6, "Gact"), "0.0");  // a negative G becomes 0
    // N is not a column: every row takes it from the main window, also on a second "&New"
    EXPECT_EQ(cell(5, "C"), "3.0");
    EXPECT_EQ(cell(7, "C"), "3.0");
    main().click("ButtonNeu");
    ASSERT_EQ(table().size(), kFirstRow + 3);
    for (std::size_t line = 5; line < 8; ++line) {
        EXPECT_EQ(cell(line, "C"), "3.0");
        EXPECT_NE(cell(line, "PET"), "9999.0");
    }
    // "A&dd" reads the file again and appends its rows
    main().click("ButtonHinzu");
    ASSERT_EQ(table().size(), kFirstRow + 6);
    EXPECT_EQ(cell(8, "Enum."), "4");
    EXPECT_EQ(cell(8, "PET"), cell(5, "PET"));
}

TEST_F(DataRunTest, MeasuredDiffuseAndCloudCoverAreUsedWithG) {
    // 1 July, 12:00 at Freiburg: a measured G with its D, and the cloud cover of the hour
    const std::string header = "1.7.2025\t12:00\t25\t50\t1\t";
    useData(header + "6\t400\t500\n" + header + "6\t9999\t500\n" + header + "0\t600\t500\n",
            {"date", "time", "Ta", "RH", "v", "N", "D", "G"});
    main().click("ButtonNeu");
    ASSERT_EQ(table().size(), kFirstRow + 3);
    // the row's D/G is 0.8 (SVF 1): D 400, S 100
    EXPECT_EQ(cell(5, "Dact"), "400.0");
    EXPECT_EQ(cell(5, "Sact"), "100.0");
    // a missing D leaves the automatic split
    const float g0 = main().results.G0;
    const float ratio = float(DiffuseGlobalRatio(-1, 500, g0));
    EXPECT_EQ(cell(6, "Dact"), fixed(ratio * 500.0f, 6, 1));
    // a D above G is all of G
    EXPECT_EQ(cell(7, "Dact"), "500.0");
    EXPECT_EQ(cell(7, "Sact"), "0.0");
    // N gives the counter-radiation also with a measured G
    const float vp = float(VapourFromRelHumidity(25, 50));
    EXPECT_EQ(cell(5, "C"), "6.0");
    EXPECT_EQ(cell(5, "A"), fixed(float(AtmosphericCounterRadiation(25, vp, 6)), 6, 1));
    EXPECT_EQ(cell(7, "A"), fixed(float(AtmosphericCounterRadiation(25, vp, 0)), 6, 1));
}

TEST_F(DataRunTest, DiffuseWithoutGlobalIsRefusedAtTheStart) {
    useData("25 50 1 300\n", {"Ta", "RH", "v", "D"});
    try {
        main().click("ButtonNeu");
        FAIL() << "no error";
    } catch (const UmbrixError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("\"Diffuse radiation D (W/m\u00b2)\""), std::string::npos) << what;
        EXPECT_NE(what.find("\"Global radiation G (W/m\u00b2)\""), std::string::npos) << what;
    }
    EXPECT_EQ(table().size(), 0u);
}

TEST_F(DataRunTest, ValuesOutsideTheirRangeGiveMissingRowsAndOneReport) {
    // 1 July at Freiburg: G is possible up to about 1.1 × 1210 W/m²
    useData(
        "12:00 25 50 1 4 500 0.2\n"
        "13:00 25 150 1 4 500 0.2\n"  // RH
        "14:00 25 50 -1 4 500 0.2\n"  // v
        "15:00 25 50 1 10 500 0.2\n"  // N in tenths
        "16:00 25 50 1 4 1500 0.2\n"  // G
        "17:00 25 50 1 4 500 -0.3\n"  // albedo
        "18:00 99 50 1 4 500 0.2\n"   // Ta
        "19:00 25 50 1 8 300 0.2\n",
        {"time", "Ta", "RH", "v", "N", "G", "albedo"});
    main().typeAndLeave("EditDat", "1.7.2026");
    main().click("ButtonNeu");
    ASSERT_EQ(table().size(), kFirstRow + 8);
    for (std::size_t line = 6; line <= 11; ++line) {
        SCOPED_TRACE(cell(line, "time"));
        for (const char* name :
             {"Gact", "Sact", "A", "E", "Ts", "Tmrt", "PMV", "PET", "SET*", "UTCI", "PT", "mPET"})
            EXPECT_EQ(cell(line, name), "9999.0") << name;
    }
    EXPECT_EQ(cell(6, "RH"), "150.0");  // the value as read, not clamped
    for (std::size_t line : {5u, 12u}) EXPECT_NE(cell(line, "PET"), "9999.0");
    // the run goes on; one message at the end names the first five rows
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string& m = host.messages[0];
    EXPECT_EQ(m.rfind("6 rows of the data file held a value outside its physical range", 0), 0u)
        << m;
    for (const char* part :
         {"line 2, column 3 (RH): Relative humidity RH: \"150\" is outside the range 0 to 100 %",
          "line 3, column 4 (v)", "line 4, column 5 (N)", "line 5, column 6 (G)",
          "line 6, column 7 (albedo)", "\n..."})
        EXPECT_NE(m.find(part), std::string::npos) << part << " in " << m;
    EXPECT_EQ(m.find("line 7"), std::string::npos);
    // an albedo outside its range does not reach the pre-settings
    EXPECT_FLOAT_EQ(app->presettings().albedo, 0.2f);

    // a vapour pressure above saturation at the row's Ta
    host.messages.clear();
    useData("10 30\n10 12.3\n", {"Ta", "VP"});
    main().click("ButtonNeu");
    EXPECT_EQ(cell(5, "PET"), "9999.0");
    EXPECT_EQ(cell(6, "RH"), "100.0");  // within its last digit: saturated
    EXPECT_NE(cell(6, "PET"), "9999.0");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("line 1, column 2 (VP)"), std::string::npos)
        << host.messages[0];

    // the main window's vapour pressure at a row's cold Ta
    host.messages.clear();
    main().typeAndLeave("EditVp", "12.5");
    useData("20\n5\n", {"Ta"});
    main().click("ButtonNeu");
    EXPECT_NE(cell(5, "PET"), "9999.0");
    EXPECT_EQ(cell(6, "PET"), "9999.0");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("\nline 2 (EditVp): Vapour pressure VP: \"12.5\""),
              std::string::npos)
        << host.messages[0];
}

TEST_F(DataRunTest, MainWindowValuesAreCheckedWhenTheCommandReadsThem) {
    // a text set without leaving its field (as a restored session may) stops the command
    main().ctl("EditN").text = "10";
    try {
        main().click("ButtonNeu");
        FAIL() << "no error";
    } catch (const RangeError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cloud cover N (EditN): \"10\" is outside the range 0 to 8 octas");
    }
    main().ctl("EditN").text = "0";
    app->presettings().ctl("EditAlbHum").text = "1.2";
    EXPECT_THROW(main().click("ButtonNeu"), RangeError);
}

TEST_F(DataRunTest, MissingValueGivesAMissingRowAndTheRunGoesOn) {
    useData("20.0 50 1.0\n9999 50 1.0\n22.0 9999 1.0\n24.0 50 9999\n", {"Ta", "RH", "v"});
    main().click("ButtonNeu");
    ASSERT_EQ(table().size(), kFirstRow + 4);
    for (std::size_t line : {6u, 7u, 8u}) {
        SCOPED_TRACE(line);
        for (const char* name : {"Gmax", "Gact", "Sact", "Dact", "A", "E", "Ts", "Tmrt", "PMV",
                                 "PET", "SET*", "UTCI", "PT"})
            EXPECT_EQ(cell(line, name), "9999.0") << name;
    }
    EXPECT_NE(cell(5, "PET"), "9999.0");
    EXPECT_EQ(cell(6, "Ta"), "9999.0");
    EXPECT_EQ(cell(7, "VP"), "9999.0");  // no RH: VP cannot be derived
}

TEST_F(DataRunTest, UnreadableLineEndsTheRunNamingLineAndColumn) {
    useData("1.7.2025 12:00 25\n1.7.2025 13:00\n1.7.2025 14:00 27\n", {"date", "time", "Ta"});
    try {
        main().click("ButtonNeu");
        FAIL() << "no error";
    } catch (const DataFileError& e) {
        EXPECT_EQ(e.line(), 2);
        EXPECT_NE(std::string(e.what()).find("line 2: 2 fields where the checked columns need 3"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_EQ(table().size(), kFirstRow + 1);  // the row before stays
    EXPECT_FALSE(host.busy);

    // the same with "Output in file": the file keeps the header and the first row
    app->registry().set("FormWerte.ChkInDatei", "1");
    host.saveAnswers.push_back(path("out.txt"));
    EXPECT_THROW(main().click("ButtonNeu"), DataFileError);
    auto lines = SplitLines(readFile("out.txt"));
    ASSERT_EQ(lines.size(), kFirstRow + 1);
    EXPECT_EQ(Fields(lines.back())[2], "12:00");

    // over blocks that are computed while the next is read: every row before the line stays
    std::string longer;
    for (int i = 0; i < 600; ++i)
        longer += std::to_string(1 + i / 24) + ".7.2025 " + std::to_string(i % 24) + ":00" +
                  (i == 549 ? "\n" : " 25\n");
    useData(longer, {"date", "time", "Ta"});
    app->registry().set("FormWerte.ChkInDatei", "0");
    EXPECT_THROW(main().click("ButtonNeu"), DataFileError);
    ASSERT_EQ(table().size(), kFirstRow + 549);
    EXPECT_EQ(Fields(table().back())[0], "23.7.2025 ");
    EXPECT_EQ(Fields(table().back())[2], "20:00");

    // labels without "Skip first row" are reported the same way
    useData("Ta RH\n20 50\n", {"Ta", "RH"});
    app->registry().set("FormWerte.ChkInDatei", "0");
    EXPECT_THROW(main().click("ButtonNeu"), DataFileError);
    EXPECT_EQ(table().size(), kFirstRow);
}

TEST_F(DataRunTest, OutputFileStreamsRowsAndDetails) {
    std::string content;
    for (int h = 0; h < 24; ++h)
        content += "2.7.2025\t" + std::to_string(h) + ":00\t" + std::to_string(18 + h % 10) +
                   "\t55\t1.0\n";
    useData(content, {"date", "time", "Ta", "RH", "v"});
    app->registry().set("FormWerte.ChkInDatei", "1");
    app->registry().set("PETMEMI1", "1");
    host.saveAnswers.push_back(path("out.txt"));
    main().click("ButtonNeu");
    // rows go to the file only; the text view holds just the header
    EXPECT_EQ(table().size(), kFirstRow);
    auto lines = SplitLines(readFile("out.txt"));
    ASSERT_EQ(lines.size(), kFirstRow + 24);
    EXPECT_EQ(Fields(lines[kFirstRow + 23])[2], "23:00");
    auto detail = SplitLines(readFile("memi_out.txt"));
    ASSERT_EQ(detail.size(), 2u + 24);
    EXPECT_EQ(Fields(detail[2])[0], "2.7.2025 ");
    main().click("ButtonHinzu");
    EXPECT_EQ(SplitLines(readFile("out.txt")).size(), kFirstRow + 48);
    EXPECT_EQ(SplitLines(readFile("memi_out.txt")).size(), 2u + 48);
}

// Rows are computed in blocks over the threads and written in order: the same table and
// details with one thread and with two, over block boundaries, with missing and refused rows
// between (a PET that reads its state, a row that shows the turbidity of the one before).
TEST_F(DataRunTest, TheTableDoesNotDependOnTheThreadCount) {
    std::string content;
    for (int i = 0; i < 600; ++i) {
        const int day = 1 + i / 24, h = i % 24;
        std::string ta = std::to_string(-5 + (i * 7) % 40), rh = std::to_string(20 + (i * 13) % 80);
        if (i % 97 == 5) ta = "9999";  // missing
        if (i % 89 == 7) rh = "150";   // outside its range
        content += std::to_string(day) + ".6.2025\t" + std::to_string(h) + ":30\t" + ta + "\t" +
                   rh + "\t" + std::to_string(0.2 + (i % 9)) + "\t" +
                   std::to_string(i % 3 ? 0.9 : 0.4) + "\n";
    }
    useData(content, {"date", "time", "Ta", "RH", "v", "clo"});
    app->registry().set("PETMEMI1", "1");
    app->registry().set("mPETYCC1", "1");
    app->registry().set("LTF1", "1");
    std::vector<std::string> tables[2], details[2];
    for (unsigned threads : {1u, 2u}) {
        main().setThreads(threads);
        main().click("ButtonNeu");
        tables[threads - 1] = table();
        details[threads - 1] = app->detailTable().lines();
    }
    ASSERT_EQ(tables[0].size(), kFirstRow + 600);
    EXPECT_EQ(tables[0], tables[1]);
    EXPECT_EQ(details[0], details[1]);
}

TEST_F(DataRunTest, DatesAreWrittenInTheOutputFormat) {
    useData("21/06/26;12.30;20\n", {"date", "time", "Ta"});
    app->registry().set("ComboFileSep", ";");
    app->registry().set("EditIDate", "dd/mm/yy");
    app->registry().set("EditITime", "hh.mm");
    app->registry().set("EditODate", "yyyy-mm-dd");
    main().click("ButtonNeu");
    EXPECT_EQ(Fields(table()[4])[0], "yyyy-mm-dd   ");
    EXPECT_EQ(cell(5, "date      "), "2026-06-21 ");
    EXPECT_EQ(cell(5, "time"), "12:30");
    EXPECT_EQ(cell(5, "day of"), "172");
    // the reading formats never become the program's formats
    EXPECT_EQ(app->format().longTimeFormat, "h:mm");
    EXPECT_EQ(app->format().dateSeparator, '-');
}

TEST_F(DataRunTest, DayOfYearWithoutDateGivesTheDateOfTheCurrentYear) {
    useData("172 12:00\n1 12:00\n", {"doy", "time"});
    main().click("ButtonNeu");
    EXPECT_EQ(cell(5, "date      "), "21.6.2026 ");
    EXPECT_EQ(cell(6, "date      "), "1.1.2026 ");
    EXPECT_EQ(cell(6, "day of"), "1");
}

TEST_F(DataRunTest, TurbidityAlbedoAndBowenColumnsReachTheirRowAndStay) {
    useData("12:00 2.0 0.10 0.5\n12:00 6.0 0.40 3.0\n", {"time", "LTF", "albedo", "bowen"});
    app->registry().set("LTF1", "1");
    app->registry().set("Albedo1", "1");
    app->registry().set("Bowen1", "1");
    main().click("ButtonNeu");
    EXPECT_EQ(cell(5, "LTF"), "2.0");
    EXPECT_EQ(cell(6, "LTF"), "6.0");
    EXPECT_EQ(cell(5, "Albedo"), "0.1");
    EXPECT_EQ(cell(6, "Albedo"), "0.4");
    EXPECT_EQ(cell(5, "Bowen"), "0.5");
    EXPECT_EQ(cell(6, "Bowen"), "3.0");
    // a clearer sky lets more through
    EXPECT_GT(std::stof(cell(5, "Gmax")), std::stof(cell(6, "Gmax")));
    // after the run the pre-settings keep the last values and show them
    const PresettingsModel& pre = app->presettings();
    EXPECT_EQ(pre.turbidity, 6.0f);
    EXPECT_EQ(pre.text("EditTrb"), "6.00");
    EXPECT_EQ(pre.text("EditAlbedo"), "0.40");
    EXPECT_EQ(pre.text("EditBowen"), "3.00");
}

TEST_F(DataRunTest, HorizonColumnGivesTheRowItsSkyViewFactorAndSunTest) {
    // row 1 free; row 2 45° all round, hiding the low morning sun but not the noon sun;
    // row 3 90° all round: no sun at all
    std::string free, half, wall;
    for (int k = 0; k < 12; ++k) {
        free += " 0";
        half += " 45";
        wall += " 90";
    }
    useData("172 7:00" + free + "\n172 7:00" + half + "\n172 12:30" + half + "\n172 12:30" + wall +
                "\n",
            {"doy", "time", "horizon"});
    app->registry().set("SVFcos1", "1");
    main().click("ButtonNeu");
    ASSERT_EQ(table().size(), kFirstRow + 4);
    EXPECT_EQ(cell(5, "SVF_Umb"), "1.000");
    EXPECT_EQ(cell(6, "SVF_Umb"), fixed(1 - std::sqrt(0.5), 6, 3));
    EXPECT_EQ(cell(6, "SVF_cos"), "0.500");
    EXPECT_EQ(cell(8, "SVF_Umb"), "0.000");
    EXPECT_NE(cell(5, "Sact"), "0.0");
    EXPECT_EQ(cell(6, "Sact"), "0.0");  // elevation about 21° below the 45° horizon
    EXPECT_NE(cell(7, "Sact"), "0.0");  // elevation about 65°
    EXPECT_EQ(cell(8, "Sact"), "0.0");
    // the day's sunshine: all day free; above 45° only around noon; never behind a wall
    const int freeDay = std::stoi(cell(5, "SDact"));
    const int halfDay = std::stoi(cell(6, "SDact"));
    EXPECT_EQ(cell(7, "SDact"), cell(6, "SDact"));
    // a flat profile counts the minutes of a free horizon image
    EXPECT_EQ(freeDay, SunshineCounter().count(172, 7.85f, 48.0f, 1.0f, Raster(481, 481)));
    EXPECT_GT(halfDay, 300);
    EXPECT_LT(halfDay, 600);
    EXPECT_EQ(cell(8, "SDact"), "0");
    // after the run the image of "&New" counts again
    useData("172 7:00\n", {"doy", "time"}, "plain.txt");
    main().click("ButtonNeu");
    EXPECT_EQ(cell(5, "SVF_Umb"), "1.000");
}

}  // namespace
}  // namespace umbrix::test

// The output table: header lines, name and unit lines, row values, detail lines and files.
#include "models/TableWriter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/Error.h"
#include "platform/Format.h"
#include "solar/SunPosition.h"
#include "support/AppFixture.h"
#include "umbrix/engine.h"

namespace umbrix::test {
namespace {

TableContext context(Language language = Language::English) {
    TableContext cx;
    cx.vocabulary = &HeaderVocabulary(language);
    cx.dateUnit = "d.m.yyyy";
    cx.timeUnit = "h:mm";
    cx.locationName = "Freiburg";
    cx.longitudeText = "7\u00b051'";
    cx.latitudeText = "48\u00b00'";
    cx.timeZoneText = "1.0";
    cx.timeZone = 1;
    return cx;
}

std::vector<std::string> header(const TableContext& cx) {
    std::vector<std::string> lines;
    TableSink sink;
    sink.memory = &lines;
    WriteTableHeader(cx, sink);
    return lines;
}

std::string row(const TableContext& cx, const CalculationInputs& in, const CalculationResults& r) {
    std::vector<std::string> lines;
    TableSink sink;
    sink.memory = &lines;
    WriteTableRow(cx, in, r, sink);
    return lines.at(0);
}

TEST(TableHeader, LocationLinesAndTimeZoneSign) {
    TableContext cx = context();
    cx.svf = 0.873f;
    auto lines = header(cx);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Umbrix 0.1.0");
    EXPECT_EQ(lines[2], "place: \tFreiburg");
    EXPECT_EQ(lines[3],
              "geogr. longitude: \t7\u00b051'\tlatitude: \t48\u00b00'\ttimezone: UTC \t+1.0 h");
    EXPECT_EQ(lines[4], "horizon limitation: \t12.7% \tsky view factor (Umbrix): \t0.873");
    EXPECT_EQ(lines[5], "");
    cx.timeZone = -5;
    cx.timeZoneText = "-5.0";
    EXPECT_EQ(header(cx)[3].substr(header(cx)[3].rfind('\t')), "\t-5.0 h");
    cx.timeZone = 0;
    cx.timeZoneText = "0.0";
    EXPECT_EQ(header(cx)[3].substr(header(cx)[3].rfind('\t')), "\t+0.0 h");
}

TEST(TableHeader, LongNamesAreCutToFortyCharactersAndDataFilesDropTheLocation) {
    TableContext cx = context();
    cx.locationName = std::string(39, 'x') + "\u00e4\u00f6\u00fc";  // 42 characters
    EXPECT_EQ(header(cx)[2], "place: \t" + std::string(39, 'x') + "\u00e4");
    cx.dataFileActive = true, cx.locationLines = false;
    auto lines = header(cx);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], "");
}

TEST(TableColumns, AllItemsOffGiveEmptyNameUnitAndRowLines) {
    TableContext cx = context();
    TableLayout& l = cx.layout;
    l = TableLayout{};
    for (bool* b :
         {&l.enumTag,     &l.date, &l.dayOfYear, &l.time,   &l.sunrise, &l.sunset,      &l.sdMax,
          &l.sdAct,       &l.svf,  &l.global,    &l.direct, &l.diffuse, &l.atmospheric, &l.thermal,
          &l.surfaceTemp, &l.ta,   &l.vp,        &l.rh,     &l.v,       &l.n,           &l.tmrt,
          &l.pmv,         &l.pet,  &l.setStar,   &l.utci,   &l.pt,      &l.mpet})
        *b = false;
    auto lines = header(cx);
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(row(cx, {}, {}), "");
}

TEST(TableColumns, PersonalColumnsFollowThePersonalIndicesOnly) {
    TableContext cx = context();
    cx.layout.pmv = cx.layout.pet = cx.layout.setStar = cx.layout.mpet = false;
    EXPECT_EQ(header(cx)[6].find("height"), std::string::npos);  // UTCI and PT only
    cx.layout.utci = cx.layout.pt = false;
    cx.layout.setStar = true;
    EXPECT_NE(header(cx)[6].find("height\tweight\tage\tsex\tcloth.\tactiv.\tSET*\t"),
              std::string::npos);
}

TEST(TableColumns, EveryColumnWithItsNameUnitAndValue) {
    TableContext cx = context();
    TableLayout& l = cx.layout;
    l.enumTag = l.latitude = l.longitude = l.altitude = l.timeZone = true;
    l.elevation = l.azimuth = l.svfCos = l.ltf = l.albedo = l.bowen = true;
    cx.albedo = 0.2f;
    cx.bowen = 1.0f;
    CalculationInputs in;
    in.dateText = "21.6.2026";
    in.dayOfYear = 172;
    in.hours = 12.0f + 29.0f / 60 + 45.0f / 3600;  // 12:29:45 is written 12:30
    in.latitude = 48.0f;
    in.longitude = 7.85f;
    in.altitude = 278;
    in.timeZone = 1.0f;
    in.height = 1.75f;  // one decimal: 1.8
    in.clothing = 0.9f;
    CalculationResults r;
    r.rowCounter = 3;
    r.sunrise = 5.0f + 40.0f / 60;
    r.sunset = 20.0f + 10.0f / 60;
    r.SDmax = 870;
    r.SDact = 812;
    r.Z = 25.04f;
    r.azimuth = 180.0f;
    r.SVF_Umb = 0.8734f;
    r.SVF_cos = 0.9f;
    r.turbidity = 4.25f;
    r.G0 = 890.64f;
    r.Tmrt = 51.94f;
    r.PET = 38.06f;
    r.UTCI = 9999.0f;
    auto names = Fields(header(cx)[6]);
    auto units = Fields(header(cx)[7]);
    auto values = Fields(row(cx, in, r));
    ASSERT_EQ(names.size(), 44u);
    ASSERT_EQ(units.size(), names.size());
    ASSERT_EQ(values.size(), names.size());
    struct Expect {
        int column;
        const char* name;
        const char* unit;
        const char* value;
    } expected[] = {
        {0, "Enum.", "/tag", "3"},
        {1, "date      ", "d.m.yyyy   ", "21.6.2026 "},
        {2, "day of", "year", "172"},
        {3, "time", "h:mm", "12:30"},
        {4, "Latit.", "\u00b0N", "48.00"},
        {5, "Long.", "\u00b0E", "7.85"},
        {6, "Altit.", "m", "278"},
        {7, "UTC", "h", "1.0"},
        {8, "sunr.", "h:mm", "5:40"},
        {9, "sunset", "h:mm", "20:10"},
        {10, "SDmax", "min", "870"},
        {11, "SDact", "min", "812"},
        {12, "elev.", "\u00b0", "65.0"},
        {13, "azim.", "\u00b0", "180.0"},
        {14, "SVF_Umb", "", "0.873"},
        {15, "SVF_cos", "", "0.900"},
        {16, "LTF", "", "4.3"},
        {17, "Albedo", "", "0.2"},
        {18, "Bowen", "", "1.0"},
        {19, "Gmax", "W/m\u00b2", "890.6"},
        {20, "Gact", "W/m\u00b2", "0.0"},
        {25, "Ts", "\u00b0C", "0.0"},
        {31, "Tmrt", "\u00b0C", "51.9"},
        {32, "height", "m", "1.8"},
        {35, "sex", "", "m"},
        {36, "cloth.", "clo", "0.90"},
        {39, "PET", "\u00b0C", "38.1"},
        {41, "UTCI", "\u00b0C", "9999.0"},
        {43, "mPET", "\u00b0C", "0.0"},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.column);
        EXPECT_EQ(names[e.column], e.name);
        EXPECT_EQ(units[e.column], e.unit);
        EXPECT_EQ(values[e.column], e.value);
    }
}

TEST(TableColumns, DailyDataReplacesTheRadiationColumns) {
    TableContext cx = context();
    cx.layout.mode = TableMode::DailyData;
    EXPECT_EQ(header(cx)[6],
              "date      \tday of\tsunr.\tsunset\tSDmax\tSDact\tGmaxMax\tGactMax\tGmaxSum\t"
              "GactSum\tGmaxAvr\tGactAvr\t");
    EXPECT_EQ(header(cx)[7],
              "d.m.yyyy   \tyear\th:mm\th:mm\tmin\tmin\tW/m\u00b2\tW/m\u00b2\tWh/m\u00b2\tWh/"
              "m\u00b2\tW/m\u00b2\tW/m\u00b2\t");
}

TEST(TableColumns, GermanVocabulary) {
    TableContext cx = context(Language::German);
    auto lines = header(cx);
    EXPECT_EQ(lines[2], "Standort: \tFreiburg");
    EXPECT_EQ(lines[6].substr(0, 41), "Datum     \tTag d.\tZeit\tSA\tSU\tSDmax\tSDtat\t");
    EXPECT_EQ(Fields(lines[7])[1], "Jahres");
}

TEST(SunshineDuration, MaximumFromSunriseAndSunset) {
    EXPECT_EQ(MaxSunshineMinutes(5.0f + 40.0f / 60, 20.0f + 10.0f / 60, 0.3), 870);
    // sunset after midnight in local time
    EXPECT_EQ(MaxSunshineMinutes(6.0f, 1.0f, 0.3), 1140);
    EXPECT_EQ(MaxSunshineMinutes(0.0f, 0.0f, 1.04), 1440);
    EXPECT_EQ(MaxSunshineMinutes(0.0f, 0.0f, -1.2), 0);
}

// Days without sunrise or sunset (the engine's day), decided by the sunrise argument with
// refraction, in both hemispheres and inside the band where refraction alone keeps the sun up.
TEST(SunshineDuration, PolarDaysAndNightsInTheTable) {
    struct Case {
        int day;
        float latitude;
        const char* sunrise;
        const char* sunDuration;
    } cases[] = {
        {172, 80.0f, "---", "1440"},
        {355, 80.0f, "---", "0"},
        {172, -80.0f, "---", "0"},
        {355, -80.0f, "---", "1440"},
        {172, 66.5f, "---", "1440"},  // x about 1.04: the sun does
                                      // not set
        {172, 66.0f, "---", "1440"},  // sets without refraction, not with it
        {355, -66.0f, "---", "1440"},
        {172, 60.0f, nullptr, nullptr},
    };
    TableContext cx = context();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.day << " " << c.latitude);
        CalculationInputs in;
        in.dayOfYear = c.day;
        in.latitude = c.latitude;
        CalculationResults r;
        const SunDay day = ComputeSunDay({0, c.latitude, 0, 0, ""}, c.day, Horizon());
        r.sunrise = day.sunrise;
        r.sunset = day.sunset;
        r.SDmax = day.SDmax;
        auto v = Fields(row(cx, in, r));
        if (!c.sunrise) {
            EXPECT_NE(v[3], "---");
            EXPECT_GT(std::stoi(v[5]), 1000);
            EXPECT_LT(std::stoi(v[5]), 1440);
            continue;
        }
        EXPECT_EQ(v[3], c.sunrise);
        EXPECT_EQ(v[4], c.sunrise);
        EXPECT_EQ(v[5], c.sunDuration);
    }
}

TEST(TableTime, RoundedToTheMinute) {
    FormatSettings fs;
    EXPECT_EQ(RoundedTimeText(fs, 12.0 + 29.0 / 60 + 45.0 / 3600), "12:30");
    EXPECT_EQ(RoundedTimeText(fs, 12.0 + 29.0 / 60 + 29.0 / 3600), "12:29");
    EXPECT_EQ(RoundedTimeText(fs, 23.0 + 59.0 / 60 + 45.0 / 3600), "0:00");
}

TEST(DetailTable, NameUnitAndRowLines) {
    TableContext cx = context();
    cx.layout.petDetail = true;
    auto lines = header(cx);
    ASSERT_EQ(lines.size(), 8u);  // the detail lines go to the detail window only
    std::vector<std::string> detail;
    TableSink sink;
    sink.detailMemory = &detail;
    WriteTableHeader(cx, sink);
    CalculationInputs in;
    in.dateText = "21.6.2026";
    in.dayOfYear = 172;
    in.hours = 12;
    CalculationResults r;
    r.Tc = 37.25f;
    r.PET = 38.06f;
    WriteTableRow(cx, in, r, sink);
    ASSERT_EQ(detail.size(), 3u);
    EXPECT_EQ(detail[0],
              "date      \tday of\ttime\tTa\tVP\tv\tC\tTmrt\theight\tweight\tage\tsex\tcloth.\t"
              "activ.\tTc\tTsk\tWL\tSWt\tH\tRnb\tC\tEvpd\tEsw\tPET");
    EXPECT_EQ(detail[1],
              "dd.mm.yyyy\tyear\th:mm\t\u00b0C\thPa\tm/s\toctas\t\u00b0C\tm\tkg\ta\t\tclo\tW\t"
              "\u00b0C\t\u00b0C\tg/h\t\tW\tW\tW\tW\tW\t\u00b0C");
    auto values = Fields(detail[2]);
    EXPECT_EQ(detail[2].substr(0, 15), "21.6.2026 \t172\t");
    EXPECT_EQ(values.size(), 24u);
    EXPECT_EQ(values[14], "37.3");
    EXPECT_EQ(values[23], "38.1");
    EXPECT_NE(detail[2].back(), '\t');

    cx.layout.petDetail = false;
    cx.layout.mpetDetail = true;
    detail.clear();
    WriteTableHeader(cx, sink);
    WriteTableRow(cx, in, r, sink);
    EXPECT_EQ(Fields(detail[0]).size(), 14u + 18u);
    EXPECT_EQ(Fields(detail[0]).back(), "mPET");
    auto units = Fields(detail[1]);
    EXPECT_EQ(units[14 + 8], "-");
    EXPECT_EQ(units[14 + 9], "g/h");
    EXPECT_EQ(units.back(), "\u00b0C");
    EXPECT_EQ(Fields(detail[2]).size(), 14u + 18u);
}

TEST(DetailTable, FileNames) {
    EXPECT_EQ(DetailFilePath("out/t.txt", true, false), "out/memi_t.txt");
    EXPECT_EQ(DetailFilePath("out/t.txt", false, true), "out/mPET_model_t.txt");
    EXPECT_EQ(DetailFilePath("out/t.txt", true, true), "out/memi_mPET_model_t.txt");
    EXPECT_EQ(DetailFilePath("t.txt", true, false), "memi_t.txt");
    EXPECT_EQ(DetailFilePath("out/t.txt", false, false), "");
}

TEST(TableSinkFiles, UnwritableFileIsReported) {
    TableSink sink;
    EXPECT_THROW(sink.openFiles("/nonexistent-dir/t.txt", "", false), FileError);
}

}  // namespace
}  // namespace umbrix::test

namespace umbrix::test {
namespace {

// The class columns stand beside their index and classify the value as printed.
TEST(TableColumns, StressClassesBesideTheirIndex) {
    TableContext cx = context();
    TableLayout& l = cx.layout;
    l = TableLayout{};
    for (bool* off : {&l.date,    &l.dayOfYear,   &l.time,   &l.sunrise, &l.sunset,  &l.sdMax,
                      &l.sdAct,   &l.svf,         &l.global, &l.direct,  &l.diffuse, &l.atmospheric,
                      &l.thermal, &l.surfaceTemp, &l.ta,     &l.vp,      &l.rh,      &l.v,
                      &l.n,       &l.tmrt,        &l.pet,    &l.setStar, &l.pt,      &l.mpet})
        *off = false;
    l.utciClass = l.pmvClass = true;
    CalculationInputs in;
    CalculationResults r;
    struct Case {
        float utci, pmv;
        bool german;
        const char* line;
    } cases[] = {
        {26.04f, 0.0f, false, "0.0\tneutral\t5.0\t26.0\tno thermal stress\t"},
        {26.06f, -0.54f, false, "-0.5\tslightly cool\t10.2\t26.1\tmoderate heat stress\t"},
        {NAN, 3.7f, false, "3.7\thot\t100.0\t9999.0\t---\t"},
        {-13.0f, -1.0f, true, "-1.0\tetwas kühl\t26.1\t-13.0\tstarker Kältestress\t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        cx.german = c.german;
        r.UTCI = c.utci, r.PMV = c.pmv;
        const std::string line = row(cx, in, r);
        // the personal columns come first
        EXPECT_EQ(line.substr(line.size() - std::string(c.line).size()), c.line);
    }
    auto names = header(cx)[6];
    EXPECT_NE(names.find("PMV-Klasse\tPPD\t"), std::string::npos) << names;
}

}  // namespace
}  // namespace umbrix::test

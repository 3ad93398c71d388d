// The data-file reader: fields and separators, one record per line, the input formats, the
// missing values, the horizon block, and what it reports for lines it cannot read.
#include "series/DataFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

#include "horizon/HorizonProfile.h"
#include "support/TempDir.h"

namespace umbrix::test {
namespace {

using C = DataColumn;

class DataFileTest : public ::testing::Test {
  protected:
    DataFileSettings settings(std::vector<DataColumn> columns, const std::string& content,
                              char separator = '\t') {
        std::ofstream(dir.file("data.txt"), std::ios::binary) << content;
        DataFileSettings s;
        s.path = dir.file("data.txt");
        s.columns = std::move(columns);
        s.fieldSeparator = separator;
        s.currentYear = 2026;
        return s;
    }
    std::vector<DataRecord> readAll(const DataFileSettings& s) {
        DataFileReader reader(s);
        std::vector<DataRecord> out;
        while (!reader.atEnd()) out.push_back(reader.next());
        return out;
    }
    // The error of the first record that cannot be read.
    DataFileError firstError(const DataFileSettings& s) {
        DataFileReader reader(s);
        try {
            while (!reader.atEnd()) reader.next();
        } catch (const DataFileError& e) {
            return e;
        }
        ADD_FAILURE() << "every record was read";
        return DataFileError(0, "", "", "");
    }
    TempDir dir;
};

TEST_F(DataFileTest, SeparatorsAndEmptyFields) {
    const float m = 9999.0f;
    struct Case {
        const char* line;
        char separator;
        float ta, rh, v;
    } cases[] = {
        {"20.5\t40\t1.5", '\t', 20.5f, 40, 1.5f},
        {"20.5   40 \t 1.5", '\t', 20.5f, 40, 1.5f},  // runs of blanks count once
        {"20.5\t\t1.5", '\t', 20.5f, m, 1.5f},        // empty field between two tabs
        {"20.5,40,1.5", ',', 20.5f, 40, 1.5f},
        {"20.5, 40 ,1.5", ',', 20.5f, 40, 1.5f},
        {"20.5,,1.5", ',', 20.5f, m, 1.5f},  // empty CSV field: missing
        {",40,1.5", ',', m, 40, 1.5f},
        {"20.5,40,", ',', 20.5f, 40, m},         // empty last field
        {"20.5,40,1.5,", ',', 20.5f, 40, 1.5f},  // one trailing separator is allowed
        {"20,5;40;1,5", ';', 20.5f, 40, 1.5f},   // decimal comma where "," is no separator
        {"20.5|40|1.5\r", '|', 20.5f, 40, 1.5f},
        {"20.5 40 1.5", ';', 20.5f, 40, 1.5f},  // a space always ends a field
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        auto recs =
            readAll(settings({C::Ta, C::RH, C::V}, std::string(c.line) + "\n", c.separator));
        ASSERT_EQ(recs.size(), 1u);
        EXPECT_EQ(recs[0][C::Ta], c.ta);
        EXPECT_EQ(recs[0][C::RH], c.rh);
        EXPECT_EQ(recs[0][C::V], c.v);
    }
}

TEST_F(DataFileTest, WrongFieldCountNamesTheLine) {
    struct Case {
        const char* content;
        int line;
        const char* message;
    } cases[] = {
        {"20\t40\t1\n21\t41\n22\t42\t2\n", 2, "line 2: 2 fields where the checked columns need 3"},
        {"20\t40\t1\n\n21\t41\t1\t5\n", 3, "line 3: 4 fields where the checked columns need 3"},
        {"20,40,1\n21,,\n22,,,,\n", 3, "line 3: 5 fields"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        char sep = std::string(c.content).find(',') != std::string::npos ? ',' : '\t';
        DataFileSettings s = settings({C::Ta, C::RH, C::V}, c.content, sep);
        DataFileError e = firstError(s);
        EXPECT_EQ(e.line(), c.line);
        EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("data.txt"), std::string::npos);
    }
}

TEST_F(DataFileTest, LabelsLineSkippedOrReported) {
    const std::string content = "date\ttime\tTa\n21.6.2026\t12:00\t25.0\n";
    DataFileSettings s = settings({C::Date, C::Time, C::Ta}, content);
    s.skipFirstRow = true;
    auto recs = readAll(s);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].line, 2);
    EXPECT_EQ(*recs[0].date, (Date{2026, 6, 21}));
    EXPECT_EQ(recs[0].dayOfYear, 172);

    s.skipFirstRow = false;
    DataFileError e = firstError(s);
    EXPECT_EQ(e.line(), 1);
    EXPECT_EQ(e.field(), "date");
    EXPECT_EQ(e.text(), "date");
    EXPECT_NE(std::string(e.what()).find("line 1, column 1 (date): cannot read \"date\""),
              std::string::npos)
        << e.what();
}

TEST_F(DataFileTest, TimesAndDates) {
    DataFileSettings s = settings({C::Date, C::Time},
                                  "21.6.2026 24:00\n"
                                  "21.6.2026 24:30\n"
                                  "21.6.2026 2400\n"
                                  "1.1.26 9999\n"
                                  "29.2.2028 7:05\n");
    auto recs = readAll(s);
    ASSERT_EQ(recs.size(), 5u);
    EXPECT_EQ(recs[0].hours, 0.0f);  // midnight of the same date
    EXPECT_EQ(*recs[0].date, (Date{2026, 6, 21}));
    // whatever follows "24" is dropped, as the main window's time field does
    EXPECT_EQ(recs[1].hours, 0.0f);
    EXPECT_EQ(recs[2].hours, 0.0f);
    EXPECT_EQ(*recs[3].date, (Date{2026, 1, 1}));  // two-digit year
    EXPECT_EQ(recs[3].hours, 0.0f);                // missing time: midnight
    EXPECT_EQ(recs[4].dayOfYear, 60);
    EXPECT_FLOAT_EQ(recs[4].hours, 7.0f + 5.0f / 60.0f);

    // German letters and other separators; a date separator that is a blank
    s = settings({C::Date, C::Time, C::Ta}, "21/06/2026\t14.30\t20\n", '\t');
    s.dateFormat = "TT/MM/JJJJ";
    s.timeFormat = "hh.mm";
    recs = readAll(s);
    EXPECT_EQ(*recs[0].date, (Date{2026, 6, 21}));
    EXPECT_FLOAT_EQ(recs[0].hours, 14.5f);
    s = settings({C::Date, C::Time, C::Ta}, "21 6 2026 12:00 20\n");
    s.dateFormat = "d m yyyy";
    recs = readAll(s);
    EXPECT_EQ(*recs[0].date, (Date{2026, 6, 21}));
    EXPECT_EQ(recs[0][C::Ta], 20.0f);
}

TEST_F(DataFileTest, DateEqualToTheMissingValueTextIsNotADate) {
    DataFileSettings s = settings({C::Date, C::Ta}, "21.6.2026 20\n-99.9 21\n");
    s.missingText = "-99.9";
    s.missingValue = -99.9f;
    DataFileError e = firstError(s);
    EXPECT_EQ(e.line(), 2);
    EXPECT_NE(std::string(e.what()).find("a missing date"), std::string::npos) << e.what();
}

TEST_F(DataFileTest, DayOfYear) {
    auto recs = readAll(settings({C::DayOfYear}, "172.9\n9999\n366\n"));
    EXPECT_EQ(recs[0].dayOfYear, 172);  // truncated
    EXPECT_EQ(recs[1].dayOfYear, 1);    // missing: day 1
    EXPECT_EQ(recs[2].dayOfYear, 366);
    for (const char* bad : {"0", "367", "1e12", "-3"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(firstError(settings({C::DayOfYear}, std::string(bad) + "\n")).line(), 1);
    }
}

TEST_F(DataFileTest, MissingValuesCompareAsStoredFloats) {
    DataFileSettings s = settings({C::Ta, C::RH, C::G, C::Ts, C::Clothing},
                                  "-99.9 50 -5 -99.9 -99.9\n20 -99.9 -99.9 30 0.5\n");
    s.missingText = "-99.9";
    s.missingValue = -99.9f;
    auto recs = readAll(s);
    EXPECT_EQ(recs[0][C::Ta], -99.9f);
    EXPECT_EQ(recs[0][C::G], 0.0f);  // a negative irradiance becomes 0
    // Ts and clothing left to the main window when missing
    EXPECT_FALSE(recs[0].has(C::Ts));
    EXPECT_FALSE(recs[0].has(C::Clothing));
    EXPECT_EQ(recs[1][C::RH], -99.9f);
    EXPECT_EQ(recs[1][C::G], -99.9f);  // the missing G stays and makes the row missing
    EXPECT_EQ(recs[1][C::Ts], 30.0f);
    EXPECT_EQ(recs[1][C::Clothing], 0.5f);
}

TEST_F(DataFileTest, UnreadableValuesNameColumnAndText) {
    DataFileSettings s = settings({C::Date, C::Ta, C::Altitude, C::Longitude},
                                  "1.7.2025 20 278 7.85\n1.7.2025 2O.5 278 7.85\n");
    DataFileError e = firstError(s);
    EXPECT_EQ(e.line(), 2);
    EXPECT_EQ(e.field(), "Ta");
    EXPECT_EQ(e.text(), "2O.5");
    EXPECT_NE(std::string(e.what()).find("column 2 (Ta)"), std::string::npos) << e.what();
    EXPECT_EQ(firstError(settings({C::Altitude}, "278.5\n")).field(), "alt");
    EXPECT_EQ(firstError(settings({C::Longitude}, "east\n")).field(), "lon");
    EXPECT_EQ(firstError(settings({C::Ta}, "1e39\n")).text(), "1e39");  // beyond a float
    auto recs = readAll(settings({C::Longitude, C::Latitude}, "7\u00b051' 48,5\n"));
    EXPECT_NEAR(recs[0].longitude, 7.85f, 1e-5);
    EXPECT_NEAR(recs[0].latitude, 48.5f, 1e-5);
}

TEST_F(DataFileTest, HorizonBlock) {
    DataFileSettings s =
        settings({C::Ta, C::Horizon, C::V}, "20 0 10 20 30 45 60 95 -5 9999 0 0 0 1.5\n");
    auto recs = readAll(s);
    ASSERT_EQ(recs.size(), 1u);
    const HorizonProfile& p = recs[0].horizon;
    EXPECT_EQ(p.increment, 30);
    EXPECT_EQ(p.angles, (std::vector<float>{0, 10, 20, 30, 45, 60, 90, 0, 0, 0, 0, 0}));
    EXPECT_EQ(recs[0][C::V], 1.5f);
    double sum = 0;
    for (float h : p.angles) sum += std::sin(h * std::numbers::pi / 180);
    EXPECT_NEAR(ProfileSkyViewFactor(p),
                1 - sum * (30 * std::numbers::pi / 180) / (2 * std::numbers::pi), 1e-6);
    // too few angles is a short line
    s.horizonIncrement = 15;
    EXPECT_EQ(firstError(s).line(), 1);
}

TEST(HorizonProfile, SectorsAndSunTest) {
    HorizonProfile p{90, {10, 20, 30, 40}};
    struct Case {
        double Z, A;
        bool hidden;
    } cases[] = {
        {70, 45, false},  // elevation 20 above the first sector's 10
        {85, 45, true},   // elevation 5 below it
        {70, 90, false},  // 90° starts the second sector (20°): 20 is not below 20
        {71, 90, true},     {55, 269.9, false},  // third sector (30°)
        {65, 269.9, true},  {60, -90, true},     // -90° is 270°: fourth sector (40°)
        {30, 359.9, false}, {90, 0, true},       // at the horizon
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.A);
        EXPECT_EQ(IsSunHiddenByProfile(p, c.Z, c.A), c.hidden);
    }
    EXPECT_EQ(ProfileAngleAt(p, 90), 20.0f);
    EXPECT_EQ(ProfileAngleAt(p, 89.99), 10.0f);
    EXPECT_EQ(ProfileAngleAt(p, 360), 10.0f);
    // a flat horizon leaves the whole sky; a full obstruction none of it
    EXPECT_FLOAT_EQ(ProfileSkyViewFactor({30, std::vector<float>(12, 0.0f)}), 1.0f);
    EXPECT_NEAR(ProfileSkyViewFactor({30, std::vector<float>(12, 90.0f)}), 0.0f, 1e-6);
    // 45° all round: sin 45° of the solid angle, sin² 45° of the cosine-weighted sky
    EXPECT_NEAR(ProfileSkyViewFactor({10, std::vector<float>(36, 45.0f)}), 1 - std::sqrt(0.5),
                1e-6);
    EXPECT_NEAR(ProfileSkyViewFactorCos({10, std::vector<float>(36, 45.0f)}), 0.5, 1e-6);
}

TEST_F(DataFileTest, LinesAndFiles) {
    // byte order mark, CR LF, lone CR, blank lines and trailing blanks
    auto recs = readAll(settings({C::Ta},
                                 "\xEF\xBB\xBF"
                                 "20\r\n\r\n  \t\n21\r22   \n\n"));
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[1][C::Ta], 21.0f);
    EXPECT_EQ(recs[2].line, 5);
    // an empty file, and one of labels only
    EXPECT_TRUE(DataFileReader(settings({C::Ta}, "")).atEnd());
    DataFileSettings s = settings({C::Ta}, "Ta\n");
    s.skipFirstRow = true;
    EXPECT_TRUE(DataFileReader(s).atEnd());
    // a line longer than the reader holds is reported, not buffered
    s = settings({C::Ta}, "20\n" + std::string(DataFileReader::kMaxLineLength + 10, '1') + "\n");
    EXPECT_EQ(firstError(s).line(), 2);
    {
        // the record before it is still delivered
        DataFileReader reader(s);
        EXPECT_EQ(reader.next()[C::Ta], 20.0f);
        EXPECT_FALSE(reader.atEnd());
        EXPECT_THROW(reader.next(), DataFileError);
    }
    // line numbers of files beyond 2^31 lines
    EXPECT_EQ(DataFileError(std::int64_t(1) << 33, "", "", "").line(), std::int64_t(1) << 33);
    EXPECT_EQ(sizeof(DataRecord::line), 8u);
    s.path = dir.file("missing.txt");
    EXPECT_THROW(DataFileReader{s}, FileError);
    s.path.clear();
    EXPECT_THROW(DataFileReader{s}, FileError);
    // a date column needs a date format with a separator
    s = settings({C::Date}, "21062026\n");
    s.dateFormat = "ddmmyyyy";
    EXPECT_THROW(DataFileReader{s}, UmbrixError);
}

}  // namespace
}  // namespace umbrix::test

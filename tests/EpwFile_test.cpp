#include "series/EpwFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "indices/utciumb.h"
#include "support/TempDir.h"

namespace umbrix {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

const char* const kHeader =
    "LOCATION,M\xfcnchen,BY,DEU,test,108660,48.13,11.57,1.0,520.0\n"
    "DESIGN CONDITIONS,0\n"
    "TYPICAL/EXTREME PERIODS,0\n"
    "GROUND TEMPERATURES,0\n"
    "HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0\n"
    "COMMENTS 1,\"hand-written, for tests\"\n"
    "COMMENTS 2,\n"
    "DATA PERIODS,1,1,Data,Thursday, 2/28,3/ 1\n";

struct Hour {
    int year, month, day, hour;
    std::string Ta = "20.0", RH = "50", p = "100000", G = "0", D = "0", v10 = "2.0", N = "5";
};

// A full data line of 35 fields; the fields not read hold typical values.
std::string DataLine(const Hour& h) {
    std::ostringstream s;
    s << h.year << ',' << h.month << ',' << h.day << ',' << h.hour << ",60,A7A7,"  // 0-5
      << h.Ta << ",10.0," << h.RH << ',' << h.p << ",0,0,300,"                     // 6-12
      << h.G << ",0," << h.D << ",0,0,0,0,180," << h.v10 << ',' << h.N             // 13-22
      << ",5,20.0,77777,9,999999999,0,0.1,0,88,0.2,0,1.0\n";                       // 23-34
    return s.str();
}

class Epw : public ::testing::Test {
  protected:
    std::string write(const std::string& body, const std::string& header = kHeader) {
        const std::string path = dir_.file("w.epw");
        std::ofstream(path, std::ios::binary) << header << body;
        return path;
    }
    std::vector<EpwRecord> readAll(const std::string& path, EpwOptions options = {}) {
        EpwReader reader(path, options);
        std::vector<EpwRecord> records;
        while (!reader.atEnd()) records.push_back(reader.next());
        return records;
    }
    test::TempDir dir_;
};

TEST_F(Epw, ReadsTheSiteAndConvertsEachQuantity) {
    Hour h{2024, 6, 21, 13};
    h.Ta = "25.5", h.RH = "40", h.p = "96000", h.G = "800", h.D = "150", h.v10 = "5.0", h.N = "5";
    EpwReader reader(write(DataLine(h)));
    const EpwSite& site = reader.site();
    EXPECT_EQ(site.city, "M\u00fcnchen");  // a Latin-1 name arrives as UTF-8
    EXPECT_EQ(site.country, "DEU");
    EXPECT_EQ(site.wmo, "108660");
    EXPECT_DOUBLE_EQ(site.latitude, 48.13);
    EXPECT_DOUBLE_EQ(site.longitude, 11.57);
    EXPECT_DOUBLE_EQ(site.timeZone, 1.0);
    EXPECT_DOUBLE_EQ(site.elevation, 520.0);

    const EpwRecord r = reader.next();
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(r.line, 9);
    EXPECT_EQ(r.date, (Date{2024, 6, 21}));
    EXPECT_EQ(r.hour, 13);
    EXPECT_FLOAT_EQ(r.hours, 12.5f);  // the middle of the hour ending at 13:00
    EXPECT_FLOAT_EQ(r.Ta, 25.5f);
    EXPECT_FLOAT_EQ(r.RH, 40.0f);
    EXPECT_FLOAT_EQ(r.p, 960.0f);
    EXPECT_FLOAT_EQ(r.G, 800.0f);
    EXPECT_FLOAT_EQ(r.D, 150.0f);
    EXPECT_FLOAT_EQ(r.v10, 5.0f);
    EXPECT_NEAR(r.v, 5.0 * 0.6805, 5e-4);
    EXPECT_FLOAT_EQ(r.N, 4.0f);  // 5 tenths
}

// The step down from 10 m is the exact inverse of UTCI's step up.
TEST(EpwWind, IsTheInverseOfTheUtciProfile) {
    EXPECT_NEAR(WindAtPersonHeight(1.0), std::log(1.1 / 0.01) / std::log(10 / 0.01), 1e-15);
    for (double v : {0.5, 1.0, 3.7, 17.0})
        EXPECT_NEAR(UtciWind10m(WindAtPersonHeight(v)), v, 1e-12);
}

TEST_F(Epw, MissingCodesAndEmptyFieldsAreMissing) {
    struct Case {
        const char* name;
        std::string Hour::*field;
        const char* text;
        float EpwRecord::*value;
        float expected;
    };
    const Case cases[] = {
        {"dry bulb code", &Hour::Ta, "99.9", &EpwRecord::Ta, kNaN},
        {"dry bulb empty", &Hour::Ta, "", &EpwRecord::Ta, kNaN},
        {"dry bulb just below", &Hour::Ta, "-40.5", &EpwRecord::Ta, -40.5f},
        {"humidity code", &Hour::RH, "999", &EpwRecord::RH, kNaN},
        {"pressure code", &Hour::p, "999999", &EpwRecord::p, kNaN},
        {"global code", &Hour::G, "9999", &EpwRecord::G, kNaN},
        {"global just below", &Hour::G, "9998", &EpwRecord::G, 9998.0f},
        {"diffuse code", &Hour::D, "9999", &EpwRecord::D, kNaN},
        {"wind code", &Hour::v10, "999", &EpwRecord::v, kNaN},
        {"wind code with a point", &Hour::v10, "999.0", &EpwRecord::v10, kNaN},
        {"sky cover code", &Hour::N, "99", &EpwRecord::N, kNaN},
        {"sky cover overcast", &Hour::N, "10", &EpwRecord::N, 8.0f},
    };
    for (const Case& c : cases) {
        Hour h{2023, 1, 1, 1};
        h.*c.field = c.text;
        const EpwRecord r = readAll(write(DataLine(h))).at(0);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(r.*c.value)) << c.name;
        else
            EXPECT_FLOAT_EQ(r.*c.value, c.expected) << c.name;
    }
}

TEST_F(Epw, LeapDayIsKeptDroppedOrRefusedByYear) {
    std::string body;
    for (int d : {28, 29})
        for (int hour : {1, 24}) body += DataLine({2024, 2, d, hour});
    body += DataLine({2024, 3, 1, 1});
    body += "\n";  // a blank last line is no record
    const std::string path = write(body);

    const auto fileYear = readAll(path);
    ASSERT_EQ(fileYear.size(), 5u);
    EXPECT_EQ(fileYear[2].date, (Date{2024, 2, 29}));
    EXPECT_EQ(DayOfYear(fileYear[4].date), 61);

    EpwReader common(path, {EpwTimeStamp::MiddleOfHour, 2023});
    std::vector<EpwRecord> records;
    while (!common.atEnd()) records.push_back(common.next());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(common.droppedLeapDays(), 2);
    EXPECT_EQ(records[2].date, (Date{2023, 3, 1}));
    EXPECT_EQ(records[2].fileYear, 2024);
    EXPECT_EQ(readAll(path, {EpwTimeStamp::MiddleOfHour, 2028}).size(), 5u);

    // 29 February under a common year of the file: refused, naming line and field
    const std::string wrong = write(DataLine({2023, 2, 28, 24}) + DataLine({2023, 2, 29, 1}));
    EpwReader reader(wrong);
    EXPECT_EQ(reader.next().date, (Date{2023, 2, 28}));  // the line before still arrives
    try {
        reader.next();
        ADD_FAILURE() << "29.2.2023 was read";
    } catch (const DataFileError& e) {
        EXPECT_EQ(e.line(), 10);
        EXPECT_NE(std::string(e.what()).find("field 2 (day)"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(reader.atEnd());
}

TEST_F(Epw, TimeStampsAtTheMiddleOrTheEndOfTheHour) {
    const std::string path = write(DataLine({2023, 7, 1, 1}) + DataLine({2023, 7, 1, 24}));
    const auto middle = readAll(path);
    EXPECT_FLOAT_EQ(middle[0].hours, 0.5f);
    EXPECT_FLOAT_EQ(middle[1].hours, 23.5f);
    const auto end = readAll(path, {EpwTimeStamp::EndOfHour, 0});
    EXPECT_FLOAT_EQ(end[0].hours, 1.0f);
    EXPECT_FLOAT_EQ(end[1].hours, 24.0f);
    EXPECT_EQ(end[1].date, (Date{2023, 7, 1}));
    // the run reads 24:00 as a data file does: midnight of the record's own date
    const DataRecord run = ToDataRecord(end[1], 9999.0f);
    EXPECT_FLOAT_EQ(run.hours, 0.0f);
    EXPECT_EQ(run.date, (Date{2023, 7, 1}));
    EXPECT_EQ(run.dayOfYear, 182);
}

TEST(EpwRun, RecordsBecomeDataRecordsWithTheMissingValue) {
    EpwRecord e;
    e.line = 12;
    e.date = {2023, 3, 1};
    e.hours = 9.5f;
    e.Ta = 5.0f, e.RH = kNaN, e.v = 1.5f, e.N = 6.4f, e.G = -3.0f, e.D = kNaN;
    const DataRecord r = ToDataRecord(e, 9999.0f);
    for (DataColumn c : EpwDataColumns()) EXPECT_TRUE(r.has(c)) << ColumnShortName(c);
    EXPECT_FALSE(r.has(DataColumn::VP));
    EXPECT_EQ(r.line, 12);
    EXPECT_EQ(r.dayOfYear, 60);
    EXPECT_FLOAT_EQ(r.hours, 9.5f);
    EXPECT_FLOAT_EQ(r[DataColumn::Ta], 5.0f);
    EXPECT_FLOAT_EQ(r[DataColumn::RH], 9999.0f);
    EXPECT_FLOAT_EQ(r[DataColumn::V], 1.5f);
    EXPECT_FLOAT_EQ(r[DataColumn::N], 6.4f);
    EXPECT_FLOAT_EQ(r[DataColumn::G], 0.0f);  // no negative irradiance
    EXPECT_FLOAT_EQ(r[DataColumn::D], 9999.0f);
}

TEST_F(Epw, UnreadableInputNamesLineAndField) {
    std::string header(kHeader);
    auto withLine = [&header](int n, const std::string& text) {
        std::istringstream in(header);
        std::string out, line;
        for (int i = 1; std::getline(in, line); ++i) out += (i == n ? text : line) + "\n";
        return out;
    };
    Hour fine{2023, 1, 1, 1};
    auto data = [&fine](std::string Hour::*field, const char* text) {
        Hour h = fine;
        h.*field = text;
        return DataLine(h);
    };
    struct Case {
        std::string header, body;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"date time Ta\n1.1.2023 12:00 20\n", "", 1, "where the header line LOCATION stands"},
        {withLine(1, "LOCATION,X,,,,,95.0,8.5,1.0,100"), "", 1, "field 6 (latitude)"},
        {withLine(1, "LOCATION,X,,,,,49.5,east,1.0,100"), "", 1, "field 7 (longitude)"},
        {withLine(1, "LOCATION,X,,,,,49.5,8.5"), "", 1, "8 fields"},
        {withLine(4, "2023,1,1,1,0"), "", 4, "where the header line GROUND TEMPERATURES stands"},
        {header.substr(0, header.find('\n') + 1), "", 2, "ends within the 8 header lines"},
        {withLine(8, "DATA PERIODS,1,4,Data,Sunday, 1/ 1,12/31"), "", 8, "4 records per hour"},
        {header, "2023,1,1,1,0,A7,5.0,1.0,80\n", 9, "9 fields where a data line has 35"},
        {header, DataLine({2023, 13, 1, 1}), 9, "field 1 (month)"},
        {header, DataLine({2023, 4, 31, 1}), 9, "field 2 (day)"},
        {header, DataLine({2023, 1, 1, 0}), 9, "field 3 (hour): cannot read \"0\""},
        {header, DataLine({2023, 1, 1, 25}), 9, "field 3 (hour)"},
        {header, DataLine({0, 1, 1, 1}), 9, "field 0 (year)"},
        {header, data(&Hour::Ta, "2O.5"), 9,
         "field 6 (dry bulb temperature): cannot read \"2O.5\""},
        {header, data(&Hour::v10, "-1e300"), 9,
         "field 21 (wind speed): cannot read \"-1e300\" (out"},
        {header, data(&Hour::N, "-1e39"), 9, "field 22 (total sky cover)"},
        {header, std::string(70000, '7') + "\n", 9, "line 9 is longer than 65536"},
    };
    for (const Case& c : cases) {
        const std::string path = write(c.body, c.header);
        try {
            readAll(path);
            ADD_FAILURE() << "read: " << c.message;
        } catch (const DataFileError& e) {
            EXPECT_EQ(e.line(), c.line) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("EPW file w.epw"), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(EpwReader(dir_.path().string()), FileError);  // a folder is no file
    EXPECT_THROW(EpwReader(write(""), {EpwTimeStamp::MiddleOfHour, 10000}), UmbrixError);
}

// A real test reference year from the shared folder beside the repository, read where it is.
std::filesystem::path MannheimYear() {
    for (std::filesystem::path dir = UMBRIX_SOURCE_DIR; !dir.empty(); dir = dir.parent_path()) {
        const auto file = dir.parent_path() / "shared" / "data" / "weather" / "mannheim.epw";
        if (std::filesystem::exists(file)) return file;
        if (dir == dir.parent_path()) break;
    }
    return {};
}

TEST(EpwMannheim, AYearOfPlausibleHours) {
    const std::filesystem::path file = MannheimYear();
    if (file.empty()) GTEST_SKIP() << "shared/data/weather/mannheim.epw not found";
    EpwReader reader(file.string());
    EXPECT_EQ(reader.site().city, "Mannheim");
    EXPECT_DOUBLE_EQ(reader.site().latitude, 49.52);
    EXPECT_DOUBLE_EQ(reader.site().longitude, 8.55);
    EXPECT_DOUBLE_EQ(reader.site().timeZone, 1.0);
    EXPECT_DOUBLE_EQ(reader.site().elevation, 96.0);

    int count = 0;
    double previous = -1, sumTa = 0, maxG = 0;
    while (!reader.atEnd()) {
        const EpwRecord r = reader.next();
        ++count;
        // one record per hour, in order, each at the middle of its hour
        const double at = double(DateToSerial(r.date)) * 24 + r.hours;
        if (previous >= 0) EXPECT_DOUBLE_EQ(at - previous, 1.0) << "line " << r.line;
        previous = at;
        for (float x : {r.Ta, r.RH, r.p, r.v, r.N, r.G, r.D}) ASSERT_FALSE(std::isnan(x)) << r.line;
        EXPECT_TRUE(r.Ta > -30 && r.Ta < 45) << r.line;
        EXPECT_TRUE(r.RH >= 0 && r.RH <= 100) << r.line;
        EXPECT_TRUE(r.p > 900 && r.p < 1100) << r.line;
        EXPECT_TRUE(r.v >= 0 && r.v < 30) << r.line;
        EXPECT_TRUE(r.N >= 0 && r.N <= 8) << r.line;
        EXPECT_TRUE(r.G >= 0 && r.G < 1100 && r.D >= 0 && r.D <= r.G + 1) << r.line;
        sumTa += r.Ta;
        maxG = std::max(maxG, double(r.G));
    }
    EXPECT_EQ(count, 8760);
    EXPECT_NEAR(sumTa / count, 11.0, 2.5);  // the annual mean of a warm German lowland site
    EXPECT_GT(maxG, 700);
}

}  // namespace
}  // namespace umbrix

#include "series/EpwFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "indices/Utci.h"
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
    EXPECT_EQ(site.city + site.country + site.wmo, "M\u00fcnchenDEU108660");  // Latin-1 read
    EXPECT_EQ(std::vector({site.latitude, site.longitude, site.timeZone, site.elevation}),
              std::vector({48.13, 11.57, 1.0, 520.0}));

    const EpwRecord r = reader.next();
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(r.line, 9);
    EXPECT_EQ(r.date, (Date{2024, 6, 21}));
    EXPECT_EQ(r.hour, 13);
    EXPECT_FLOAT_EQ(r.hours, 12.5f);  // the middle of the hour ending at 13:00
    EXPECT_EQ(std::vector({r.Ta, r.RH, r.p, r.G, r.D, r.v10, r.N}),
              std::vector({25.5f, 40.0f, 960.0f, 800.0f, 150.0f, 5.0f, 4.0f}));  // hPa, octas
    EXPECT_NEAR(r.v, 5.0 * 0.6805, 5e-4);
}

// The step down from 10 m is the exact inverse of UTCI's step up.
TEST(EpwWind, IsTheInverseOfTheUtciProfile) {
    EXPECT_NEAR(WindAtPersonHeight(1.0), std::log(1.1 / 0.01) / std::log(10 / 0.01), 1e-15);
    for (double v : {0.5, 1.0, 3.7, 17.0})
        EXPECT_NEAR(UtciWind10m(WindAtPersonHeight(v)), v, 1e-12);
}

TEST_F(Epw, MissingCodesAndEmptyFieldsAreMissing) {
    Hour codes{2023, 1, 1, 1, "99.9", "999", "999999", "9999", "9999", "999.0", "99"};
    Hour empty{2023, 1, 1, 2, "", "", "", "", "", "", ""};
    for (const EpwRecord& r : readAll(write(DataLine(codes) + DataLine(empty))))
        for (float x : {r.Ta, r.RH, r.p, r.G, r.D, r.v10, r.v, r.N})
            EXPECT_TRUE(std::isnan(x)) << "line " << r.line << ": " << x;
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
    EXPECT_EQ(common.droppedLeapDays(), 2);  // a common run year
    EXPECT_EQ(records[2].date, (Date{2023, 3, 1}));
    EXPECT_EQ(records[2].fileYear, 2024);
    EXPECT_EQ(readAll(path, {EpwTimeStamp::MiddleOfHour, 2028}).size(), 5u);
}

TEST_F(Epw, TimeStampsAtTheMiddleOrTheEndOfTheHour) {
    const std::string path = write(DataLine({2023, 7, 1, 1}) + DataLine({2023, 7, 1, 24}));
    const auto middle = readAll(path), end = readAll(path, {EpwTimeStamp::EndOfHour, 0});
    EXPECT_EQ(std::vector({middle[0].hours, middle[1].hours, end[0].hours, end[1].hours}),
              std::vector({0.5f, 23.5f, 1.0f, 24.0f}));
    // the run reads 24:00 as a data file does: midnight of the record's own date
    const DataRecord run = ToDataRecord(end[1], 9999.0f);
    EXPECT_EQ(run.hours, 0.0f);
    EXPECT_EQ(run.date, (Date{2023, 7, 1}));
}

TEST(EpwRun, RecordsBecomeDataRecordsWithTheMissingValue) {
    EpwRecord e;
    e.line = 12;
    e.date = {2023, 3, 1};
    e.hours = 9.5f;
    e.Ta = 5.0f, e.RH = kNaN, e.v = 1.5f, e.N = 6.4f, e.G = -3.0f, e.D = kNaN;
    const DataRecord r = ToDataRecord(e, 9999.0f);
    EXPECT_EQ(std::count(r.present.begin(), r.present.end(), true), 8);
    EXPECT_EQ(std::vector({r.line, std::int64_t(r.dayOfYear)}),
              std::vector<std::int64_t>({12, 60}));
    std::vector<float> values{r.hours};
    for (DataColumn c : EpwDataColumns())
        if (c != DataColumn::Date && c != DataColumn::Time) values.push_back(r[c]);
    // Ta, RH, v, N, D, G: missing as the default, no negative irradiance
    EXPECT_EQ(values, std::vector({9.5f, 5.0f, 9999.0f, 1.5f, 6.4f, 9999.0f, 0.0f}));
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
        {withLine(1, "LOCATION,X,,,,,49.5,8.5"), "", 1, "8 fields"},
        {withLine(4, "2023,1,1,1,0"), "", 4, "where the header line GROUND TEMPERATURES stands"},
        {header.substr(0, header.find('\n') + 1), "", 2, "ends within the 8 header lines"},
        {withLine(8, "DATA PERIODS,1,4,Data,Sunday, 1/ 1,12/31"), "", 8, "4 records per hour"},
        {header, "2023,1,1,1,0,A7,5.0,1.0,80\n", 9, "9 fields where a data line has 35"},
        {header, DataLine({2023, 4, 31, 1}), 9, "field 2 (day)"},
        {header, DataLine({2023, 2, 29, 1}), 9, "field 2 (day): cannot read \"29\" (29 February"},
        {header, DataLine({2023, 1, 1, 0}), 9, "field 3 (hour): cannot read \"0\""},
        {header, data(&Hour::Ta, "2O.5"), 9,
         "field 6 (dry bulb temperature): cannot read \"2O.5\""},
        {header, data(&Hour::v10, "-1e300"), 9,
         "field 21 (wind speed): cannot read \"-1e300\" (out"},
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
    // the record before an unreadable line still arrives
    EpwReader reader(write(DataLine(fine) + DataLine({2023, 2, 29, 1})));
    EXPECT_EQ(reader.next().line, 9);
    EXPECT_THROW(reader.next(), DataFileError);
    EXPECT_TRUE(reader.atEnd());
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
    const EpwSite& site = reader.site();
    EXPECT_EQ(site.city, "Mannheim");
    EXPECT_EQ(std::vector({site.latitude, site.longitude, site.timeZone, site.elevation}),
              std::vector({49.52, 8.55, 1.0, 96.0}));

    int count = 0;
    double previous = -1, sumTa = 0, maxG = 0;
    while (!reader.atEnd()) {
        const EpwRecord r = reader.next();
        ++count;
        // one record per hour, in order, each at the middle of its hour
        const double at = double(DateToSerial(r.date)) * 24 + r.hours;
        if (previous >= 0) {
            EXPECT_DOUBLE_EQ(at - previous, 1.0) << "line " << r.line;
        }
        previous = at;
        // Ta, RH, p, v, N, G and D within plausible ranges (NaN is not)
        const float low[] = {-30, 0, 900, 0, 0, 0, 0}, high[] = {45, 100, 1100, 30, 8, 1100, 1100};
        const float x[] = {r.Ta, r.RH, r.p, r.v, r.N, r.G, r.D};
        for (int i = 0; i < 7; ++i) ASSERT_TRUE(x[i] >= low[i] && x[i] <= high[i]) << r.line;
        EXPECT_LE(r.D, r.G + 1) << r.line;
        sumTa += r.Ta;
        maxG = std::max(maxG, double(r.G));
    }
    EXPECT_EQ(count, 8760);
    EXPECT_NEAR(sumTa / count, 11.0, 2.5);  // the annual mean of a warm German lowland site
    EXPECT_GT(maxG, 700);
}

}  // namespace
}  // namespace umbrix

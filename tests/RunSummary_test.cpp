#include "series/RunSummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

using namespace umbrix;

namespace {

const double NaN = std::nan("");

SummaryRow Row(int month, double ta, double utci, double pmv = NaN) {
    SummaryRow row;
    row.month = month;
    row[SummaryQuantity::Ta] = ta;
    row[SummaryQuantity::UTCI] = utci;
    row[SummaryQuantity::PMV] = pmv;
    return row;
}

// Four rows in June, two in July, one without a date, one missing row.
RunSummary Example(double hoursPerRow = 1.0) {
    RunSummary s({SummaryQuantity::Ta, SummaryQuantity::UTCI, SummaryQuantity::PMV}, hoursPerRow);
    s.add(Row(6, 20.0, 26.0, 0.5));    // no thermal stress, neutral
    s.add(Row(6, 24.0, 26.1, 0.6));    // moderate heat stress, slightly warm
    s.add(Row(6, 30.0, 33.0, 1.6));    // strong heat stress, warm
    s.add(Row(6, NaN, NaN, NaN));      // a row the run could not compute
    s.add(Row(7, 35.6, 47.0, 3.2));    // extreme heat stress, hot
    s.add(Row(7, -1.0, -41.0, -3.0));  // extreme cold stress, cold
    s.add(Row(0, 10.0, 9.0, -0.5));    // no date: whole run only; slight cold stress, slightly cool
    return s;
}

}  // namespace

TEST(RunSummary, HoursPerClassPerMonthAndStatistics) {
    const RunSummary s = Example();
    EXPECT_EQ(s.rows(), 7u);
    EXPECT_EQ(s.rows(6), 4u);
    EXPECT_EQ(s.rows(7), 2u);
    EXPECT_EQ(s.months(), (std::vector<int>{6, 7}));

    const struct {
        SummaryQuantity q;
        int stressClass, month;
        double hours;
    } hours[] = {
        {SummaryQuantity::UTCI, 5, 6, 1}, {SummaryQuantity::UTCI, 6, 6, 1},
        {SummaryQuantity::UTCI, 7, 6, 1}, {SummaryQuantity::UTCI, 9, 7, 1},
        {SummaryQuantity::UTCI, 0, 7, 1}, {SummaryQuantity::UTCI, 4, 7, 0},
        {SummaryQuantity::UTCI, 4, 0, 1}, {SummaryQuantity::UTCI, 5, 0, 1},
        {SummaryQuantity::PMV, 3, 6, 1},  {SummaryQuantity::PMV, 6, 7, 1},
        {SummaryQuantity::PMV, 2, 0, 1},  {SummaryQuantity::PMV, 0, 0, 1},
        {SummaryQuantity::Ta, 0, 0, 0},  // no classes
    };
    for (const auto& h : hours)
        EXPECT_EQ(s.classHours(h.q, h.stressClass, h.month), h.hours)
            << SummaryQuantityName(h.q) << " class " << h.stressClass << " month " << h.month;
    EXPECT_EQ(s.missingHours(SummaryQuantity::UTCI, 6), 1);
    EXPECT_EQ(s.missingHours(SummaryQuantity::UTCI, 7), 0);
    EXPECT_EQ(s.missingHours(SummaryQuantity::UTCI), 1);

    const auto ta = s.statistics(SummaryQuantity::Ta);
    EXPECT_EQ(ta.values, 6u);
    EXPECT_EQ(ta.missing, 1u);
    EXPECT_DOUBLE_EQ(ta.min, -1.0);
    EXPECT_DOUBLE_EQ(ta.max, 35.6);
    EXPECT_DOUBLE_EQ(ta.mean, (20.0 + 24.0 + 30.0 + 35.6 - 1.0 + 10.0) / 6);
    const auto june = s.statistics(SummaryQuantity::Ta, 6);
    EXPECT_DOUBLE_EQ(june.mean, 74.0 / 3);
    // a quantity the run does not compute, and a month without rows
    EXPECT_TRUE(std::isnan(s.statistics(SummaryQuantity::PET).mean));
    EXPECT_EQ(s.statistics(SummaryQuantity::Ta, 3).values, 0u);
    EXPECT_TRUE(std::isnan(s.statistics(SummaryQuantity::Ta, 3).min));
    EXPECT_THROW(RunSummary({SummaryQuantity::Ta}, 0.0), std::invalid_argument);
}

TEST(RunSummary, TextInBothLanguages) {
    const RunSummary s = Example(1.0 / 6);
    const std::string english = SummaryText(s, TextLanguage::English);
    EXPECT_EQ(english,
              "Run summary\n"
              "rows\t7\thours per row\t0.17\n"
              "\n"
              "\tunit\tmin\tmean\tmax\tvalues\tmissing\n"
              "Ta\t°C\t-1.0\t19.8\t35.6\t6\t1\n"
              "UTCI\t°C\t-41.0\t16.7\t47.0\t6\t1\n"
              "PMV\t\t-3.00\t0.40\t3.20\t6\t1\n"
              "\n"
              "UTCI: hours per stress class\n"
              "class\trange [°C]\tJun\tJul\tall\n"
              "extreme cold stress\t≤ -40\t0\t0.17\t0.17\n"
              "very strong cold stress\t-40 … -27\t0\t0\t0\n"
              "strong cold stress\t-27 … -13\t0\t0\t0\n"
              "moderate cold stress\t-13 … 0\t0\t0\t0\n"
              "slight cold stress\t0 … 9\t0\t0\t0.17\n"
              "no thermal stress\t9 … 26\t0.17\t0\t0.17\n"
              "moderate heat stress\t26 … 32\t0.17\t0\t0.17\n"
              "strong heat stress\t32 … 38\t0.17\t0\t0.17\n"
              "very strong heat stress\t38 … 46\t0\t0\t0\n"
              "extreme heat stress\t> 46\t0\t0.17\t0.17\n"
              "missing\t\t0.17\t0\t0.17\n"
              "\n"
              "PMV: hours per stress class\n"
              "class\trange\tJun\tJul\tall\n"
              "cold\t≤ -2.5\t0\t0.17\t0.17\n"
              "cool\t-2.5 … -1.5\t0\t0\t0\n"
              "slightly cool\t-1.5 … -0.5\t0\t0\t0.17\n"
              "neutral\t-0.5 … 0.5\t0.17\t0\t0.17\n"
              "slightly warm\t0.5 … 1.5\t0.17\t0\t0.17\n"
              "warm\t1.5 … 2.5\t0.17\t0\t0.17\n"
              "hot\t> 2.5\t0\t0.17\t0.17\n"
              "missing\t\t0.17\t0\t0.17\n"
              "\n"
              "Each class includes its upper bound.\n");
    const std::string german = SummaryText(s, TextLanguage::German);
    EXPECT_NE(
        german.find("UTCI: Stunden je Belastungsklasse\nKlasse\tBereich [°C]\tJun\tJul\tgesamt\n"),
        std::string::npos);
    EXPECT_NE(german.find("\nextremer Hitzestress\t> 46\t0\t0.17\t0.17\n"), std::string::npos);
    EXPECT_NE(german.find("\nfehlend\t\t0.17\t0\t0.17\n"), std::string::npos);
}

TEST(RunSummary, CsvInLongForm) {
    const RunSummary s = Example();
    const std::string csv = SummaryCsv(s, TextLanguage::German);
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "quantity,period,item,value,unit");
    int lines = 0;
    while (std::getline(in, line)) {
        ++lines;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 4) << line;
    }
    // per period (June, July, all): Ta 4 lines, UTCI 10 classes + 4, PMV 7 classes + 4
    EXPECT_EQ(lines, 3 * (4 + 14 + 11));
    for (const char* expected :
         {"UTCI,6,mäßiger Hitzestress,1,h\n", "UTCI,all,missing,1,h\n", "Ta,7,mean,17.3,°C\n",
          "PMV,all,max,3.20,\n", "Ta,all,min,-1.0,°C\n"})
        EXPECT_NE(csv.find(expected), std::string::npos) << expected;
    EXPECT_EQ(csv.find("fehlend"), std::string::npos);  // keywords stay English for scripts
}

// Without a given length a row stands for the commonest step between the rows' times: ten-minute
// data with a gap and a repeated time count 1/6 h a row; rows without times count an hour.
TEST(RunSummary, HoursPerRowFromTheSteps) {
    RunSummary s({SummaryQuantity::UTCI}, RunSummary::StepOfRows{});
    const int none = StressClassOf(StressIndex::UTCI, 20.0);  // no thermal stress
    EXPECT_DOUBLE_EQ(s.hoursPerRow(), 1.0);
    for (double minutes : {0, 10, 20, 30, 90, 100, 100, 110}) {
        SummaryRow row = Row(7, 20.0, 20.0, 0.0);
        row.time = 1000.0 * 24 + minutes / 60.0;
        s.add(row);
    }
    EXPECT_DOUBLE_EQ(s.hoursPerRow(), 1.0 / 6);
    EXPECT_DOUBLE_EQ(s.classHours(SummaryQuantity::UTCI, none), 8.0 / 6);
    RunSummary untimed({SummaryQuantity::UTCI}, RunSummary::StepOfRows{});
    untimed.add(Row(7, 20.0, 20.0, 0.0));
    untimed.add(Row(7, 20.0, 20.0, 0.0));
    EXPECT_DOUBLE_EQ(untimed.classHours(SummaryQuantity::UTCI, none), 2.0);
}

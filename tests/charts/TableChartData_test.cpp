// A run's table as chart rows: names in either language found under one key, the missing value
// as a gap, the step between rows, the records of one day as that day's mean.
#include "charts/TableChartData.h"

#include <gtest/gtest.h>

#include <cmath>

#include "charts/Charts.h"

using namespace umbrix;
using namespace umbrix::charts;

namespace {

TableValue Day(int d) {
    return Date{2025, 7, d};
}

}  // namespace

TEST(TableChartData, GermanTableOfTenMinuteRows) {
    TableValues table;
    table.missingValue = 9999;
    table.columns = {
        {"Datum", "", ColumnKind::Date, 0},      {"Tag d. Jahres", "", ColumnKind::Number, 0},
        {"Zeit", "", ColumnKind::Time, 0},       {"SA", "", ColumnKind::Time, 0},
        {"SDtat", "min", ColumnKind::Number, 0}, {"Ta", "°C", ColumnKind::Number, 1},
        {"UTCI-Klasse", "", ColumnKind::Text, 0}};
    const std::vector<std::vector<TableValue>> rows = {
        {Day(1), 182.0, 12.0, 5.5, 900.0, 21.5, std::string("kein thermischer Stress")},
        {Day(1), 182.0, 12.0 + 1 / 6.0, 5.5, 900.0, 9999.0, std::string()},
        {TableValue{}, 182.0, 12.5, 5.5, 900.0, 22.0, std::string()},  // no date: left out
        {Day(1), 182.0, 12.5, 5.5, 900.0, 22.5, std::string()},
        {Day(1), 182.0, 12.5 + 1 / 6.0, 5.5, 900.0, 23.0, std::string()},
    };
    table.rows = rows;
    const ChartData data = ChartDataFromTable(table, TextLanguage::English);
    ASSERT_EQ(data.columns().size(), 2u);  // neither day of year, sunrise nor text
    EXPECT_EQ(data.columns()[0].key, "SDact");
    EXPECT_EQ(data.columns()[0].name(), "SDact");
    EXPECT_EQ(data.columns()[1].key, "Ta");
    ASSERT_EQ(data.rows(), 4u);
    EXPECT_DOUBLE_EQ(data.hoursPerRow, 1 / 6.0);  // the commonest step, not the gap
    EXPECT_TRUE(std::isnan(data.column("Ta")->values[1]));
    EXPECT_DOUBLE_EQ(data.column("Ta")->values[2], 22.5);
    EXPECT_DOUBLE_EQ(data.times()[3].hour, 12.5 + 1 / 6.0);
    // the same table charted in German keeps the key and labels in German
    EXPECT_EQ(ChartDataFromTable(table, TextLanguage::German).column("SDact")->name(), "SDtat");
}

TEST(TableChartData, DailyRowsOfOneDateAreItsMean) {
    TableValues table;
    table.columns = {{"date", "", ColumnKind::Date, 0},
                     {"GactSum", "Wh/m²", ColumnKind::Number, 1}};
    table.rows = {{Day(1), 1000.0}, {Day(1), 2000.0}, {Day(1), 9999.0}, {Day(2), 4000.0}};
    const ChartData data = ChartDataFromTable(table, TextLanguage::English);
    ASSERT_EQ(data.rows(), 2u);
    EXPECT_EQ(data.hoursPerRow, 24);
    EXPECT_DOUBLE_EQ(data.columns()[0].values[0], 1500.0);
    EXPECT_DOUBLE_EQ(data.columns()[0].values[1], 4000.0);
    EXPECT_EQ(data.times()[1].day, 2);
}

TEST(TableChartData, RowsThatCannotBePlacedAreRefused) {
    struct Case {
        std::vector<TableColumn> columns;
        std::vector<TableValue> row;
        const char* message;  // empty: fine
    };
    const TableColumn date{"date", "", ColumnKind::Date, 0}, ta{"Ta", "°C", ColumnKind::Number, 1};
    const TableColumn sdMax{"SDmax", "min", ColumnKind::Number, 0};
    const Case cases[] = {
        {{ta}, {20.0}, "no date column"},
        {{date, ta}, {Day(1), 20.0}, "no time column"},  // a data table without its time
        {{date, sdMax}, {Day(1), 900.0}, ""},            // the daily data
    };
    for (const Case& c : cases) {
        TableValues table;
        table.columns = c.columns;
        EXPECT_EQ(ChartDataFromTable(table, TextLanguage::English).rows(), 0u);  // no rows: fine
        table.rows = {c.row};
        std::string message;
        try {
            ChartDataFromTable(table, TextLanguage::English);
        } catch (const ChartError& e) {
            message = e.what();
        }
        EXPECT_NE(message.find(c.message), std::string::npos) << c.message << ": " << message;
        EXPECT_EQ(message.empty(), *c.message == 0) << message;
    }
}

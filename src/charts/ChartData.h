#pragma once
// The rows a chart draws: a small column store that the command line fills from a run and the
// desktop program from its table. Free of Qt, so that a caller needs no Qt headers.
#include <string>
#include <string_view>
#include <vector>

#include "indices/StressClasses.h"

namespace umbrix::charts {

// A row's time stamp: the calendar date and the local time of day in hours (0 to 24).
struct ChartTime {
    int year = 2001;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    double hour = 0;
};

struct ChartColumn {
    std::string key;             // the language-independent short name: "Ta", "UTCI", "SDact", ...
    std::string label;           // the name in the chart's language ("SDtat"); the key when empty
    std::string unit;            // "°C", "min", "Wh/m²", empty for PMV
    std::vector<double> values;  // one per row; NaN is a missing value

    const std::string& name() const { return label.empty() ? key : label; }
};

class ChartData {
  public:
    TextLanguage language = TextLanguage::English;
    // The time one row stands for (1 for hourly rows, 1/6 for ten-minute steps, 24 for days).
    double hoursPerRow = 1.0;

    // Adds a column of the current row count's missing values; returns its position.
    size_t addColumn(std::string key, std::string unit, std::string label = {});
    // Appends a row; values in column order, missing ones NaN (fewer values: the rest NaN).
    void addRow(const ChartTime& time, const std::vector<double>& values);

    size_t rows() const { return times_.size(); }
    const std::vector<ChartTime>& times() const { return times_; }
    const std::vector<ChartColumn>& columns() const { return columns_; }
    std::vector<ChartColumn>& columns() { return columns_; }
    // By key or label, ignoring case; nullptr when there is none.
    const ChartColumn* column(std::string_view name) const;

  private:
    std::vector<ChartTime> times_;
    std::vector<ChartColumn> columns_;
};

}  // namespace umbrix::charts

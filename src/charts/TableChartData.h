#pragma once
// The rows of a run's table (the values the output window keeps) as the rows of a chart: the
// one adapter between the program's tables and its charts, for the command line and the desktop.
#include "charts/ChartData.h"
#include "models/TableWriter.h"

namespace umbrix::charts {

// Each row's time from the table's date and time columns; a table without a time column (the
// daily data) gives one row per day at noon, 24 hours each, the mean of the day's rows where a
// data file gave it several (one per record). The time a row stands for is the commonest step
// between rows (ten-minute data: 1/6 h). Every number column goes under its
// English name (so that "SDtat" is found as SDact) labelled in the chart's language; the day of
// the year and text columns are left out. The table's missing value is NaN. Rows without a date
// cannot be placed and are left out. Throws ChartError when the table has rows but no date
// column, or a data table no time column.
ChartData ChartDataFromTable(const TableValues& table, TextLanguage language);

}  // namespace umbrix::charts

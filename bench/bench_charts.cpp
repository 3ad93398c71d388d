// Rendering a heat map of a year of hours (8760 rows), the picture alone and as PNG and SVG
// files, and a time series of the same year; each should take well under a second. Also the
// step before: a year's table of the program turned into chart rows.
#include <benchmark/benchmark.h>

#include "SyntheticYear.h"
#include "charts/ChartView.h"
#include "charts/Charts.h"
#include "charts/TableChartData.h"

using namespace umbrix;
using namespace umbrix::charts;

namespace {

const ChartData& Year() {
    static const ChartData data = test::HourlyRun(365);
    return data;
}

void HeatmapImage(benchmark::State& state) {
    const ChartChoice choice = ParseChartChoice(state.range(0) ? "heatmap:UTCI" : "heatmap:Ta");
    for (auto _ : state) benchmark::DoNotOptimize(RenderChartImage(Year(), choice));
}
BENCHMARK(HeatmapImage)->Arg(0)->Arg(1)->ArgName("classes")->Unit(benchmark::kMillisecond);

void HeatmapFile(benchmark::State& state) {
    const ChartChoice choice = ParseChartChoice("heatmap:UTCI");
    const ChartFormat format = state.range(0) ? ChartFormat::Svg : ChartFormat::Png;
    for (auto _ : state) benchmark::DoNotOptimize(RenderChart(Year(), choice, format));
}
BENCHMARK(HeatmapFile)->Arg(0)->Arg(1)->ArgName("svg")->Unit(benchmark::kMillisecond);

void SeriesPng(benchmark::State& state) {
    const ChartChoice choice = ParseChartChoice("series:Ta,Tmrt,PET,RH");
    for (auto _ : state) benchmark::DoNotOptimize(RenderChart(Year(), choice, ChartFormat::Png));
}
BENCHMARK(SeriesPng)->Unit(benchmark::kMillisecond);

// A data table of a year as the run keeps it: date, time and 30 number columns.
TableValues YearTable() {
    TableValues table;
    table.columns = {{"date", "", ColumnKind::Date, 0}, {"time", "", ColumnKind::Time, 0}};
    const char* names[] = {"Ta", "VP", "RH", "v", "C", "Tmrt", "PMV", "PET", "SET*", "UTCI"};
    for (int i = 0; i < 30; ++i)
        table.columns.push_back({names[i % 10] + std::string(i < 10 ? "" : "_" + std::to_string(i)),
                                 "\u00b0C", ColumnKind::Number, 1});
    for (int day = 0; day < 365; ++day)
        for (int hour = 0; hour < 24; ++hour) {
            std::vector<TableValue> row{DateOfDayOfYear(2025, day + 1), double(hour)};
            for (int i = 0; i < 30; ++i) row.emplace_back(double(hour + i) * 0.5);
            table.rows.push_back(std::move(row));
        }
    return table;
}

void TableToChartRows(benchmark::State& state) {
    const TableValues table = YearTable();
    for (auto _ : state) benchmark::DoNotOptimize(ChartDataFromTable(table, TextLanguage::English));
}
BENCHMARK(TableToChartRows)->Unit(benchmark::kMillisecond);

}  // namespace

// Rendering a heat map of a year of hours (8760 rows), the picture alone and as PNG and SVG
// files, and a time series of the same year; each should take well under a second.
#include <benchmark/benchmark.h>

#include "SyntheticYear.h"
#include "charts/ChartView.h"
#include "charts/Charts.h"

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

}  // namespace

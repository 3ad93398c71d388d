#pragma once
// The charts as the command line reaches them in the module umbrix-charts.so: one entry point
// (kChartsEntry, extern "C") gives this table. The module resolves the core from the program.
#include "charts/Charts.h"
#include "models/TableWriter.h"

namespace umbrix::charts {

// Raised whenever the table below changes, so that a stale module is refused.
inline constexpr int kChartsModuleVersion = 1;
inline constexpr char kChartsModuleFile[] = "umbrix-charts.so";
inline constexpr char kChartsEntry[] = "umbrix_charts_module";

struct ChartsModule {
    int version;
    ChartChoice (*parseChoice)(std::string_view text);
    ChartSize (*parseSize)(std::string_view text);
    std::optional<ChartFormat> (*formatOfPath)(std::string_view path);
    ChartData (*dataFromTable)(const TableValues& table, TextLanguage language);
    void (*save)(const ChartData& data, const ChartChoice& choice, const std::string& path,
                 ChartSize size);
};

}  // namespace umbrix::charts

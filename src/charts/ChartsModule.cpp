// The entry point of the module umbrix-charts.so.
#include "charts/ChartsModule.h"

#include "charts/TableChartData.h"

extern "C" __attribute__((visibility("default"))) const umbrix::charts::ChartsModule*
umbrix_charts_module() {
    namespace c = umbrix::charts;
    static const c::ChartsModule table{c::kChartsModuleVersion, &c::ParseChartChoice,
                                       &c::ParseChartSize,      &c::ChartFormatOfPath,
                                       &c::ChartDataFromTable,  &c::SaveChart};
    return &table;
}

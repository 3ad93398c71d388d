#pragma once
// Builds the Qt Charts scene of a chart; shared by the offscreen renderer and the desktop view.
#include <QChart>

#include "charts/Charts.h"

namespace umbrix::charts {

// A new chart (the caller owns it) holding copies of what it draws, its texts sized for a
// picture of the given size. The data must have passed CheckChart.
QChart* BuildChart(const ChartData& data, const ChartChoice& choice, ChartSize size);

}  // namespace umbrix::charts

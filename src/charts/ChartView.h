#pragma once
// The Qt side of the charts: a picture of a chart and a view for the desktop program's windows.
#include <QImage>

#include "charts/Charts.h"

class QWidget;

namespace umbrix::charts {

// The chart drawn into an image of the given size. Throws ChartError (see CheckChart).
QImage RenderChartImage(const ChartData& data, const ChartChoice& choice, ChartSize size = {});

// A view that draws the chart at the size of the window; it keeps what it draws, so the data
// may go afterwards. Throws ChartError (see CheckChart).
QWidget* CreateChartView(const ChartData& data, const ChartChoice& choice,
                         QWidget* parent = nullptr);

}  // namespace umbrix::charts

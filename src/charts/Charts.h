#pragma once
// Charts of a run, rendered offscreen to SVG or PNG: an hourly heat map of a column, time
// series of up to four columns, monthly hours per stress class, and the daily course. Free of
// Qt, so that the command line needs no Qt headers; the view for the desktop program is in
// ChartView.h.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "charts/ChartData.h"

namespace umbrix::charts {

// A chart that cannot be made from its data or its request, with a message for the user.
class ChartError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class ChartKind { Heatmap, Series, Classes, Daily };

struct ChartChoice {
    ChartKind kind = ChartKind::Heatmap;
    // heatmap: one column; series: one to four; classes: one index (UTCI, PET, PMV, PT); daily:
    // none (it draws SDmax, SDact, GmaxSum and GactSum)
    std::vector<std::string> columns;
};

inline constexpr int kMaxSeriesColumns = 4;

// "heatmap:UTCI", "series:Ta,Tmrt,PET", "classes:UTCI", "daily" (kind names ignore case).
// Throws ChartError naming what is wrong.
ChartChoice ParseChartChoice(std::string_view text);

enum class ChartFormat { Svg, Png };

// By the file name's extension, ".svg" or ".png" in any case; nothing for others.
std::optional<ChartFormat> ChartFormatOfPath(std::string_view path);

struct ChartSize {
    int width = 1200;
    int height = 700;
};
inline constexpr int kMinChartSide = 200;
inline constexpr int kMaxChartSide = 10000;

// "1600x900"; throws ChartError unless both sides are whole numbers from 200 to 10000.
ChartSize ParseChartSize(std::string_view text);

// Throws ChartError when the data cannot give the chart: an unknown column (the message lists
// the known ones), a quantity without stress classes for "classes", more than two units in one
// series chart, a missing column of the daily course, a time stamp that is no date and hour.
// A chart of no rows is fine: it says so.
void CheckChart(const ChartData& data, const ChartChoice& choice);

// The chart as the bytes of an SVG or PNG file. Throws ChartError (see CheckChart). Creates an
// offscreen QApplication when the process has none (QT_QPA_PLATFORM=offscreen unless set).
std::string RenderChart(const ChartData& data, const ChartChoice& choice, ChartFormat format,
                        ChartSize size = {});

// Renders and writes the file under a temporary name beside it, moved into place when
// complete; the format from the extension (ChartError for other names), FileError when the
// file cannot be written.
void SaveChart(const ChartData& data, const ChartChoice& choice, const std::string& path,
               ChartSize size = {});

}  // namespace umbrix::charts

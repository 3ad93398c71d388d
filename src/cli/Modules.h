#pragma once
// The parts of the command line that need large libraries (GDAL for map files, Qt for charts)
// live in modules opened only by a run that asks for a map or a chart, so that every other run
// starts without loading those libraries.
#include "charts/ChartsModule.h"
#include "maps/MapsModule.h"

namespace umbrix::cli {

// The module's functions, the module opened on the first call: looked for beside the program
// (the build tree), then in LIBDIR/umbrix of the prefix the program is installed in. Throw
// UmbrixError naming the module and why it cannot be used (not found, the loader's reason).
const maps::MapsModule& MapsFunctions();
#ifdef UMBRIX_CHARTS
const charts::ChartsModule& ChartsFunctions();
#endif

}  // namespace umbrix::cli

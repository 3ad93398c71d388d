#pragma once
// What a map run of the main window is asked for, and what it gives: the map and the plan it
// was computed over.
#include <array>
#include <optional>
#include <string>

#include "umbrix/map.h"

namespace umbrix {

struct MapRequest {
    double cell = 1;                              // m
    std::optional<std::array<double, 4>> extent;  // x0, y0, x1, y1 (plan m); default: the plan
    std::string quantities = "Tmrt,PET,UTCI";
    // One time (minutes of the day; default the main window's time), or a range of times
    // [from, to) in steps; with neither and a data file checked, the file's rows.
    std::optional<int> minute;
    std::optional<std::array<int, 2>> range;
    int stepMinutes = 10;
};

struct MapOutcome {
    MapResult map;
    ObstacleScene scene;  // the plan, for the picture
    std::string when;     // "21.06.2026 15:00", "21.06.2026 0:00-24:00", "data file x.txt"
};

}  // namespace umbrix

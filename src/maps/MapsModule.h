#pragma once
// The map files as the command line reaches them in the module umbrix-maps.so: one entry point
// (kMapsEntry, extern "C") gives this table. The module resolves the core from the program.
#include "maps/MapFiles.h"

namespace umbrix::maps {

// Raised whenever the table below changes, so that a stale module is refused.
inline constexpr int kMapsModuleVersion = 1;
inline constexpr char kMapsModuleFile[] = "umbrix-maps.so";
inline constexpr char kMapsEntry[] = "umbrix_maps_module";

struct MapsModule {
    int version;
    int (*parseCrs)(const std::string& text);
    std::array<double, 2> (*parseOrigin)(const std::string& text);
    void (*saveMap)(const std::string& path, const MapResult& map, const ObstacleScene& scene,
                    const MapLabels& labels, const std::optional<MapGeoreference>& geo);
};

}  // namespace umbrix::maps

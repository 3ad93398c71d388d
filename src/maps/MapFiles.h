#pragma once
// Map files: GeoTIFF (through GDAL), the ESRI ASCII grid, and the map picture (the plan with
// its buildings and trees over a colour map with a legend) as SVG or PNG. A library of its
// own beside the core, so that the core does not depend on GDAL.
#include <array>
#include <optional>
#include <string>

#include "platform/Picture.h"
#include "umbrix/map.h"

namespace umbrix::maps {

// Where the plan lies on the earth: the location of calculation (the plan's origin) at
// (easting, northing) of a projected coordinate system in metres whose axes point east and
// north, as the plan's do.
struct MapGeoreference {
    int epsg = 0;
    double easting = 0, northing = 0;
};

// "EPSG:25832" -> 25832; "E,N" -> the pair. Throw std::invalid_argument with the reason.
int ParseCrs(const std::string& text);
std::array<double, 2> ParseOrigin(const std::string& text);

// A text that says where and when, written into the files' metadata.
struct MapLabels {
    std::string title;    // "Courtyard, 21.06.2026 15:00"
    bool german = false;  // the legend's words
};

// One Float32 band per layer, rows from the north; band descriptions "name: description",
// units, NaN as nodata. Without a georeference the geotransform places the cells in the plan
// frame (metres from the location of calculation), in a local metric coordinate system.
// Written beside the target and moved into place. Throws FileError or std::invalid_argument
// (a coordinate system that is not projected in metres).
void WriteGeoTiff(const std::string& path, const MapResult& map, const MapLabels& labels,
                  const std::optional<MapGeoreference>& geo);

// One layer as an ESRI ASCII grid (NODATA_value -9999); with a georeference also the .prj
// beside it.
void WriteAsciiGrid(const std::string& path, const MapResult& map, std::size_t layer,
                    const std::optional<MapGeoreference>& geo);

// The colours of a layer: a scale from its lowest to its highest value, or the classes of a
// band of sun and shade.
Colour MapColour(double share);

// The plan of one layer: the cells coloured, buildings and trees drawn over them, the location
// of calculation marked, a legend with the unit, a scale bar and the north arrow.
Picture DrawMapPicture(const MapResult& map, std::size_t layer, const ObstacleScene& scene,
                       const MapLabels& labels);

// The cell under a point of the picture of DrawMapPicture (column, row), if any.
std::optional<std::array<int, 2>> CellAt(const MapResult& map, double x, double y);

// The values of a cell for a pointer hint: "x 2.5 m, y -3.5 m: Tmrt 59.9 °C, PET 42.0 °C, ...",
// or that it lies inside a building.
std::string DescribeCell(const MapResult& map, int column, int row, bool german);

// By the extension: .tif/.tiff (every layer), .asc (one layer), .svg or .png (the picture of
// its one layer), the PNG compressed. Throws std::invalid_argument for another extension, FileError
// when writing fails.
void SaveMap(const std::string& path, const MapResult& map, const ObstacleScene& scene,
             const MapLabels& labels, const std::optional<MapGeoreference>& geo);

}  // namespace umbrix::maps

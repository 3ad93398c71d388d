#pragma once
// Terrain model of the topography editor: a square grid of heights read from a text file, the
// 41 x 41 window of it around the location, and the horizon the terrain casts at the location.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Picture.h"

namespace umbrix {

constexpr int kTopoWindowSize = 41;        // window points per side
constexpr int kTopoHalf = 20;              // the location's window column and row
constexpr int kTopoHorizonSteps = 281;     // ray steps of a tenth grid distance, up to 28.1
constexpr Colour kTerrainGrey = 0xC0C0C0;  // the terrain's horizon in the fisheye picture

// Heights in metres, w[r][c]: row r from north to south, column c from west to east.
struct TopoWindow {
    std::array<std::array<float, kTopoWindowSize>, kTopoWindowSize> w{};

    float& at(int c, int r) { return w[r][c]; }
    float at(int c, int r) const { return w[r][c]; }
    void clear() { w = {}; }
    friend bool operator==(const TopoWindow&, const TopoWindow&) = default;
};

// How the file grid and the location relate: grid point (i, j) lies at x = i * delta (east),
// y = j * delta (south).
struct TopoGrid {
    int delta = 50;    // grid distance in whole metres, >= 1
    int columns = 41;  // N_c, >= 1
    int rows = 41;     // N_r, >= 1 (not used for reading)
};

// The file point in the window's centre: round(x0 / delta), ties to even. Locations are kept
// within +-1e9 m by the editor, so this fits comfortably.
std::int64_t TopoCentreIndex(double coordinate, int delta);

// Window column (or row) of file column (row) `index`, or -1 when it lies outside the window.
int TopoWindowIndex(std::int64_t index, std::int64_t centre);

// Puts the k-th file value (row order) into the window when its point lies in it.
void PlaceTopoValue(TopoWindow& window, const TopoGrid& grid, std::int64_t centreI,
                    std::int64_t centreJ, std::uint64_t k, float value);

// Reading a topography file. Numbers separated by blanks, tabs and line ends; memory stays
// bounded whatever the file holds: the text is read in chunks and a number longer than
// kTopoMaxToken characters is refused.
constexpr std::size_t kTopoMaxToken = 64;
// Larger files are refused: a grid of 100 million heights is far beyond any use here.
constexpr std::uint64_t kTopoMaxFileBytes = std::uint64_t(1) << 30;

struct TopoReadError {
    std::uint64_t line = 0;  // 1-based; 0 when the file could not be opened
    std::string text;        // the text that failed (shortened when long)
    std::string reason;
    // "line 3: \"1.2x\" is not a number", or the reason alone
    std::string message() const;
};

// Calls sink(k, value) for every number in read order. Returns false and fills `error` at
// the first text that is not a number (the values before it have been delivered).
bool ReadTopographyValues(const std::string& path,
                          const std::function<void(std::uint64_t, float)>& sink,
                          TopoReadError& error);

// The window as a file: 1681 lines, row by row, each height right-aligned in six characters
// with two decimals.
std::string FormatTopographyWindow(const TopoWindow& window);

// The location's position in window coordinates: 20 plus the fraction by which it lies off
// the grid point nearest to it (in -0.5 .. 0.5).
double TopoLocalOffset(double coordinate, int delta);

// Bilinear height at window position (x, y) (columns, rows; 0 < x, y < 40 for meaningful
// results); positions are clamped into the window so that nothing is read outside it.
double TopoInterpolate(const TopoWindow& window, double x, double y);

// Terrain height under the location, at its true position in the window.
double TopoHeightAtLocation(const TopoWindow& window, int delta, double x0, double y0);

// Normalised horizon elevation (1 stands for 90 degrees) for every whole azimuth 0 .. 359
// clockwise from north, and H[360] = H[0]. Rays start at the location's true position; a
// sample is taken every tenth grid distance up to 28.1 grid distances, in whole-metre
// offsets, and used only inside the window's inner cells. Terrain below the eye never lowers
// H below 0.
std::array<double, 361> ComputeTerrainHorizon(const TopoWindow& window, int delta, double x0,
                                              double y0, double z0);

// Grey level of one relief triangle with height differences (e, f) over a grid distance:
// trunc((0.3 * cos(slope) * sin(azimuth of (e, f)) + 0.7) * 255).
int ReliefGrey(double e, double f, int delta);

// P(B, h) of the terrain horizon: the fisheye point at azimuth B degrees and normalised
// elevation h.
Point TerrainHorizonPoint(int B, double h);

// Records the terrain horizon H[0 .. 360] as a 481 x 481 picture: light grey quadrilaterals
// between the horizon line and the horizon circle, and the circle's arc under each.
void DrawTerrainHorizon(Picture& picture, const std::array<double, 361>& H);

}  // namespace umbrix

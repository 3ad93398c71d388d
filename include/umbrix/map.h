#pragma once
// Maps over the obstacle plan: the row's quantities, or their statistics over a range of times,
// for every cell of a grid. Each cell is computed as the point calculation with the location of
// calculation moved to the cell centre: the obstacles are moved by the opposite vector and
// projected into the cell's own fisheye horizon, which gives its sky view factors and its sun
// test; the weather, the person and the settings are those of the point calculation.
//
// Plan coordinates are metres, x east and y north, with the location of calculation at the
// origin (the frame of the obstacle file). A map's cells are stored row by row from the north,
// west to east within a row: the order of a north-up raster.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "umbrix/engine.h"
#include "umbrix/horizon.h"
#include "umbrix/thread_pool.h"

namespace umbrix {

// ---- the grid ----

struct MapGrid {
    double west = 0;   // x of the western edge, m
    double north = 0;  // y of the northern edge, m
    double cell = 1;   // edge of a square cell, m
    int columns = 0, rows = 0;

    double east() const { return west + columns * cell; }
    double south() const { return north - rows * cell; }
    double centreX(int column) const { return west + (column + 0.5) * cell; }
    double centreY(int row) const { return north - (row + 0.5) * cell; }
    std::size_t size() const { return std::size_t(columns) * std::size_t(rows); }
};

// More cells than this are refused: each cell costs a horizon of its own.
inline constexpr std::size_t kMaxMapCells = 1'000'000;

// The grid of whole cells that covers x0 … x1 and y0 … y1 (plan metres), starting at the
// western and northern edges. Throws std::invalid_argument for a cell that is not a positive
// size, an extent without area, or more than kMaxMapCells cells.
MapGrid MapGridOver(double x0, double y0, double x1, double y1, double cell);
// The plan's frame around the obstacles that take part and the location of calculation, in
// whole cells counted from the origin.
MapGrid DefaultMapGrid(const ObstacleScene& scene, double cell = 1);

// Whether a point of the plan lies inside the footprint of a building that takes part and
// reaches below the eye height: there is no place for a person there.
bool InsideBuilding(const ObstacleScene& scene, double x, double y);

// ---- what a map shows ----

// The quantities of a row that a map can show (RowResult's fields; Sun is 1 in the sun, 0 in
// the shade or at night).
enum class MapQuantity {
    SVF,
    SVFcos,
    Sun,
    SDact,
    G,
    S,
    D,
    A,
    E,
    Q,
    Ts,
    Tmrt,
    PMV,
    PET,
    SET,
    UTCI,
    PT,
    mPET
};

// How the steps of a run become one value per cell.
enum class MapStatistic {
    Value,  // the value of a run of one step
    Mean,   // mean over the steps where the value is defined
    Max,
    Min,
    Hours,  // hours of the steps with the value in (lower, upper]; for Sun: hours in the sun
};

struct MapBand {
    MapQuantity quantity = MapQuantity::Tmrt;
    MapStatistic statistic = MapStatistic::Value;
    double lower = -std::numeric_limits<double>::infinity();  // Hours
    double upper = std::numeric_limits<double>::infinity();
    std::string name;         // as typed in a list: "Tmrt", "Tmrt_mean", "UTCI_hours_32_38"
    std::string description;  // "mean radiant temperature, mean over the steps"
    std::string unit;         // "°C", "h", "W/m²", "min", "" for factors
};

// The bands of a comma-separated list of names: a quantity for one time (SVF, SVFcos, sun,
// SDact, G, S, D, A, E, Q, Ts, Tmrt, PMV, PET, SET, UTCI, PT, mPET), a statistic over a range
// (Tmrt_mean, PET_max, UTCI_min, ...), the hours in the sun (sun_hours), or the hours per
// UTCI or PET stress class from a threshold upwards (UTCI_hours, PET_hours:35): one band from
// the threshold to the next class bound, then one per class above it (default threshold: the
// upper bound of "no thermal stress"). Throws std::invalid_argument naming an unknown name and
// the nearest known one.
std::vector<MapBand> ParseMapBands(std::string_view list);
// True when the band needs a run of one step (MapStatistic::Value of a quantity that changes
// with time).
bool NeedsSingleStep(const MapBand& band);

// ---- results ----

struct MapLayer {
    MapBand band;
    // One value per cell, rows from the north; NaN inside a building and where the value is
    // not defined.
    std::vector<float> values;
};

struct MapResult {
    MapGrid grid;
    std::vector<MapLayer> layers;
    std::vector<std::uint8_t> inside;  // 1 for a cell inside a building's footprint
    int steps = 0;                     // time steps computed
    double hours = 0;                  // the time they stand for

    float value(std::size_t layer, int column, int row) const {
        return layers[layer].values[std::size_t(row) * std::size_t(grid.columns) + column];
    }
};

// ---- the run ----

// What a map is computed over: the grid, the obstacles around the location of calculation (plan
// frame) and the horizon sources that are the same for every cell (a drawing, the terrain:
// horizons far away compared with the grid).
struct MapSetup {
    MapGrid grid;
    ObstacleScene scene;
    const HorizonImage* drawing = nullptr;
    const TerrainWindow* terrain = nullptr;
    std::vector<MapBand> bands;
};

// Called on the calling thread between blocks of work with the work done and the total;
// returning false stops the run (the result then holds what was computed).
using MapProgress = std::function<bool(std::size_t done, std::size_t total)>;

// A map computed in three steps, so that memory grows with the grid and not with the number
// of time steps:
//  1. announce the site and time of every step (a data file is read once for this), so that
//     each cell's horizon is asked only for the sun positions the run will need;
//  2. computeHorizons: each cell's horizon once, its sky view factors and its sun test at the
//     announced sun positions; the horizon images are then dropped;
//  3. addStep for every step in time order: the radiation step, Tmrt and the indices per cell,
//     folded into per-cell accumulators (each cell carries its own PET state).
// Blocks of cells run on the pool's threads; the results do not depend on the thread count.
class MapRun {
  public:
    explicit MapRun(MapSetup setup, batch::ThreadPool* pool = nullptr);
    ~MapRun();
    MapRun(const MapRun&) = delete;
    MapRun& operator=(const MapRun&) = delete;

    void announceTime(const Site& site, const DayTime& time);
    // False when progress stopped it.
    bool computeHorizons(const MapProgress& progress = {});
    // One step, standing for `hours` hours of the statistics. Throws std::logic_error for a
    // step whose sun position was not announced, or a second step with a band of one time.
    bool addStep(const RowInputs& row, const Settings& settings, double hours,
                 const MapProgress& progress = {});
    MapResult result() const;

    const MapSetup& setup() const;
    // The indices the bands need.
    IndexSelection indices() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// A map of one time.
MapResult ComputeMap(const MapSetup& setup, const RowInputs& row, const Settings& settings,
                     batch::ThreadPool* pool = nullptr, const MapProgress& progress = {});

// A map over a series of times and weathers at one place for one person (weathers: one per
// time, or one for all), each step standing for hoursPerStep.
MapResult ComputeMapSeries(const MapSetup& setup, const Site& site, const Person& person,
                           std::span<const DayTime> times, std::span<const Weather> weathers,
                           const Settings& settings, double hoursPerStep,
                           batch::ThreadPool* pool = nullptr, const MapProgress& progress = {});

}  // namespace umbrix

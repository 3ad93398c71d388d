// The map run: every cell's horizon once, then the steps over all cells.
//
// A cell's horizon is the one Horizon::FromSources composes for the obstacles moved by the
// opposite of the cell centre, read only where the run needs it: the sky view factors over the
// whole image one pixel larger, and the pixels of the sun positions the steps will ask about.
// Those pixels are drawn alone (the drawing clipped to the region that holds them), which
// gives them the colours of the whole image, since every primitive fills the same pixels
// inside a clip as without it. The images are dropped after each cell; a cell keeps its two
// factors and one bit per sun pixel.
#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "engine/HorizonData.h"
#include "engine/Internal.h"
#include "horizon/Fisheye.h"
#include "horizon/Sunshine.h"
#include "solar/RadiationStep.h"
#include "umbrix/map.h"

namespace umbrix {

namespace {

constexpr int kN = kFisheyeSize;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
// Cells per block of the thread pool: a block draws its cells' horizons in images of its own.
constexpr std::size_t kHorizonBlock = 8;
constexpr std::size_t kStepBlock = 32;

bool ChangesWithTime(MapQuantity q) {
    return q != MapQuantity::SVF && q != MapQuantity::SVFcos && q != MapQuantity::SDact;
}

float ValueOf(MapQuantity q, const RowResult& r, bool sun) {
    switch (q) {
        case MapQuantity::Sun:
            return sun ? 1.0f : 0.0f;
        case MapQuantity::G:
            return r.G;
        case MapQuantity::S:
            return r.S;
        case MapQuantity::D:
            return r.D;
        case MapQuantity::A:
            return r.A;
        case MapQuantity::E:
            return r.E;
        case MapQuantity::Q:
            return r.Q;
        case MapQuantity::Ts:
            return r.Ts;
        case MapQuantity::Tmrt:
            return r.Tmrt;
        case MapQuantity::PMV:
            return r.PMV;
        case MapQuantity::PET:
            return r.PET;
        case MapQuantity::SET:
            return r.SET;
        case MapQuantity::UTCI:
            return r.UTCI;
        case MapQuantity::PT:
            return r.PT;
        case MapQuantity::mPET:
            return r.mPET;
        default:
            return kNaN;
    }
}

// The sun's place for the sunshine count of a day, as the day routine takes it.
struct SunshineDay {
    engine::Place place;
    int day = 0;
    bool operator==(const SunshineDay& o) const {
        return day == o.day && place.longitude == o.place.longitude &&
               place.latitude == o.place.latitude && place.timeZone == o.place.timeZone;
    }
};

}  // namespace

struct MapRun::State {
    MapSetup setup;
    batch::ThreadPool* pool = nullptr;
    IndexSelection indices{false, false, false, false, false, false};
    bool sdact = false;       // a band needs the day's sunshine minutes
    bool singleStep = false;  // a band is a value of one time
    std::string singleBand;   // its name

    // the sun pixels the run asks about: slot per pixel of the fisheye frame
    std::vector<int> slotOf = std::vector<int>(std::size_t(kN) * kN, -1);
    std::vector<Point> slotPixel;
    std::optional<SunshineDay> day;
    bool oneDay = true;
    std::vector<int> minuteSlots;  // SDact: the slot of each minute counted (-1: off the image)

    // per cell
    bool horizonsDone = false;
    std::size_t words = 0;  // 64-bit words of sun bits per cell
    std::vector<std::uint8_t> inside;
    std::vector<float> svf, svfCos;
    std::vector<int> sdactMinutes;
    std::vector<std::uint64_t> hidden;  // bit set: the slot's pixel is obstructed
    std::vector<PetState> pet;

    // per band and cell
    struct Accumulator {
        std::vector<double> sum;   // Mean: sum of values; Hours: hours
        std::vector<int> count;    // Mean: steps with a value
        std::vector<float> value;  // Value, Max, Min
    };
    std::vector<Accumulator> acc;
    int steps = 0;
    double hours = 0;

    static bool OnImage(Point p) { return p.x >= 0 && p.y >= 0 && p.x < kN && p.y < kN; }
    // -1 for a pixel off the image, which reads as free sky
    int addSlot(Point p) {
        if (!OnImage(p)) return -1;
        int& slot = slotOf[std::size_t(p.y) * kN + std::size_t(p.x)];
        if (slot < 0) {
            slot = int(slotPixel.size());
            slotPixel.push_back(p);
        }
        return slot;
    }
    bool obstructed(std::size_t cell, int slot) const {
        return (hidden[cell * words + std::size_t(slot) / 64] >> (slot % 64)) & 1u;
    }
    // The sun test of a cell, as Horizon::isSunHidden reads the composed image.
    bool sunHidden(std::size_t cell, double Z, double A) const {
        if (!(Z < 90) || !std::isfinite(A)) return true;
        const Point p = FisheyePixelOf(A, Z);
        if (!OnImage(p)) return false;  // as Raster::pixel reads it
        const int slot = slotOf[std::size_t(p.y) * kN + std::size_t(p.x)];
        if (slot < 0) throw std::logic_error("map: a step's sun position was not announced");
        return obstructed(cell, slot);
    }

    // Runs body over the cells in blocks, chunk by chunk, with progress between the chunks.
    bool forCells(std::size_t block, const std::function<void(std::size_t, std::size_t)>& body,
                  const MapProgress& progress, std::size_t doneBefore, std::size_t total) {
        const std::size_t n = setup.grid.size();
        const std::size_t threads = pool ? pool->size() : 1;
        const std::size_t chunk = block * threads * 4;
        for (std::size_t begin = 0; begin < n; begin += chunk) {
            const std::size_t end = std::min(n, begin + chunk);
            auto shifted = [&body, begin](std::size_t b, std::size_t e) {
                body(begin + b, begin + e);
            };
            if (pool)
                pool->forEachBlock(end - begin, block, shifted);
            else
                shifted(0, end - begin);
            if (progress && !progress(doneBefore + end, total)) return false;
        }
        return true;
    }

    void horizonsOf(std::size_t begin, std::size_t end, const Raster* baseSky,
                    const Raster* baseSun, const Rect& region);
    void stepOf(std::size_t begin, std::size_t end, const RowInputs& row,
                const engine::Place& place, const Settings& settings, const SunPosition& sun,
                const RadiationSun& rs, double stepHours);
};

MapRun::MapRun(MapSetup setup, batch::ThreadPool* pool) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.setup = std::move(setup);
    s.pool = pool;
    if (s.setup.grid.columns <= 0 || s.setup.grid.rows <= 0 || s.setup.grid.size() > kMaxMapCells)
        throw std::invalid_argument("map: the grid has no cells or too many");
    for (const MapBand& b : s.setup.bands) {
        switch (b.quantity) {
            case MapQuantity::PMV:
                s.indices.pmv = true;
                break;
            case MapQuantity::PET:
                s.indices.pet = true;
                break;
            case MapQuantity::SET:
                s.indices.setStar = true;
                break;
            case MapQuantity::UTCI:
                s.indices.utci = true;
                break;
            case MapQuantity::PT:
                s.indices.pt = true;
                break;
            case MapQuantity::mPET:
                s.indices.mpet = true;
                break;
            case MapQuantity::SDact:
                s.sdact = true;
                break;
            default:
                break;
        }
        if (NeedsSingleStep(b) && !s.singleStep) {
            s.singleStep = true;
            s.singleBand = b.name;
        }
    }
}

MapRun::~MapRun() = default;

const MapSetup& MapRun::setup() const {
    return state_->setup;
}

IndexSelection MapRun::indices() const {
    return state_->indices;
}

void MapRun::announceTime(const Site& site, const DayTime& time) {
    State& s = *state_;
    if (s.horizonsDone) throw std::logic_error("map: times are announced before the horizons");
    const engine::Place p = engine::PlaceOf(site);
    const SunPosition sun = engine::SunAt(p, time.dayOfYear, float(time.hours));
    const RadiationSun r = RadiationSunAt(time.dayOfYear, p.latitude, sun.trueTime);
    if (r.up()) s.addSlot(FisheyePixelOf(r.azimuth, r.zenith));
    const SunshineDay day{p, time.dayOfYear};
    if (!s.day)
        s.day = day;
    else if (!(*s.day == day))
        s.oneDay = false;
}

void MapRun::State::horizonsOf(std::size_t begin, std::size_t end, const Raster* baseSky,
                               const Raster* baseSun, const Rect& region) {
    const MapGrid& g = setup.grid;
    Raster sky(kN, kN), sunImage;
    if (!region.empty()) sunImage.reset(kN, kN);
    ObstacleScene moved = setup.scene;
    for (std::size_t i = begin; i < end; ++i) {
        if (inside[i]) continue;
        const double cx = g.centreX(int(i % std::size_t(g.columns)));
        const double cy = g.centreY(int(i / std::size_t(g.columns)));
        // the location of calculation moved to the cell centre, as the obstacle editor's "Move
        // location" moves the obstacles
        for (std::size_t k = 0; k < moved.obstacles.size(); ++k) {
            moved.obstacles[k] = setup.scene.obstacles[k];
            moved.obstacles[k].moveAll(-cx, -cy);
        }
        const Picture obstacles = ObstacleHorizonPicture(moved);
        // The obstacle picture draws in grey only, so drawing it straight onto the composed
        // image of the other sources obstructs what the composition's transparent copy would.
        if (baseSky)
            sky = *baseSky;
        else
            sky.fill(kWhite);
        obstacles.playOnto(sky, {0, 0, kN + 1, kN + 1});
        const SkyViewFactorValues f = IntegrateSkyViewFactors(sky, nullptr);
        svf[i] = f.SVF_Umb;
        svfCos[i] = f.SVF_cos;
        if (region.empty()) continue;
        sunImage.setClip(region);
        for (int y = region.top; y < region.bottom; ++y) {
            Colour* row = sunImage.row(y);
            if (baseSun)
                std::copy(baseSun->row(y) + region.left, baseSun->row(y) + region.right,
                          row + region.left);
            else
                std::fill(row + region.left, row + region.right, kWhite);
        }
        obstacles.playOnto(sunImage, {0, 0, kN, kN});
        sunImage.resetClip();
        std::uint64_t* bits = hidden.data() + i * words;
        for (std::size_t k = 0; k < slotPixel.size(); ++k)
            if (sunImage.pixel(slotPixel[k].x, slotPixel[k].y) != kWhite)
                bits[k / 64] |= std::uint64_t(1) << (k % 64);
        if (sdact) {
            int minutes = 0;
            for (int slot : minuteSlots) minutes += slot < 0 || !obstructed(i, slot);
            sdactMinutes[i] = minutes;
        }
    }
}

bool MapRun::computeHorizons(const MapProgress& progress) {
    State& s = *state_;
    if (s.horizonsDone) throw std::logic_error("map: the horizons are computed once");
    const MapGrid& g = s.setup.grid;
    const std::size_t n = g.size();
    if (s.sdact) {
        if (!s.day || !s.oneDay)
            throw std::invalid_argument(
                "map: SDact, the sunshine minutes of a day, needs the times of one day at one "
                "place");
        // the minutes the day routine counts, with the pixels it reads
        SunshineCounter counter;
        const engine::Place& p = s.day->place;
        for (const Point& px : counter.sunPixels(s.day->day, p.longitude, p.latitude, p.timeZone))
            s.minuteSlots.push_back(s.addSlot(px));
    }
    s.words = (s.slotPixel.size() + 63) / 64;
    s.inside.assign(n, 0);
    s.svf.assign(n, kNaN);
    s.svfCos.assign(n, kNaN);
    s.hidden.assign(n * s.words, 0);
    if (s.sdact) s.sdactMinutes.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i)
        s.inside[i] = InsideBuilding(s.setup.scene, g.centreX(int(i % std::size_t(g.columns))),
                                     g.centreY(int(i / std::size_t(g.columns))));

    // the sources that are the same for every cell, composed once
    HorizonSources fixedSources;
    fixedSources.drawing = s.setup.drawing;
    fixedSources.terrain = s.setup.terrain;
    const SourcePictures fixed(fixedSources);
    std::optional<Raster> baseSky, baseSun;
    if (!fixed.list().empty()) {
        baseSky = ComposeHorizon(fixed.list(), {0, 0, kN + 1, kN + 1});
        baseSun = ComposeHorizon(fixed.list(), {0, 0, kN, kN});
    }
    Rect region{kN, kN, 0, 0};
    for (const Point& p : s.slotPixel)
        region = {std::min(region.left, p.x), std::min(region.top, p.y),
                  std::max(region.right, p.x + 1), std::max(region.bottom, p.y + 1)};
    if (region.empty()) region = {};

    s.acc.assign(s.setup.bands.size(), {});
    for (std::size_t b = 0; b < s.setup.bands.size(); ++b) {
        State::Accumulator& a = s.acc[b];
        switch (s.setup.bands[b].statistic) {
            case MapStatistic::Mean:
                a.sum.assign(n, 0);
                a.count.assign(n, 0);
                break;
            case MapStatistic::Hours:
                a.sum.assign(n, 0);
                break;
            default:
                a.value.assign(n, kNaN);
        }
    }
    if (s.indices.pet) s.pet.resize(n);

    const Raster* sky = baseSky ? &*baseSky : nullptr;
    const Raster* sun = baseSun ? &*baseSun : nullptr;
    const bool finished = s.forCells(
        kHorizonBlock, [&](std::size_t b, std::size_t e) { s.horizonsOf(b, e, sky, sun, region); },
        progress, 0, n);
    s.horizonsDone = true;
    return finished;
}

void MapRun::State::stepOf(std::size_t begin, std::size_t end, const RowInputs& row,
                           const engine::Place& place, const Settings& settings,
                           const SunPosition& sun, const RadiationSun& rs, double stepHours) {
    PetState unused;  // for runs without PET
    // mPET afterwards for the whole block, its cells side by side in SIMD lanes
    IndexSelection apart = indices;
    apart.mpet = false;
    std::vector<RowResult> rows(end - begin);
    std::vector<std::size_t> mpetCells;
    for (std::size_t i = begin; i < end; ++i) {
        if (inside[i]) continue;
        const engine::HorizonView view{
            svf[i], [this, i](double Z, double A) { return sunHidden(i, Z, A); }};
        RowResult& r = rows[i - begin];
        r.trueTime = sun.trueTime;
        r.Z = sun.Z;
        r.azimuth = sun.azimuth;
        r.SVF = svf[i];
        r.SVFcos = svfCos[i];
        engine::ComputeRowWeather(r, row, place, settings, view, apart,
                                  pet.empty() ? unused : pet[i]);
        if (indices.mpet && !std::isnan(r.Tmrt) && engine::InRange(row.person))
            mpetCells.push_back(i - begin);
    }
    if (!mpetCells.empty()) engine::MpetOfRows(rows, mpetCells, row.person, nullptr);
    for (std::size_t i = begin; i < end; ++i) {
        if (inside[i]) continue;
        const RowResult& r = rows[i - begin];
        // in the sun: up and not behind the cell's horizon, also where the weather is missing
        // and the radiation step did not run
        const bool inSun = rs.up() && !sunHidden(i, rs.zenith, rs.azimuth);
        for (std::size_t b = 0; b < setup.bands.size(); ++b) {
            const MapBand& band = setup.bands[b];
            if (!ChangesWithTime(band.quantity)) continue;
            const float v = ValueOf(band.quantity, r, inSun);
            Accumulator& a = acc[b];
            switch (band.statistic) {
                case MapStatistic::Value:
                    a.value[i] = v;
                    break;
                case MapStatistic::Mean:
                    if (!std::isnan(v)) {
                        a.sum[i] += v;
                        ++a.count[i];
                    }
                    break;
                case MapStatistic::Max:
                    if (!std::isnan(v) && !(a.value[i] >= v)) a.value[i] = v;
                    break;
                case MapStatistic::Min:
                    if (!std::isnan(v) && !(a.value[i] <= v)) a.value[i] = v;
                    break;
                case MapStatistic::Hours:
                    if (v > band.lower && v <= band.upper) a.sum[i] += stepHours;
                    break;
            }
        }
    }
}

bool MapRun::addStep(const RowInputs& row, const Settings& settings, double stepHours,
                     const MapProgress& progress) {
    State& s = *state_;
    if (!s.horizonsDone) throw std::logic_error("map: the horizons come before the steps");
    if (s.singleStep && s.steps >= 1)
        throw std::logic_error("map: " + s.singleBand + " is a value of one time");
    const engine::Place p = engine::PlaceOf(row.site);
    const SunPosition sun = engine::SunAt(p, row.time.dayOfYear, float(row.time.hours));
    const RadiationSun rs = RadiationSunAt(row.time.dayOfYear, p.latitude, sun.trueTime);
    if (rs.up()) {
        const Point px = FisheyePixelOf(rs.azimuth, rs.zenith);
        if (State::OnImage(px) && s.slotOf[std::size_t(px.y) * kN + std::size_t(px.x)] < 0)
            throw std::logic_error("map: a step's sun position was not announced");
    }
    const bool finished = s.forCells(
        kStepBlock,
        [&](std::size_t b, std::size_t e) { s.stepOf(b, e, row, p, settings, sun, rs, stepHours); },
        progress, 0, s.setup.grid.size());
    ++s.steps;
    s.hours += stepHours;
    return finished;
}

MapResult MapRun::result() const {
    const State& s = *state_;
    MapResult out;
    out.grid = s.setup.grid;
    out.steps = s.steps;
    out.hours = s.hours;
    const std::size_t n = out.grid.size();
    out.inside = s.inside.empty() ? std::vector<std::uint8_t>(n, 0) : s.inside;
    for (std::size_t b = 0; b < s.setup.bands.size(); ++b) {
        const MapBand& band = s.setup.bands[b];
        MapLayer layer;
        layer.band = band;
        layer.values.assign(n, kNaN);
        if (s.horizonsDone) {
            const State::Accumulator& a = s.acc[b];
            for (std::size_t i = 0; i < n; ++i) {
                if (s.inside[i]) continue;
                float v = kNaN;
                if (band.quantity == MapQuantity::SVF)
                    v = s.svf[i];
                else if (band.quantity == MapQuantity::SVFcos)
                    v = s.svfCos[i];
                else if (band.quantity == MapQuantity::SDact)
                    v = float(s.sdactMinutes[i]);
                else if (band.statistic == MapStatistic::Mean)
                    v = a.count[i] > 0 ? float(a.sum[i] / a.count[i]) : kNaN;
                else if (band.statistic == MapStatistic::Hours)
                    v = float(a.sum[i]);
                else
                    v = a.value[i];
                layer.values[i] = v;
            }
        }
        out.layers.push_back(std::move(layer));
    }
    return out;
}

MapResult ComputeMap(const MapSetup& setup, const RowInputs& row, const Settings& settings,
                     batch::ThreadPool* pool, const MapProgress& progress) {
    MapRun run(setup, pool);
    run.announceTime(row.site, row.time);
    if (run.computeHorizons(progress)) run.addStep(row, settings, 0, progress);
    return run.result();
}

MapResult ComputeMapSeries(const MapSetup& setup, const Site& site, const Person& person,
                           std::span<const DayTime> times, std::span<const Weather> weathers,
                           const Settings& settings, double hoursPerStep, batch::ThreadPool* pool,
                           const MapProgress& progress) {
    if (weathers.size() != times.size() && weathers.size() != 1)
        throw std::invalid_argument("map series: " + std::to_string(weathers.size()) +
                                    " weathers for " + std::to_string(times.size()) + " times");
    MapRun run(setup, pool);
    for (const DayTime& t : times) run.announceTime(site, t);
    if (!run.computeHorizons(progress)) return run.result();
    RowInputs row{site, {}, {}, person};
    for (std::size_t i = 0; i < times.size(); ++i) {
        row.time = times[i];
        row.weather = weathers[weathers.size() == 1 ? 0 : i];
        if (!run.addStep(row, settings, hoursPerStep)) break;
        if (progress && !progress(i + 1, times.size())) break;
    }
    return run.result();
}

}  // namespace umbrix

// The map's grid and the names of what it shows.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>
#include <stdexcept>

#include "indices/StressClasses.h"
#include "platform/FormModel.h"
#include "umbrix/map.h"

namespace umbrix {

namespace {

struct QuantityInfo {
    MapQuantity quantity;
    const char* name;
    const char* description;
    const char* unit;
    bool changesWithTime;
};

const QuantityInfo kQuantities[] = {
    {MapQuantity::SVF, "SVF", "sky view factor", "", false},
    {MapQuantity::SVFcos, "SVFcos", "sky view factor of a horizontal surface", "", false},
    {MapQuantity::Sun, "sun", "sun (1) or shade (0)", "", true},
    {MapQuantity::SDact, "SDact", "actual sunshine duration of the day", "min", false},
    {MapQuantity::G, "G", "global radiation", "W/m²", true},
    {MapQuantity::S, "S", "direct radiation on the horizontal", "W/m²", true},
    {MapQuantity::D, "D", "diffuse radiation", "W/m²", true},
    {MapQuantity::A, "A", "long-wave radiation of the atmosphere", "W/m²", true},
    {MapQuantity::E, "E", "long-wave radiation of the ground", "W/m²", true},
    {MapQuantity::Q, "Q", "long-wave radiation of the surroundings", "W/m²", true},
    {MapQuantity::Ts, "Ts", "ground surface temperature", "°C", true},
    {MapQuantity::Tmrt, "Tmrt", "mean radiant temperature", "°C", true},
    {MapQuantity::PMV, "PMV", "predicted mean vote", "", true},
    {MapQuantity::PET, "PET", "physiologically equivalent temperature", "°C", true},
    {MapQuantity::SET, "SET", "standard effective temperature SET*", "°C", true},
    {MapQuantity::UTCI, "UTCI", "universal thermal climate index", "°C", true},
    {MapQuantity::PT, "PT", "perceived temperature", "°C", true},
    {MapQuantity::mPET, "mPET", "modified physiologically equivalent temperature", "°C", true},
};

const QuantityInfo& InfoOf(MapQuantity q) {
    for (const QuantityInfo& info : kQuantities)
        if (info.quantity == q) return info;
    return kQuantities[0];
}

struct StatisticInfo {
    MapStatistic statistic;
    const char* suffix;
    const char* description;
};

const StatisticInfo kStatistics[] = {
    {MapStatistic::Mean, "_mean", "mean"},
    {MapStatistic::Max, "_max", "maximum"},
    {MapStatistic::Min, "_min", "minimum"},
};

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// A bound as a name part and in a description: "32", "-12.5".
std::string Number(double v) {
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc() ? std::string(buffer, end) : std::string("?");
}

// Every name a list may hold, for the "did you mean" hint.
std::vector<std::string> KnownNames() {
    std::vector<std::string> names;
    for (const QuantityInfo& q : kQuantities) {
        names.push_back(q.name);
        for (const StatisticInfo& s : kStatistics) names.push_back(q.name + std::string(s.suffix));
    }
    for (const char* n : {"sun_hours", "UTCI_hours", "PET_hours"}) names.push_back(n);
    return names;
}

[[noreturn]] void Unknown(std::string_view item) {
    const std::string nearest = NearestName(item, KnownNames());
    throw std::invalid_argument("unknown map quantity \"" + std::string(item) + "\"" +
                                (nearest.empty() ? "" : " (did you mean " + nearest + "?)"));
}

// Hours per stress class from the threshold upwards: one band from the threshold to the next
// class bound, then one per class. A class holds its upper bound, not its lower one.
void AddClassHours(std::vector<MapBand>& bands, MapQuantity q, StressIndex index,
                   std::optional<double> threshold) {
    const std::span<const StressClass> classes = StressClasses(index);
    // without a threshold: from the upper bound of "no thermal stress"
    double from = threshold.value_or(0);
    if (!threshold)
        for (const StressClass& c : classes)
            if (c.english == "no thermal stress") from = c.upper;
    const std::string base = InfoOf(q).name;
    double lower = from;
    for (const StressClass& c : classes) {
        const double upper = c.upper;
        if (upper <= lower) continue;
        MapBand b;
        b.quantity = q;
        b.statistic = MapStatistic::Hours;
        b.lower = lower;
        b.upper = upper;
        b.unit = "h";
        b.name =
            base + "_hours_" + Number(lower) + "_" + (std::isinf(upper) ? "up" : Number(upper));
        b.description = "hours with " + base + " " +
                        (std::isinf(upper) ? "from " + Number(lower) + " °C"
                                           : Number(lower) + " to " + Number(upper) + " °C") +
                        " (" + std::string(c.english) + ")";
        bands.push_back(std::move(b));
        lower = upper;
    }
}

MapBand BandOf(const QuantityInfo& q, MapStatistic statistic, const char* suffix,
               const char* statisticText) {
    MapBand b;
    b.quantity = q.quantity;
    b.statistic = statistic;
    b.name = q.name + std::string(suffix);
    b.description = q.description + (statisticText ? ", " + std::string(statisticText) : "");
    b.unit = q.unit;
    return b;
}

}  // namespace

MapGrid MapGridOver(double x0, double y0, double x1, double y1, double cell) {
    if (!(cell > 0) || !std::isfinite(cell))
        throw std::invalid_argument("map cell size " + Number(cell) + " m: it must be above 0");
    for (double v : {x0, y0, x1, y1})
        if (!std::isfinite(v)) throw std::invalid_argument("map extent: not a number");
    if (!(x1 > x0) || !(y1 > y0))
        throw std::invalid_argument("map extent " + Number(x0) + "," + Number(y0) + "," +
                                    Number(x1) + "," + Number(y1) +
                                    ": X1 and Y1 must lie above X0 and Y0");
    // whole cells; an edge that falls within a rounding error of a cell boundary stays there
    const double columns = std::ceil((x1 - x0) / cell - 1e-9);
    const double rows = std::ceil((y1 - y0) / cell - 1e-9);
    if (columns * rows > double(kMaxMapCells))
        throw std::invalid_argument("a map of " + Number(columns) + " x " + Number(rows) +
                                    " cells is too large (at most " + std::to_string(kMaxMapCells) +
                                    "): choose a larger cell or a smaller extent");
    MapGrid g;
    g.west = x0;
    g.north = y1;
    g.cell = cell;
    g.columns = std::max(1, int(columns));
    g.rows = std::max(1, int(rows));
    return g;
}

MapGrid DefaultMapGrid(const ObstacleScene& scene, double cell) {
    // the location of calculation is on the plan as well
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    auto take = [&](double x, double y, double r) {
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(r)) return;
        x0 = std::min(x0, x - r);
        x1 = std::max(x1, x + r);
        y0 = std::min(y0, y - r);
        y1 = std::max(y1, y + r);
    };
    for (const Obstacle& ob : scene.obstacles) {
        if (!KindIncluded(ob.kind, scene.buildings, scene.deciduous, scene.conifers)) continue;
        if (ob.isBuilding()) {
            for (int k = 1; k <= 8; ++k) take(ob.corner(k).x, ob.corner(k).y, 0);
        } else {
            take(ob.x(), ob.y(), std::max(0.0f, ob.crownRadius()));
        }
    }
    if (!(cell > 0) || !std::isfinite(cell)) return MapGridOver(x0, y0, x1, y1, cell);
    // whole cells from the origin, at least one
    const double w = std::floor(x0 / cell) * cell, e = std::ceil(x1 / cell) * cell;
    const double s = std::floor(y0 / cell) * cell, n = std::ceil(y1 / cell) * cell;
    return MapGridOver(w, s, e > w ? e : w + cell, n > s ? n : s + cell, cell);
}

bool InsideBuilding(const ObstacleScene& scene, double x, double y) {
    for (const Obstacle& ob : scene.obstacles) {
        if (!ob.isBuilding() || !scene.buildings) continue;
        double bottom = ob.corner(5).z;
        for (int k = 6; k <= 8; ++k) bottom = std::min(bottom, ob.corner(k).z);
        // under a building that starts above the eye (an arcade) a person stands
        if (!(bottom < scene.eyeHeight)) continue;
        // even-odd rule over the footprint (corners 5 to 8); a point on the western or southern
        // edge is inside, on the eastern or northern edge outside, so neighbours never share it
        bool in = false;
        for (int i = 0; i < 4; ++i) {
            const Point3 a = ob.corner(5 + i), b = ob.corner(5 + (i + 1) % 4);
            if ((a.y > y) != (b.y > y)) {
                const double xc = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
                if (x < xc) in = !in;
            }
        }
        if (in) return true;
    }
    return false;
}

std::vector<MapBand> ParseMapBands(std::string_view list) {
    std::vector<MapBand> bands;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string_view::npos) comma = list.size();
        const std::string_view item = Trim(list.substr(start, comma - start));
        start = comma + 1;
        if (item.empty()) continue;
        const std::string lower = Lower(item);
        // hours per class, with an optional threshold
        const std::string head = lower.substr(0, lower.find(':'));
        if (head == "utci_hours" || head == "pet_hours") {
            std::optional<double> threshold;
            if (head.size() < lower.size()) {
                const std::string_view text = item.substr(head.size() + 1);
                double v = 0;
                auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
                if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
                    throw std::invalid_argument("map quantity \"" + std::string(item) +
                                                "\": the threshold is not a number (°C)");
                threshold = v;
            }
            if (head == "utci_hours")
                AddClassHours(bands, MapQuantity::UTCI, StressIndex::UTCI, threshold);
            else
                AddClassHours(bands, MapQuantity::PET, StressIndex::PET, threshold);
            continue;
        }
        if (lower == "sun_hours") {
            MapBand b = BandOf(InfoOf(MapQuantity::Sun), MapStatistic::Hours, "_hours", nullptr);
            b.lower = 0.5;  // the sun's value is 1
            b.description = "hours in the sun";
            b.unit = "h";
            bands.push_back(std::move(b));
            continue;
        }
        bool found = false;
        for (const QuantityInfo& q : kQuantities) {
            const std::string name = Lower(q.name);
            if (lower == name) {
                bands.push_back(BandOf(q, MapStatistic::Value, "", nullptr));
                found = true;
                break;
            }
            for (const StatisticInfo& s : kStatistics) {
                if (lower == name + s.suffix) {
                    bands.push_back(BandOf(q, s.statistic, s.suffix, s.description));
                    found = true;
                    break;
                }
            }
            if (found) break;
        }
        if (!found) Unknown(item);
    }
    if (bands.empty()) throw std::invalid_argument("no map quantity given");
    return bands;
}

bool NeedsSingleStep(const MapBand& band) {
    return band.statistic == MapStatistic::Value && InfoOf(band.quantity).changesWithTime;
}

}  // namespace umbrix

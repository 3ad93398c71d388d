// Map files: GeoTIFF through GDAL, the ESRI ASCII grid, and the map picture.
#include "maps/MapFiles.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <ogr_srs_api.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <mutex>
#include <stdexcept>

#include "platform/Error.h"
#include "platform/OutputFile.h"
#include "platform/TextFile.h"

namespace umbrix::maps {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string ExtensionOf(const std::string& path) {
    return Lower(std::filesystem::path(path).extension().string());
}

std::optional<double> Number(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// "%.6g" without a locale's decimal comma.
std::string Text(double v, int digits = 6) {
    char buffer[40];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, digits);
    return ec == std::errc() ? std::string(buffer, end) : std::string("nan");
}

struct SpatialReference {
    OGRSpatialReferenceH handle = nullptr;
    explicit SpatialReference(int epsg) : handle(OSRNewSpatialReference(nullptr)) {
        OSRSetAxisMappingStrategy(handle, OAMS_TRADITIONAL_GIS_ORDER);
        std::string fault;
        char* unit = nullptr;
        if (OSRImportFromEPSG(handle, epsg) != OGRERR_NONE)
            fault = "no such coordinate system";
        else if (!OSRIsProjected(handle) || std::abs(OSRGetLinearUnits(handle, &unit) - 1.0) > 1e-9)
            fault =
                "the plan is in metres east and north; choose a projected coordinate system in "
                "metres (a UTM zone, EPSG:25832, ...)";
        if (!fault.empty()) {
            OSRDestroySpatialReference(handle);
            throw std::invalid_argument("--map-crs EPSG:" + std::to_string(epsg) + ": " + fault);
        }
    }
    // a local frame in metres: the plan itself
    SpatialReference() : handle(OSRNewSpatialReference(nullptr)) {
        OSRSetLocalCS(handle, "obstacle plan, metres from the location of calculation");
        OSRSetLinearUnits(handle, SRS_UL_METER, 1.0);
    }
    ~SpatialReference() { OSRDestroySpatialReference(handle); }
    SpatialReference(const SpatialReference&) = delete;
    SpatialReference& operator=(const SpatialReference&) = delete;

    std::string wkt(bool esri) const {
        OGRSpatialReferenceH copy = OSRClone(handle);
        if (esri) OSRMorphToESRI(copy);
        char* text = nullptr;
        OSRExportToWkt(copy, &text);
        std::string out = text ? text : "";
        CPLFree(text);
        OSRDestroySpatialReference(copy);
        return out;
    }
};

void RegisterGdal() {
    static std::once_flag once;
    std::call_once(once, [] {
        GDALAllRegister();
        // GDAL's own messages go into the exception text, not to standard error
        CPLSetErrorHandler(CPLQuietErrorHandler);
    });
}

std::string GdalMessage() {
    const char* text = CPLGetLastErrorMsg();
    return text && *text ? text : "GDAL could not write it";
}

// A temporary name beside the target, in the pattern the program removes when stale.
std::string TemporaryBeside(const std::string& path) {
    return path + ".~tmp" + std::to_string(::getpid()) + "-map";
}

// ---- picture layout ----

constexpr int kMargin = 12;
constexpr int kTitleHeight = 34;
constexpr int kLegendWidth = 190;
constexpr int kFooterHeight = 42;
constexpr Colour kBuildingGrey = Rgb(150, 150, 150);
constexpr Colour kOutline = Rgb(60, 60, 60);
constexpr Colour kNoValue = Rgb(235, 235, 235);

struct Layout {
    int pixelsPerCell = 1;
    Rect plan;  // the cells
    int width = 0, height = 0;
};

Layout LayoutOf(const MapGrid& g) {
    Layout l;
    const int longest = std::max(g.columns, g.rows);
    l.pixelsPerCell = std::clamp(int(std::lround(620.0 / longest)), 1, 40);
    l.plan = {kMargin, kMargin + kTitleHeight, kMargin + g.columns * l.pixelsPerCell,
              kMargin + kTitleHeight + g.rows * l.pixelsPerCell};
    l.width = l.plan.right + kLegendWidth;
    l.height = std::max(l.plan.bottom + kFooterHeight, kMargin + kTitleHeight + 300);
    return l;
}

// A plan point (metres) on the picture.
Point ToPicture(const MapGrid& g, const Layout& l, double x, double y) {
    const double k = l.pixelsPerCell / g.cell;
    return {l.plan.left + int(std::lround((x - g.west) * k)),
            l.plan.top + int(std::lround((g.north - y) * k))};
}

// Classes of a legend: bounds from the lowest to the highest value in a "nice" step, or the
// two of sun and shade.
struct Classes {
    std::vector<double> bounds;  // class i is [bounds[i], bounds[i+1])
    bool sunShade = false;
    std::size_t count() const { return sunShade ? 2 : bounds.size() - 1; }
    std::size_t classOf(double v) const {
        if (sunShade) return v >= 0.5 ? 1 : 0;
        const auto it = std::upper_bound(bounds.begin(), bounds.end(), v);
        const std::size_t i = it == bounds.begin() ? 0 : std::size_t(it - bounds.begin()) - 1;
        return std::min(i, count() - 1);
    }
};

Classes ClassesOf(const MapLayer& layer) {
    Classes c;
    if (layer.band.quantity == MapQuantity::Sun && layer.band.statistic == MapStatistic::Value) {
        c.sunShade = true;
        return c;
    }
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (float v : layer.values)
        if (!std::isnan(v)) lo = std::min(lo, double(v)), hi = std::max(hi, double(v));
    if (!std::isfinite(lo)) lo = 0, hi = 1;
    if (hi - lo < 1e-6) {
        // one value: one class around it
        c.bounds = {lo - 0.5, hi + 0.5};
        return c;
    }
    // about eight classes of 1, 2, 2.5 or 5 times a power of ten
    const double raw = (hi - lo) / 8;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power * 10;
    for (double f : {1.0, 2.0, 2.5, 5.0})
        if (f * power >= raw) {
            step = f * power;
            break;
        }
    const double first = std::floor(lo / step) * step;
    for (double b = first; b <= hi + step * 1e-9 || c.bounds.size() < 2; b += step)
        c.bounds.push_back(std::abs(b) < step * 1e-9 ? 0 : b);
    if (c.bounds.back() <= hi) c.bounds.push_back(c.bounds.back() + step);
    return c;
}

// A colour scale from cool blue over yellow to dark red.
Colour Scale(double share) {
    static const int stops[][3] = {{49, 54, 149},   {69, 117, 180},  {116, 173, 209},
                                   {171, 217, 233}, {224, 243, 248}, {255, 255, 191},
                                   {254, 224, 144}, {253, 174, 97},  {244, 109, 67},
                                   {215, 48, 39},   {165, 0, 38}};
    const int n = int(std::size(stops)) - 1;
    const double t = std::clamp(share, 0.0, 1.0) * n;
    const int i = std::min(int(t), n - 1);
    const double f = t - i;
    auto mix = [&](int k) { return int(std::lround(stops[i][k] * (1 - f) + stops[i + 1][k] * f)); };
    return Rgb(mix(0), mix(1), mix(2));
}

Colour ClassColour(const Classes& c, std::size_t i) {
    if (c.sunShade) return i == 1 ? Rgb(253, 200, 60) : Rgb(90, 100, 140);
    return Scale(c.count() == 1 ? 0.5 : double(i) / double(c.count() - 1));
}

std::string UnitSuffixPlain(const MapBand& band) {
    return band.unit.empty() ? "" : " " + band.unit;
}

std::string UnitSuffix(const MapBand& band) {
    return band.unit.empty() ? "" : " (" + band.unit + ")";
}

// A compressed PNG through GDAL's PNG driver (the core's writer stores without compression).
void WritePng(const std::string& path, const Raster& image) {
    RegisterGdal();
    GDALDriverH mem = GDALGetDriverByName("MEM"), png = GDALGetDriverByName("PNG");
    if (!mem || !png) throw FileError("cannot write " + path + ": GDAL has no PNG driver");
    const int w = image.width(), h = image.height();
    GDALDatasetH ds = GDALCreate(mem, "", w, h, 3, GDT_Byte, nullptr);
    std::vector<std::uint8_t> channel(std::size_t(w) * std::size_t(h));
    for (int b = 0; b < 3; ++b) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const Colour c = image.row(y)[x];
                channel[std::size_t(y) * w + x] = std::uint8_t(b == 0   ? RedOf(c)
                                                               : b == 1 ? GreenOf(c)
                                                                        : BlueOf(c));
            }
        if (GDALRasterIO(GDALGetRasterBand(ds, b + 1), GF_Write, 0, 0, w, h, channel.data(), w, h,
                         GDT_Byte, 0, 0) != CE_None) {
            GDALClose(ds);
            throw FileError("cannot write " + path + ": " + GdalMessage());
        }
    }
    const std::string temp = TemporaryBeside(path);
    CPLErrorReset();
    GDALDatasetH out = GDALCreateCopy(png, temp.c_str(), ds, FALSE, nullptr, nullptr, nullptr);
    GDALClose(ds);
    std::error_code ec;
    bool ok = out != nullptr;
    if (out) {
        GDALClose(out);
        ok = CPLGetLastErrorType() < CE_Failure;
    }
    if (!ok) {
        const std::string message = GdalMessage();
        std::filesystem::remove(temp, ec);
        std::filesystem::remove(temp + ".aux.xml", ec);
        throw FileError("cannot write " + path + ": " + message);
    }
    std::filesystem::remove(temp + ".aux.xml", ec);
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        throw FileError("cannot write " + path + ": " + ec.message());
    }
}

}  // namespace

Colour MapColour(double share) {
    return Scale(share);
}

int ParseCrs(const std::string& text) {
    const std::string lower = Lower(text);
    if (lower.rfind("epsg:", 0) == 0)
        if (auto v = Number(lower.substr(5)); v && *v >= 1 && *v <= 999999 && *v == std::floor(*v))
            return int(*v);
    throw std::invalid_argument("--map-crs: cannot read \"" + text + "\" as EPSG:n");
}

std::array<double, 2> ParseOrigin(const std::string& text) {
    const auto comma = text.find(',');
    if (comma != std::string::npos)
        if (auto e = Number(text.substr(0, comma)))
            if (auto n = Number(text.substr(comma + 1))) return {*e, *n};
    throw std::invalid_argument("--map-origin: cannot read \"" + text + "\" as E,N (metres)");
}

void WriteGeoTiff(const std::string& path, const MapResult& map, const MapLabels& labels,
                  const std::optional<MapGeoreference>& geo) {
    RegisterGdal();
    const std::unique_ptr<SpatialReference> srs =
        geo ? std::make_unique<SpatialReference>(geo->epsg) : std::make_unique<SpatialReference>();
    const MapGrid& g = map.grid;
    const double e = geo ? geo->easting : 0, n = geo ? geo->northing : 0;
    // north up: the first row is the northern edge, rows go south
    double transform[6] = {e + g.west, g.cell, 0, n + g.north, 0, -g.cell};

    GDALDriverH driver = GDALGetDriverByName("GTiff");
    if (!driver) throw FileError("cannot write " + path + ": GDAL has no GeoTIFF driver");
    const std::string temp = TemporaryBeside(path);
    char** options = nullptr;
    options = CSLSetNameValue(options, "COMPRESS", "DEFLATE");
    options = CSLSetNameValue(options, "PREDICTOR", "3");
    options = CSLSetNameValue(options, "INTERLEAVE", "BAND");
    CPLErrorReset();
    GDALDatasetH ds = GDALCreate(driver, temp.c_str(), g.columns, g.rows, int(map.layers.size()),
                                 GDT_Float32, options);
    CSLDestroy(options);
    if (!ds) throw FileError("cannot create " + path + ": " + GdalMessage());
    bool ok = GDALSetGeoTransform(ds, transform) == CE_None &&
              GDALSetProjection(ds, srs->wkt(false).c_str()) == CE_None;
    if (!labels.title.empty())
        GDALSetMetadataItem(ds, "TIFFTAG_IMAGEDESCRIPTION", labels.title.c_str(), nullptr);
    GDALSetMetadataItem(ds, "TIFFTAG_SOFTWARE", "Umbrix", nullptr);
    GDALSetMetadataItem(ds, "STEPS", std::to_string(map.steps).c_str(), nullptr);
    GDALSetMetadataItem(ds, "HOURS", Text(map.hours).c_str(), nullptr);
    for (std::size_t b = 0; ok && b < map.layers.size(); ++b) {
        const MapLayer& layer = map.layers[b];
        GDALRasterBandH band = GDALGetRasterBand(ds, int(b) + 1);
        const std::string description =
            layer.band.name + ": " + layer.band.description +
            (layer.band.unit.empty() ? std::string() : " (" + layer.band.unit + ")");
        GDALSetDescription(band, description.c_str());
        GDALSetRasterUnitType(band, layer.band.unit.c_str());
        ok = GDALSetRasterNoDataValue(band, std::numeric_limits<double>::quiet_NaN()) == CE_None &&
             GDALRasterIO(band, GF_Write, 0, 0, g.columns, g.rows,
                          const_cast<float*>(layer.values.data()), g.columns, g.rows, GDT_Float32,
                          0, 0) == CE_None;
    }
    const std::string message = ok ? std::string() : GdalMessage();
    CPLErrorReset();
    GDALClose(ds);
    // a full disk may show only as the file is closed
    if (ok) ok = CPLGetLastErrorType() < CE_Failure;
    std::error_code ec;
    if (!ok) {
        std::filesystem::remove(temp, ec);
        throw FileError("cannot write " + path + ": " +
                        (message.empty() ? GdalMessage() : message));
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        throw FileError("cannot write " + path + ": " + ec.message());
    }
}

void WriteAsciiGrid(const std::string& path, const MapResult& map, std::size_t layer,
                    const std::optional<MapGeoreference>& geo) {
    const MapGrid& g = map.grid;
    const double e = geo ? geo->easting : 0, n = geo ? geo->northing : 0;
    std::string out = "ncols " + std::to_string(g.columns) + "\nnrows " + std::to_string(g.rows) +
                      "\nxllcorner " + Text(e + g.west, 12) + "\nyllcorner " +
                      Text(n + g.south(), 12) + "\ncellsize " + Text(g.cell, 12) +
                      "\nNODATA_value -9999\n";
    const std::vector<float>& v = map.layers.at(layer).values;
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.columns; ++c) {
            const float x = v[std::size_t(r) * std::size_t(g.columns) + std::size_t(c)];
            if (c) out += ' ';
            out += std::isnan(x) ? "-9999" : Text(x);
        }
        out += '\n';
    }
    if (geo) {
        const SpatialReference srs(geo->epsg);
        WriteTextFileAtomic(std::filesystem::path(path).replace_extension(".prj").string(),
                            srs.wkt(true));
    }
    WriteTextFileAtomic(path, out);
}

Picture DrawMapPicture(const MapResult& map, std::size_t layerIndex, const ObstacleScene& scene,
                       const MapLabels& labels) {
    const MapGrid& g = map.grid;
    const MapLayer& layer = map.layers.at(layerIndex);
    const Layout l = LayoutOf(g);
    const Classes classes = ClassesOf(layer);
    Picture p(l.width, l.height);
    p.setPen({kWhite, 1, PenStyle::Clear});
    p.setBrush({kWhite});
    p.rectangle({0, 0, l.width, l.height});

    // the cells, as runs of one colour along each row
    const int k = l.pixelsPerCell;
    for (int r = 0; r < g.rows; ++r) {
        int c = 0;
        while (c < g.columns) {
            auto colourAt = [&](int col) {
                const std::size_t i = std::size_t(r) * std::size_t(g.columns) + std::size_t(col);
                const float v = layer.values[i];
                if (map.inside[i]) return kBuildingGrey;
                if (std::isnan(v)) return kNoValue;
                return ClassColour(classes, classes.classOf(v));
            };
            const Colour colour = colourAt(c);
            int end = c + 1;
            while (end < g.columns && colourAt(end) == colour) ++end;
            p.setBrush({colour});
            p.rectangle({l.plan.left + c * k, l.plan.top + r * k, l.plan.left + end * k,
                         l.plan.top + (r + 1) * k});
            c = end;
        }
    }

    // the obstacles over the cells, clipped to the plan: drawn in a picture of their own,
    // whose clip leaves the legend free
    const int pw = l.plan.right - l.plan.left, ph = l.plan.bottom - l.plan.top;
    Picture plan(pw, ph);
    plan.clipRect({0, 0, pw, ph});
    const MapGrid local{g.west, g.north, g.cell, g.columns, g.rows};
    Layout at = l;
    at.plan = {0, 0, pw, ph};
    for (const Obstacle& ob : scene.obstacles) {
        if (!KindIncluded(ob.kind, scene.buildings, scene.deciduous, scene.conifers)) continue;
        if (ob.isBuilding()) {
            std::vector<Point> footprint;
            for (int corner = 5; corner <= 8; ++corner)
                footprint.push_back(ToPicture(local, at, ob.corner(corner).x, ob.corner(corner).y));
            plan.setPen({kOutline, 2});
            plan.setBrush({kBuildingGrey});
            plan.polygon(footprint);
        } else {
            const Colour green =
                ob.kind == ObstacleKind::Conifer ? Rgb(0, 100, 90) : Rgb(0, 120, 0);
            const Point centre = ToPicture(local, at, ob.x(), ob.y());
            const int radius = int(std::lround(ob.crownRadius() * k / g.cell));
            plan.setPen({green, 2});
            plan.setBrush({kWhite, BrushStyle::Clear});
            plan.ellipse({centre.x - radius, centre.y - radius, centre.x + radius + 1,
                          centre.y + radius + 1});
            plan.setBrush({green});
            plan.ellipse({centre.x - 3, centre.y - 3, centre.x + 4, centre.y + 4});
        }
    }
    // the location of calculation
    const Point origin = ToPicture(local, at, 0, 0);
    plan.setPen({kBlack, 1});
    plan.moveTo({origin.x - 5, origin.y});
    plan.lineTo({origin.x + 6, origin.y});
    plan.moveTo({origin.x, origin.y - 5});
    plan.lineTo({origin.x, origin.y + 6});
    p.drawPicture(l.plan, plan);
    p.setBrush({kWhite, BrushStyle::Clear});
    p.setPen({kOutline, 1});
    p.rectangle({l.plan.left - 1, l.plan.top - 1, l.plan.right + 1, l.plan.bottom + 1});

    // title
    p.setFont({"Arial", 10, kBlack});
    p.text({kMargin, 6}, layer.band.name + " - " + layer.band.description + UnitSuffix(layer.band));
    p.setFont({"Arial", 8, Rgb(60, 60, 60)});
    p.text({kMargin, 22}, labels.title);

    // legend: one box per class, the highest on top
    const int lx = l.plan.right + 16;
    int ly = l.plan.top;
    p.setFont({"Arial", 8, kBlack});
    p.text({lx, ly}, layer.band.unit.empty() ? layer.band.name : layer.band.unit);
    ly += 18;
    const std::size_t count = classes.count();
    for (std::size_t i = count; i-- > 0;) {
        p.setPen({kOutline, 1});
        p.setBrush({ClassColour(classes, i)});
        p.rectangle({lx, ly, lx + 22, ly + 16});
        std::string label;
        if (classes.sunShade)
            label =
                i == 1 ? (labels.german ? "Sonne" : "sun") : (labels.german ? "Schatten" : "shade");
        else
            label = Text(classes.bounds[i]) + (labels.german ? " bis " : " to ") +
                    Text(classes.bounds[i + 1]);
        p.text({lx + 28, ly + 2}, label);
        ly += 18;
    }
    ly += 6;
    const std::pair<Colour, const char*> symbols[] = {
        {kBuildingGrey, labels.german ? "Geb\u00e4ude" : "building"},
        {kNoValue, labels.german ? "kein Wert" : "no value"}};
    for (const auto& [colour, text] : symbols) {
        p.setPen({kOutline, 1});
        p.setBrush({colour});
        p.rectangle({lx, ly, lx + 22, ly + 16});
        p.text({lx + 28, ly + 2}, text);
        ly += 18;
    }
    p.setPen({Rgb(0, 120, 0), 2});
    p.setBrush({kWhite, BrushStyle::Clear});
    p.ellipse({lx + 3, ly, lx + 19, ly + 16});
    p.text({lx + 28, ly + 2}, labels.german ? "Baumkrone" : "tree crown");

    // scale bar and north arrow under the plan
    const double metresPerPixel = g.cell / k;
    double bar = 1;
    for (double candidate : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0, 200.0, 500.0, 1000.0})
        if (candidate / metresPerPixel <= (l.plan.right - l.plan.left) / 3.0) bar = candidate;
    const int barPixels = int(std::lround(bar / metresPerPixel));
    const int by = l.plan.bottom + 14;
    p.setPen({kBlack, 2});
    p.moveTo({kMargin, by});
    p.lineTo({kMargin + barPixels, by});
    p.moveTo({kMargin, by - 4});
    p.lineTo({kMargin, by + 5});
    p.moveTo({kMargin + barPixels, by - 4});
    p.lineTo({kMargin + barPixels, by + 5});
    p.text({kMargin + barPixels + 8, by - 6}, Text(bar) + " m");
    const int ax = l.plan.right - 14;
    p.setPen({kBlack, 1});
    p.setBrush({kBlack});
    p.polygon({{ax, by - 8}, {ax - 6, by + 8}, {ax, by + 4}, {ax + 6, by + 8}});
    p.text({ax - 22, by - 6}, "N");
    return p;
}

std::optional<std::array<int, 2>> CellAt(const MapResult& map, double x, double y) {
    const Layout l = LayoutOf(map.grid);
    const double cx = (x - l.plan.left) / l.pixelsPerCell, cy = (y - l.plan.top) / l.pixelsPerCell;
    if (!(cx >= 0 && cy >= 0 && cx < map.grid.columns && cy < map.grid.rows)) return std::nullopt;
    return std::array<int, 2>{int(cx), int(cy)};
}

std::string DescribeCell(const MapResult& map, int column, int row, bool german) {
    const MapGrid& g = map.grid;
    char where[80];
    std::snprintf(where, sizeof where, "x %.1f m, y %.1f m: ", g.centreX(column), g.centreY(row));
    const std::size_t i = std::size_t(row) * std::size_t(g.columns) + std::size_t(column);
    std::string text = where;
    if (map.inside[i]) return text + (german ? "im Geb\u00e4ude" : "inside a building");
    for (std::size_t l = 0; l < map.layers.size(); ++l) {
        const MapBand& band = map.layers[l].band;
        const float v = map.layers[l].values[i];
        std::string item;
        if (std::isnan(v)) {
            item = band.name + (german ? " kein Wert" : " no value");
        } else if (band.quantity == MapQuantity::Sun && band.statistic == MapStatistic::Value) {
            item = v > 0.5f ? (german ? "in der Sonne" : "in the sun")
                            : (german ? "im Schatten" : "in the shade");
        } else {
            char value[32];
            std::snprintf(value, sizeof value, band.unit.empty() ? "%.3f" : "%.1f", double(v));
            item = band.name + " " + value + UnitSuffixPlain(band);
        }
        text += (l ? ", " : "") + item;
    }
    return text;
}

void SaveMap(const std::string& path, const MapResult& map, const ObstacleScene& scene,
             const MapLabels& labels, const std::optional<MapGeoreference>& geo) {
    const std::string ext = ExtensionOf(path);
    if (ext == ".tif" || ext == ".tiff") return WriteGeoTiff(path, map, labels, geo);
    if (ext == ".asc") {
        if (map.layers.size() != 1)
            throw std::invalid_argument(
                "an ASCII grid holds one quantity: give one with --map-quantity (or save a .tif "
                "for several)");
        return WriteAsciiGrid(path, map, 0, geo);
    }
    if (ext == ".svg" || ext == ".png") {
        if (map.layers.size() != 1)
            throw std::invalid_argument(
                "a map picture shows one quantity: give one with --map-quantity (or save a .tif "
                "for several)");
        const Picture picture = DrawMapPicture(map, 0, scene, labels);
        if (ext == ".svg") return picture.writeSvg(path);
        return WritePng(path, picture.rasterize());
    }
    throw std::invalid_argument("a map is saved as FILE.tif, FILE.asc, FILE.svg or FILE.png, not " +
                                path);
}

}  // namespace umbrix::maps

#include "models/ObstaclePlan.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/Format.h"

namespace umbrix {

namespace {

constexpr Colour kGrey = 0x808080;
constexpr Colour kLightGrey = 0xC0C0C0;
constexpr Colour kYellow = 0x00FFFF;
constexpr Colour kDeciduousGreen = 0x008000;
constexpr Colour kConiferTeal = 0x808000;
constexpr Colour kRed = 0x0000FF;

// A scale at or below zero has no plan, and one beyond a million kilometres per pixel no grid;
// such a scale is refused and the previous one kept.
bool UsableScale(double s) {
    return s > 0 && s <= 1e9;
}

}  // namespace

ObstaclePlan::ObstaclePlan() = default;

int ObstaclePlan::ClampPixel(double v) {
    return int(std::clamp(v, -1.0e6, 1.0e6));
}

Point ObstaclePlan::planPoint(double x, double y) const {
    return {kCentre + ClampPixel(std::nearbyint(x / scale_)),
            kCentre - ClampPixel(std::nearbyint(y / scale_))};
}

void ObstaclePlan::zoom(bool in) {
    if (in && scale_ > 0.05) {
        scale_ /= 2;
        mapZoom_ /= 2;
    } else if (!in && scale_ < 20) {
        scale_ *= 2;
        mapZoom_ *= 2;
    }
}

bool ObstaclePlan::setScale(double metresPerPixel) {
    if (!UsableScale(metresPerPixel)) return false;
    mapZoom_ *= metresPerPixel / scale_;
    scale_ = metresPerPixel;
    return true;
}

bool ObstaclePlan::setScaleFromYardstick(double metres, double pixels) {
    if (!(pixels > 0) || !UsableScale(metres / pixels)) return false;
    mapZoom_ = scale_;
    scale_ = metres / pixels;
    return true;
}

bool ObstaclePlan::fit(const std::vector<Obstacle>& obstacles) {
    // the plan is centred on the location, so the farthest reach in x or y decides
    double reach = 0;
    for (const Obstacle& ob : obstacles) {
        if (ob.isBuilding()) {
            for (int k = 1; k <= 8; ++k) {
                const Point3 c = ob.corner(k);
                reach = std::max({reach, std::abs(double(c.x)), std::abs(double(c.y))});
            }
        } else {
            const double r = std::abs(double(ob.crownRadius()));
            reach = std::max({reach, std::abs(double(ob.x())) + r, std::abs(double(ob.y())) + r});
        }
    }
    if (!(reach > 0) || !std::isfinite(reach)) return false;
    const double needed = reach / (0.9 * kCentre);
    const double decade = std::pow(10.0, std::floor(std::log10(needed)));
    double chosen = 10 * decade;
    for (double step : {1.0, 1.25, 2.0, 2.5, 5.0}) {
        if (step * decade >= needed * (1 - 1e-9)) {
            chosen = step * decade;
            break;
        }
    }
    return setScale(std::max(chosen, 0.05));
}

void ObstaclePlan::resetScale() {
    scale_ = 1;
    mapZoom_ = 1;
}

void ObstaclePlan::setMap(Raster map, std::string fileName) {
    map_ = std::move(map);
    mapFileName_ = std::move(fileName);
    mapX_ = mapY_ = kCentre;
}

void ObstaclePlan::removeMap() {
    map_ = Raster();
    mapX_ = mapY_ = kCentre;
    mapZoom_ = 1;
}

void ObstaclePlan::moveMap(double x, double y) {
    mapX_ = ClampPixel(x);
    mapY_ = ClampPixel(y);
    drawMapView();
}

Raster ObstaclePlan::composedView() const {
    Raster out = mapView_;
    out.drawRaster(out.bounds(), plan_, true);
    return out;
}

void ObstaclePlan::drawMapView() {
    mapView_.reset(kSize, kSize);
    if (map_.empty()) return;
    for (int Y = 0; Y < kSize; ++Y) {
        int sy = ClampPixel(mapY_ + std::nearbyint((Y - kCentre) * mapZoom_));
        Colour* row = mapView_.row(Y);
        for (int X = 0; X < kSize; ++X)
            row[X] = map_.pixel(ClampPixel(mapX_ + std::nearbyint((X - kCentre) * mapZoom_)), sy);
    }
}

void ObstaclePlan::drawGrid() {
    double e0 = kCentre * scale_;
    int a = int(std::trunc(std::log10(e0)));
    double unit = std::pow(10.0, a);
    int c = int(std::trunc(e0 / unit));
    double extent = c * unit;
    double coarse = unit / scale_;
    double q = c == 1 ? coarse / 5 : (c >= 2 && c <= 5 ? coarse / 2 : coarse);
    Pen fine{kGrey};
    Pen black{kBlack};
    auto lines = [this](double step, int from, int to, const Pen& pen) {
        for (int k = from; k <= to; ++k) {
            int at = kCentre + ClampPixel(std::nearbyint(k * step));
            plan_.line({at, 0}, {at, kSize}, pen);
            plan_.line({0, at}, {kSize, at}, pen);
        }
    };
    int nFine = int(std::trunc(kCentre / q));
    lines(q, -nFine, nFine, fine);
    lines(coarse, -c, c, black);
    plan_.rectangle(Rect{0, 0, kSize, kSize}, black, Brush{kWhite, BrushStyle::Clear});
    std::string plus = general(extent, 5) + " m", minus = general(-extent, 5) + " m";
    int offset = ClampPixel(std::nearbyint(extent / scale_));
    constexpr double kTextHeight = 10;
    int h = int(kTextHeight);
    auto clampX = [](int x, const std::string& s) {
        return std::clamp(x, 2, kSize - 2 - TextWidth(s, kTextHeight));
    };
    plan_.text({clampX(kCentre + offset - TextWidth(plus, kTextHeight) / 2, plus), 2}, plus, kBlack,
               kTextHeight);
    plan_.text({clampX(kCentre - offset - TextWidth(minus, kTextHeight) / 2, minus), 2}, minus,
               kBlack, kTextHeight);
    // the labels of the y axis keep clear of the x axis labels along the top edge
    const int top = 2 + h + 4;
    plan_.text({2, std::clamp(kCentre - offset - h / 2, top, kSize - 2 - h)}, plus, kBlack,
               kTextHeight);
    plan_.text({2, std::clamp(kCentre + offset - h / 2, top, kSize - 2 - h)}, minus, kBlack,
               kTextHeight);
}

void ObstaclePlan::drawObstacle(const Obstacle& ob, bool selected) {
    Pen pen{kBlack};
    if (ob.isBuilding()) {
        Brush brush{selected ? kYellow : kLightGrey};
        std::array<Point, 4> bottom, top;
        for (int k = 1; k <= 4; ++k) {
            Point3 t = ob.corner(k), b = ob.corner(k + 4);
            top[k - 1] = planPoint(t.x, t.y);
            bottom[k - 1] = planPoint(b.x, b.y);
        }
        plan_.polygon(bottom, pen, brush);
        for (int k = 0; k < 4; ++k) plan_.polyline(std::array<Point, 2>{bottom[k], top[k]}, pen);
        plan_.polygon(top, pen, brush);
        return;
    }
    Colour fill = selected                             ? kYellow
                  : ob.kind == ObstacleKind::Deciduous ? kDeciduousGreen
                                                       : kConiferTeal;
    Point centre = planPoint(ob.x(), ob.y());
    int r = ClampPixel(std::nearbyint(std::abs(ob.crownRadius()) / scale_));
    plan_.ellipse(Rect{centre.x - r, centre.y - r, centre.x + r, centre.y + r}, pen, Brush{fill});
    plan_.setPixel(centre.x, centre.y, kBlack);
}

void ObstaclePlan::draw(const std::vector<Obstacle>& obstacles, const Marks& marks) {
    drawMapView();
    plan_.reset(kSize, kSize);
    if (!marks.gridOnTop) drawGrid();
    for (const Obstacle& ob : obstacles) drawObstacle(ob, false);
    if (marks.selected >= 0 && marks.selected < int(obstacles.size()))
        drawObstacle(obstacles[marks.selected], true);
    if (marks.pending && marks.pending->size() > 1) plan_.polyline(*marks.pending, Pen{kBlack});
    plan_.ellipse(Rect{197, 197, 204, 204}, Pen{kRed}, Brush{kRed});
    if (marks.gridOnTop) drawGrid();
    if (marks.hover && marks.hover->first < int(obstacles.size())) {
        const Obstacle& ob = obstacles[marks.hover->first];
        Point p = planPoint(ob.handleX(marks.hover->second), ob.handleY(marks.hover->second));
        plan_.ellipse(Rect{p.x - 5, p.y - 5, p.x + 5, p.y + 5},
                      Pen{kBlack, 1, PenStyle::Solid, PenMode::Invert},
                      Brush{kWhite, BrushStyle::Clear});
    }
}

}  // namespace umbrix

#include "horizon/ObstacleProjection.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "horizon/Fisheye.h"
#include "solar/SunPosition.h"

namespace umbrix {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kPointsPerEdge = 80;
constexpr int kCrownPoints = 320;
// Degenerate crown sizes are replaced by this, m.
constexpr double kMinCrownSize = 0.1;
// A trunk is drawn at least this wide on each side of its direction, rad.
constexpr double kMinTrunkHalfWidth = 0.01;

double Azimuth(double e, double n) {
    double a = AzimuthFromVector(e, n);
    return a > 2 * kPi ? a - 2 * kPi : a;
}

// Elevation of a point `vertical` above and `horizontal` away from the eye. Straight up when the
// point is above or level with the eye at no horizontal distance; straight down when it is
// below, so that something directly beneath the location counts as below the horizon.
double Elevation(double vertical, double horizontal) {
    if (horizontal > 0) return std::atan(vertical / horizontal);
    return vertical >= 0 ? kPi / 2 : -kPi / 2;
}

// Collects the directions of an outline and turns them into image points. A point straight
// below the eye has no azimuth of its own; it takes that of the point before it on the outline,
// so the outline stays on the horizon circle where it passes beneath the location.
class Outline {
  public:
    explicit Outline(std::size_t n) { points_.reserve(n); }

    void add(double azimuth, double elevation, bool azimuthKnown = true) {
        if (elevation > 0) above_ = true;
        points_.push_back({azimuth, elevation, azimuthKnown});
    }

    std::optional<std::vector<Point>> finish() {
        if (!above_) return std::nullopt;
        auto known = std::find_if(points_.rbegin(), points_.rend(),
                                  [](const Direction& d) { return d.azimuthKnown; });
        double last = known == points_.rend() ? 0.0 : known->azimuth;
        std::vector<Point> out;
        out.reserve(points_.size());
        for (const Direction& d : points_) {
            if (d.azimuthKnown) last = d.azimuth;
            out.push_back(ProjectToFisheye(d.azimuthKnown ? d.azimuth : last, d.elevation));
        }
        return out;
    }

  private:
    struct Direction {
        double azimuth, elevation;
        bool azimuthKnown;
    };
    std::vector<Direction> points_;
    bool above_ = false;
};

// Position of a tree relative to the location, heights above the location height.
struct TreeFrame {
    double hp, lp;  // tree height and trunk length above z0
    double a0;      // azimuth of the trunk
    double d;       // horizontal distance of the trunk
};

TreeFrame FrameOf(const Obstacle& tree, double z0) {
    double x = tree.x(), y = tree.y();
    return {tree.height() - z0, tree.trunkLength() - z0, Azimuth(x, y), std::sqrt(x * x + y * y)};
}

}  // namespace

Point ProjectToFisheye(double azimuth, double elevation) {
    if (elevation < 0) elevation = 0;
    return FisheyePixel(azimuth, 1 - 2 * elevation / kPi);
}

double ProjectionSortKey(const Obstacle& ob) {
    if (ob.isBuilding()) {
        double sx = 0, sy = 0, sz = 0;
        for (int k = 1; k <= 8; ++k) {
            Point3 p = ob.corner(k);
            sx += p.x;
            sy += p.y;
            sz += p.z;
        }
        return sx * sx + sy * sy + sz * sz;
    }
    double x = ob.x(), y = ob.y(), h = ob.height();
    return x * x + y * y + h * h;
}

std::vector<std::size_t> SortForProjection(std::vector<Obstacle>& obstacles) {
    std::vector<std::size_t> order(obstacles.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::vector<double> keys(obstacles.size());
    for (std::size_t i = 0; i < obstacles.size(); ++i) keys[i] = ProjectionSortKey(obstacles[i]);
    // stable, so that equal keys keep their order as an insertion sort leaves them
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] > keys[b]; });
    std::vector<Obstacle> sorted;
    sorted.reserve(obstacles.size());
    for (std::size_t i : order) sorted.push_back(obstacles[i]);
    obstacles = std::move(sorted);
    return order;
}

std::optional<std::vector<Point>> BuildingFace(const Obstacle& building, int face, double z0) {
    static constexpr int kFaces[6][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {5, 6, 2, 1},
                                         {6, 7, 3, 2}, {7, 8, 4, 3}, {8, 5, 1, 4}};
    const int* k = kFaces[face - 1];
    Outline outline(4 * kPointsPerEdge);
    for (int i = 0; i < 4; ++i) {
        Point3 from = building.corner(k[i]);
        Point3 to = building.corner(k[(i + 1) % 4]);
        from.z -= z0;
        to.z -= z0;
        for (int j = 1; j <= kPointsPerEdge; ++j) {
            double qx = ((kPointsPerEdge - j) * from.x + j * to.x) / kPointsPerEdge;
            double qy = ((kPointsPerEdge - j) * from.y + j * to.y) / kPointsPerEdge;
            double qz = ((kPointsPerEdge - j) * from.z + j * to.z) / kPointsPerEdge;
            double h2 = qx * qx + qy * qy;
            double e = Elevation(qz, std::sqrt(h2));
            outline.add(Azimuth(qx, qy), e, h2 > 0 || e > 0);
        }
    }
    return outline.finish();
}

std::optional<std::vector<Point>> DeciduousCrown(const Obstacle& tree, double z0) {
    TreeFrame f = FrameOf(tree, z0);
    double c = (f.hp - f.lp) / 2;
    if (c == 0) c = kMinCrownSize;
    double r = tree.crownRadius();
    if (r == 0) r = kMinCrownSize;
    // With horizontal distances scaled by c / r the crown is a sphere of radius c.
    double dp = f.d * c / r;
    double zc = f.lp + c;
    double beta = Elevation(zc, dp);
    double bigD = std::sqrt(dp * dp + zc * zc);
    double alpha = kPi / 2;  // the location inside the crown sees it to 90 degrees all round
    if (bigD >= c) {
        double t = std::sqrt(bigD * bigD - c * c);
        if (t > 0) alpha = std::atan(c / t);
    }
    Outline outline(kCrownPoints);
    for (int i = 1; i <= kCrownPoints; ++i) {
        double phi = i * 2 * kPi / kCrownPoints;
        double fwd = (std::cos(beta + alpha) * (1 + std::cos(phi)) +
                      std::cos(beta - alpha) * (1 - std::cos(phi))) /
                     2;
        double lat = std::sin(alpha) * std::sin(phi);
        double vert = (std::sin(beta + alpha) * (1 + std::cos(phi)) +
                       std::sin(beta - alpha) * (1 - std::cos(phi))) /
                      2;
        double hz = std::sqrt(fwd * fwd + lat * lat);
        // the angle of the vector, so that points behind the location stay behind it
        double delta = std::atan2(lat, fwd);
        double e = Elevation(vert * (c / r), hz);
        outline.add(f.a0 + delta, e);
    }
    return outline.finish();
}

ConeCrown ConiferCrown(const Obstacle& tree, double z0) {
    TreeFrame f = FrameOf(tree, z0);
    double r = tree.crownRadius();
    double d2 = f.d * f.d;
    // Direction to the tangent point of a horizontal circle of radius rho at height z.
    auto tangent = [d2](double rho, double z, double& delta, double& e) {
        double g = d2 - rho * rho;
        if (g > 0) {
            delta = std::atan(rho / std::sqrt(g));
            e = std::atan(z / std::sqrt(g));
        } else {
            delta = kPi / 2;
            e = Elevation(z, 0);
        }
    };

    std::vector<double> az(240), el(240);
    for (int i = 1; i <= 80; ++i) {
        double s = 1 - i / 80.0;
        double delta, e;
        tangent(s * r, s * f.lp + (1 - s) * f.hp, delta, e);
        az[i - 1] = f.a0 + delta;
        el[i - 1] = e;
        az[160 - i] = f.a0 - delta;
        el[160 - i] = e;
    }
    for (int i = 1; i <= 80; ++i) {
        double s = 1 - 2 * i / 80.0;
        double delta, e;
        tangent(s * r, f.lp, delta, e);
        az[160 + i - 1] = f.a0 - delta;
        el[160 + i - 1] = e;
    }
    Outline outline(240);
    for (int i = 0; i < 240; ++i) outline.add(az[i], el[i]);

    Outline base(160);
    for (int i = 1; i <= 160; ++i) {
        double psi = i * kPi / 80;
        double fw = f.d - r * std::sin(psi);
        double q = r * std::cos(psi);
        // the angle of the vector: the far side of the circle stays behind the location
        base.add(f.a0 + std::atan2(q, fw), Elevation(f.lp, std::sqrt(fw * fw + q * q)),
                 fw != 0 || q != 0 || f.lp >= 0);
    }
    return {outline.finish(), base.finish()};
}

std::optional<TrunkShape> Trunk(const Obstacle& tree, double z0) {
    TreeFrame f = FrameOf(tree, z0);
    double zm = (f.hp + f.lp) / 2;
    if (!(zm > 0)) return std::nullopt;  // crown centre at or below the location height
    double et = Elevation(zm, f.d);      // straight up for a trunk at the location
    double w = std::atan2(tree.trunkDiameter() / 2, f.d);
    if (w < kMinTrunkHalfWidth) w = kMinTrunkHalfWidth;
    return TrunkShape{{ProjectToFisheye(f.a0 - w, 0), ProjectToFisheye(f.a0 + w, 0),
                       ProjectToFisheye(f.a0 + w, et), ProjectToFisheye(f.a0 - w, et)}};
}

std::vector<ProjectedShape> ProjectObstacles(const std::vector<Obstacle>& obstacles,
                                             const ProjectionSettings& settings,
                                             const std::function<void()>& perObstacle) {
    std::vector<ProjectedShape> shapes;
    auto polygon = [&shapes](std::optional<std::vector<Point>>&& points, Colour colour) {
        if (points) shapes.push_back({ProjectedShape::Type::Polygon, colour, std::move(*points)});
    };
    auto enabled = [&settings](const Obstacle& ob) {
        return KindIncluded(ob.kind, settings.buildings, settings.deciduous, settings.conifers);
    };

    for (const Obstacle& ob : obstacles) {
        if (perObstacle) perObstacle();
        if (!enabled(ob) || ob.isBuilding()) continue;
        if (ob.kind == ObstacleKind::Deciduous) {
            polygon(DeciduousCrown(ob, settings.z0), kCrownColour);
        } else {
            ConeCrown cone = ConiferCrown(ob, settings.z0);
            polygon(std::move(cone.outline), kCrownColour);
            polygon(std::move(cone.base), kCrownColour);
        }
    }
    for (const Obstacle& ob : obstacles) {
        if (perObstacle) perObstacle();
        if (!enabled(ob)) continue;
        if (ob.isBuilding()) {
            for (int face = 1; face <= 6; ++face)
                polygon(BuildingFace(ob, face, settings.z0), kBuildingColour);
        } else if (std::optional<TrunkShape> trunk = Trunk(ob, settings.z0)) {
            shapes.push_back({ProjectedShape::Type::Polygon, kBuildingColour, trunk->quad});
            // the pen also draws the stretch of the horizon circle under the trunk
            shapes.push_back(
                {ProjectedShape::Type::Arc, kBuildingColour, {trunk->quad[1], trunk->quad[0]}});
        }
    }
    return shapes;
}

Picture RenderObstacleHorizon(const std::vector<ProjectedShape>& shapes) {
    Picture drawing(481, 481);
    for (const ProjectedShape& shape : shapes) {
        drawing.setPen(Pen{shape.colour});
        if (shape.type == ProjectedShape::Type::Polygon) {
            drawing.setBrush(Brush{shape.colour});
            drawing.polygon(shape.points);
        } else {
            drawing.arc(Rect{0, 0, 481, 481}, shape.points[0], shape.points[1]);
        }
    }
    Picture picture(481, 481);
    if (!shapes.empty()) picture.drawPicture(Rect{0, 0, 482, 482}, drawing);
    return picture;
}

}  // namespace umbrix

#include "diagrams/Shadows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "diagrams/SunPath.h"
#include "platform/Host.h"
#include "solar/SunPosition.h"

namespace umbrix {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180;

// A sun a few thousandths of a degree above the horizon casts shadows tens of kilometres long;
// beyond this the drawing inside the square no longer changes, while the coordinates would
// overflow the picture's integers.
constexpr double kMaxTanZ = 1e4;
// Picture coordinates are kept within this, whatever the obstacle file holds.
constexpr double kMaxUnits = 1e9;

// Building edges as corner pairs, and the faces as four edges each: the first two walked from
// their first corner to their second, the last two back.
constexpr std::array<std::array<int, 2>, 12> kEdges{{{1, 2},
                                                     {2, 3},
                                                     {4, 3},
                                                     {1, 4},
                                                     {5, 6},
                                                     {6, 7},
                                                     {8, 7},
                                                     {5, 8},
                                                     {5, 1},
                                                     {6, 2},
                                                     {7, 3},
                                                     {8, 4}}};
constexpr std::array<std::array<int, 4>, 6> kFaces{
    {{1, 2, 3, 4}, {5, 6, 7, 8}, {5, 10, 1, 9}, {6, 11, 2, 10}, {7, 11, 3, 12}, {8, 12, 4, 9}}};
constexpr int kEdgePoints = 20;

struct Sun {
    double sinA = 0, cosA = 0, tanZ = 0;
};

// A point on the picture before it is rounded to whole units.
struct Spot {
    double x = 0, y = 0;
};

int Unit(double v) {
    if (std::isnan(v)) return 0;
    return int(std::nearbyint(std::clamp(v, -kMaxUnits, kMaxUnits)));
}

Point Rounded(const Spot& s) {
    return {Unit(s.x), Unit(s.y)};
}

// What lies beyond the picture's square is cut off here rather than left to a clip of the
// picture, so that the picture shows the same in every renderer of its SVG. Outlines are drawn
// on their edge, so the cut stays just over half a pixel of the shown square inside the last
// unit: an outline on the edge then rounds onto the square's last pixel, not beyond it.
constexpr double kSquare = kShadowPictureSize - 6;

bool Inside(const Spot& s) {
    return s.x >= 0 && s.x <= kSquare && s.y >= 0 && s.y <= kSquare;
}

// Sutherland-Hodgman against the four sides of the square.
std::vector<Spot> ClipToSquare(std::vector<Spot> polygon) {
    for (int side = 0; side < 4 && !polygon.empty(); ++side) {
        const bool vertical = side < 2;  // a side x = bound, else y = bound
        const double bound = side % 2 ? kSquare : 0;
        auto coord = [vertical](const Spot& s) { return vertical ? s.x : s.y; };
        auto in = [&](const Spot& s) { return side % 2 ? coord(s) <= bound : coord(s) >= bound; };
        std::vector<Spot> out;
        out.reserve(polygon.size() + 4);
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const Spot& a = polygon[(i + polygon.size() - 1) % polygon.size()];
            const Spot& b = polygon[i];
            if (in(b) != in(a)) {
                const double f = (bound - coord(a)) / (coord(b) - coord(a));
                out.push_back({a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)});
            }
            if (in(b)) out.push_back(b);
        }
        polygon = std::move(out);
    }
    return polygon;
}

class ShadowDrawing {
  public:
    ShadowDrawing(Picture& picture, double scale, const Sun& sun)
        : p_(picture), scale_(scale), sun_(sun) {}

    Spot map(double x, double y) const {
        return {(x / scale_ + 200.5) * 10, (200.5 - y / scale_) * 10};
    }
    // The shadow of the point (x, y) at height z, on the picture.
    Spot shadow(double x, double y, double z) const {
        return map(x - sun_.sinA * sun_.tanZ * z, y - sun_.cosA * sun_.tanZ * z);
    }

    void polygon(std::vector<Spot> points) {
        points = ClipToSquare(std::move(points));
        if (points.size() < 3) return;
        std::vector<Point> rounded;
        rounded.reserve(points.size());
        for (const Spot& s : points) rounded.push_back(Rounded(s));
        p_.polygon(std::move(rounded));
    }

    void line(Spot a, Spot b) {
        // Liang-Barsky
        double t0 = 0, t1 = 1;
        const double dx = b.x - a.x, dy = b.y - a.y;
        for (auto [q, d] :
             {std::pair{a.x, -dx}, {kSquare - a.x, dx}, {a.y, -dy}, {kSquare - a.y, dy}}) {
            if (d == 0) {
                if (q < 0) return;
                continue;
            }
            const double t = q / -d;
            if (d < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
        }
        if (t0 > t1) return;
        p_.moveTo(Rounded({a.x + t0 * dx, a.y + t0 * dy}));
        p_.lineTo(Rounded({a.x + t1 * dx, a.y + t1 * dy}));
    }

    // The outline of an ellipsoid crown seen along the sun's direction.
    void deciduousCrown(const Obstacle& tree) {
        const double x = tree.x(), y = tree.y(), h = tree.height(), r = tree.crownRadius(),
                     l = tree.trunkLength();
        if (!(r > 0)) return;  // no crown
        const double alpha = std::atan(sun_.tanZ * ((h - l) / 2) / r);
        const double cosAlpha = std::cos(alpha), sinAlpha = std::sin(alpha);
        std::vector<Spot> points;
        points.reserve(80);
        for (int k = 1; k <= 80; ++k) {
            const double u = 2 * kPi * k / 80;
            const double cu = std::cos(u), su = std::sin(u);
            points.push_back(shadow(x + r * (sun_.cosA * su - cosAlpha * sun_.sinA * cu),
                                    y - r * (sun_.sinA * su + cosAlpha * sun_.cosA * cu),
                                    (h + l) / 2 + (h - l) / 2 * sinAlpha * cu));
        }
        polygon(std::move(points));
    }

    // A cone: the triangle of the base's outermost points across the sun and the apex, then
    // the base circle.
    void coniferCrown(const Obstacle& tree) {
        const double x = tree.x(), y = tree.y(), h = tree.height(), r = tree.crownRadius(),
                     l = tree.trunkLength();
        polygon({shadow(x + r * sun_.cosA, y - r * sun_.sinA, l),
                 shadow(x - r * sun_.cosA, y + r * sun_.sinA, l), shadow(x, y, h)});
        std::vector<Spot> base;
        base.reserve(41);
        for (int k = 0; k <= 40; ++k) {
            const double w = k * kPi / 20;
            base.push_back(shadow(x + r * std::cos(w), y + r * std::sin(w), l));
        }
        polygon(std::move(base));
    }

    void building(const Obstacle& b) {
        std::array<std::array<Spot, kEdgePoints>, 12> edges;
        for (std::size_t e = 0; e < kEdges.size(); ++e) {
            const Point3 P = b.corner(kEdges[e][0]), Q = b.corner(kEdges[e][1]);
            for (int j = 1; j <= kEdgePoints; ++j) {
                const double f = (kEdgePoints - j), g = (j - 1);
                edges[e][j - 1] = shadow((g * Q.x + f * P.x) / 19, (g * Q.y + f * P.y) / 19,
                                         (g * Q.z + f * P.z) / 19);
            }
        }
        for (const auto& face : kFaces) {
            std::vector<Spot> points;
            points.reserve(4 * kEdgePoints);
            for (int i = 0; i < 4; ++i) {
                const auto& edge = edges[face[i] - 1];
                if (i < 2)
                    points.insert(points.end(), edge.begin(), edge.end());
                else
                    points.insert(points.end(), edge.rbegin(), edge.rend());
            }
            polygon(std::move(points));
        }
    }

    // The trunk up to half the sum of tree height and trunk length, 2·d wide across the sun.
    void trunk(const Obstacle& tree) {
        const double x = tree.x(), y = tree.y(), d = tree.trunkDiameter();
        const double top = tree.height() + tree.trunkLength();
        std::vector<Spot> points;
        for (int k = 1; k <= 4; ++k) {
            const double w = k * kPi / 2;
            const double c = std::cos(w) + std::sin(w);
            points.push_back(shadow(x - c * d * sun_.cosA, y + c * d * sun_.sinA,
                                    top * (1 - std::cos(w) + std::sin(w)) / 4));
        }
        polygon(std::move(points));
    }

    void buildingPlan(const Obstacle& b) {
        std::vector<Spot> bottom, top;
        for (int k = 1; k <= 4; ++k) {
            top.push_back(map(b.corner(k).x, b.corner(k).y));
            bottom.push_back(map(b.corner(k + 4).x, b.corner(k + 4).y));
        }
        polygon(bottom);
        for (int k = 0; k < 4; ++k) line(top[k], bottom[k]);
        polygon(top);
    }

    void treePlan(const Obstacle& tree, Colour crown) {
        const double x = tree.x(), y = tree.y(), r = tree.crownRadius();
        const Spot a = map(x - r, y - r), b = map(x + r, y + r);
        const Rect box{Unit(std::min(a.x, b.x)), Unit(std::min(a.y, b.y)), Unit(std::max(a.x, b.x)),
                       Unit(std::max(a.y, b.y))};
        p_.setBrush({crown, BrushStyle::Solid});
        if (box.left >= 0 && box.top >= 0 && box.right <= kSquare && box.bottom <= kSquare) {
            p_.ellipse(box);
        } else if (box.right > 0 && box.bottom > 0 && box.left < kSquare && box.top < kSquare) {
            // a crown across the edge: its circle as a polygon, cut there
            std::vector<Spot> circle;
            const double cx = (a.x + b.x) / 2, cy = (a.y + b.y) / 2, rx = std::abs(b.x - a.x) / 2,
                         ry = std::abs(b.y - a.y) / 2;
            for (int k = 0; k < 90; ++k)
                circle.push_back(
                    {cx + rx * std::cos(k * kPi / 45), cy + ry * std::sin(k * kPi / 45)});
            polygon(std::move(circle));
        }
        const Spot trunk = map(x, y);
        if (Inside(trunk)) p_.pixel(Rounded(trunk), kBlack);
    }

  private:
    Picture& p_;
    double scale_;
    Sun sun_;
};

bool Enabled(const Obstacle& o, const ShadowSettings& s) {
    return KindIncluded(o.kind, s.buildings, s.deciduous, s.conifers);
}

}  // namespace

Point ShadowMap(double x, double y, double scale) {
    return {Unit((x / scale + 200.5) * 10), Unit((200.5 - y / scale) * 10)};
}

Picture DrawShadowPicture(const std::vector<Obstacle>& obstacles, const ShadowSettings& s, double t,
                          Host* host) {
    if (host) host->setProgress(0);
    const float T = float(TrueLocalTime(s.day, s.longitude, s.timeZone, float(t)));
    const float A = float(SunAzimuth(s.day, s.latitude, T));
    const float Z = float(SunZenith(s.day, s.latitude, T));

    Picture p(kShadowPictureSize, kShadowPictureSize);
    Sun sun;
    sun.sinA = std::sin(A * kDeg);
    sun.cosA = std::cos(A * kDeg);
    sun.tanZ = std::min(std::tan(Z * kDeg), kMaxTanZ);
    ShadowDrawing d(p, s.scale, sun);

    // Night by the sun itself rather than by sunrise and sunset in local time, which would
    // turn the whole day dark where local sunset falls after midnight or the sun never sets.
    if (Z >= 90) {
        p.setPen({kBlack, 1, PenStyle::Solid});
        p.setBrush({kShadowDark, BrushStyle::Solid});
        p.rectangle({0, 0, kShadowPictureSize, kShadowPictureSize});
    } else {
        p.setPen({kShadowLight, 1, PenStyle::Solid});
        p.setBrush({kShadowLight, BrushStyle::Solid});
        for (const Obstacle& o : obstacles) {
            if (Enabled(o, s)) {
                if (o.kind == ObstacleKind::Deciduous) d.deciduousCrown(o);
                if (o.kind == ObstacleKind::Conifer) d.coniferCrown(o);
            }
            if (host) {
                host->stepProgress();
                host->processMessages();
            }
        }
        p.setPen({kShadowDark, 1, PenStyle::Solid});
        p.setBrush({kShadowDark, BrushStyle::Solid});
        for (const Obstacle& o : obstacles) {
            if (!Enabled(o, s)) continue;
            if (o.isBuilding())
                d.building(o);
            else
                d.trunk(o);
        }
    }

    p.setPen({kBlack, 1, PenStyle::Solid});
    for (const Obstacle& o : obstacles) {
        if (!Enabled(o, s)) continue;
        switch (o.kind) {
            case ObstacleKind::Building:
                p.setBrush({kShadowLight, BrushStyle::Solid});
                d.buildingPlan(o);
                break;
            case ObstacleKind::Deciduous:
                d.treePlan(o, kDeciduousGreen);
                break;
            case ObstacleKind::Conifer:
                d.treePlan(o, kConiferTeal);
                break;
        }
    }
    return p;
}

void DrawShadows(Picture& overlay, const std::vector<Obstacle>& obstacles,
                 const ShadowSettings& settings, double t, Host* host) {
    const Picture shadows = DrawShadowPicture(obstacles, settings, t, host);
    overlay.clear();
    overlay.setSize(kOverlaySize, kOverlaySize);
    overlay.drawPicture({0, 0, kShadowSquare, kShadowSquare}, shadows);
}

}  // namespace umbrix

#pragma once
// Projection of the obstacles into the 481 x 481 equidistant fisheye frame seen from the
// location of calculation: building faces, ellipsoid and cone crowns and trunks become filled
// polygons, crowns in light grey, faces and trunks in grey.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "horizon/Obstacles.h"
#include "platform/Picture.h"
#include "platform/Raster.h"

namespace umbrix {

constexpr Colour kCrownColour = 0xC0C0C0;     // 0xBBGGRR
constexpr Colour kBuildingColour = 0x808080;  // faces and trunks

// The image point of azimuth A (radians clockwise from north) and elevation e (radians; a
// negative e is raised to the horizon): radius (1 - 2e/pi) * 240 around (240, 240).
Point ProjectToFisheye(double azimuth, double elevation);

// Sort key, without the location height: (sum x)^2 + (sum y)^2 + (sum z)^2 over the eight
// corners of a building, x^2 + y^2 + h^2 for a tree.
double ProjectionSortKey(const Obstacle& obstacle);
// Largest key first; equal keys keep their order. Returns the previous index of each obstacle
// in the new order.
std::vector<std::size_t> SortForProjection(std::vector<Obstacle>& obstacles);

// Each shape builder returns nothing when the shape lies wholly at or below the location height
// (every point's elevation <= 0 before it is raised to the horizon): raised onto the horizon
// circle it would go once around it and fill the whole sky.

// Face 1..6 of a building as a 320-point polygon (80 points per edge). z0: location height.
std::optional<std::vector<Point>> BuildingFace(const Obstacle& building, int face, double z0);
// Ellipsoid crown of a deciduous tree, 320 points.
std::optional<std::vector<Point>> DeciduousCrown(const Obstacle& tree, double z0);
// Cone crown of a coniferous tree: the 240-point outline and the 160-point base circle.
struct ConeCrown {
    std::optional<std::vector<Point>> outline;
    std::optional<std::vector<Point>> base;
};
ConeCrown ConiferCrown(const Obstacle& tree, double z0);
// Trunk of either tree kind, from the horizon up to the crown centre: a quadrilateral
// Q1 = H(A0 - w), Q2 = H(A0 + w), Q3 = P(A0 + w, e_t), Q4 = P(A0 - w, e_t), and the arc of
// the horizon ellipse (0, 0)-(481, 481) counter-clockwise from the ray through Q2 to the ray
// through Q1. Nothing when the crown centre is at or below the location height.
struct TrunkShape {
    std::vector<Point> quad;
};
std::optional<TrunkShape> Trunk(const Obstacle& tree, double z0);

// What the projection draws, in drawing order.
struct ProjectedShape {
    enum class Type { Polygon, Arc };
    Type type = Type::Polygon;
    Colour colour = kBuildingColour;
    // Polygon: its points. Arc: the start and end points of the rays (Q2, Q1).
    std::vector<Point> points;
    friend bool operator==(const ProjectedShape&, const ProjectedShape&) = default;
};

struct ProjectionSettings {
    double z0 = 1.0;  // location height above ground, m
    bool buildings = true;
    bool deciduous = true;
    bool conifers = true;
};

// The crown pass, then the face and trunk pass, each over the list in order. `perObstacle` runs
// before each obstacle of each pass (the front end processes pending messages there).
std::vector<ProjectedShape> ProjectObstacles(const std::vector<Obstacle>& obstacles,
                                             const ProjectionSettings& settings,
                                             const std::function<void()>& perObstacle = {});

// Records the shapes in a 481 x 481 drawing picture and that, stretched onto (0, 0)-(482, 482),
// in a new 481 x 481 picture: the obstacle horizon picture (white background, transparent).
Picture RenderObstacleHorizon(const std::vector<ProjectedShape>& shapes);

}  // namespace umbrix

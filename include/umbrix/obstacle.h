#pragma once
// Obstacles around the location of calculation: buildings, deciduous and coniferous trees.
//
// Coordinates are metres in a horizontal frame whose origin is the location of calculation:
// x east, y north, z up from the ground. Every value is a 4-byte float, as the obstacle file
// stores it.
#include <array>
#include <string>

namespace umbrix {

enum class ObstacleKind : char { Building = 'g', Deciduous = 'l', Conifer = 'n' };

struct Point3 {
    double x = 0, y = 0, z = 0;
};

// A kind letter and up to 26 values, addressed 1 to 26 as the file numbers them.
// Building: corner k = 1..8 at values 3k-2 (x), 3k-1 (y), 3k (z), corners 1-4 the top corners,
// 5-8 the bottom corners below them in the same order; 25 albedo, 26 emission coefficient.
// Trees: 1 x, 2 y of the trunk, 3 tree height h, 4 crown radius r, 5 trunk length l (height of
// the crown bottom), 6 trunk diameter, 7 albedo, 8 emission coefficient.
struct Obstacle {
    static constexpr int kMaxValues = 26;

    ObstacleKind kind = ObstacleKind::Building;
    std::array<float, kMaxValues> values{};

    float& value(int i) { return values[i - 1]; }
    float value(int i) const { return values[i - 1]; }

    bool isBuilding() const { return kind == ObstacleKind::Building; }
    bool isTree() const { return !isBuilding(); }
    // Values written to the file: 26 for a building, 8 for a tree.
    int valueCount() const { return isBuilding() ? 26 : 8; }
    // Values a file line must give; the albedo and emission coefficient may be left out.
    int requiredValues() const { return isBuilding() ? 24 : 6; }
    int albedoIndex() const { return isBuilding() ? 25 : 7; }

    float albedo() const { return value(albedoIndex()); }
    float emission() const { return value(albedoIndex() + 1); }
    void setAlbedo(float a) { value(albedoIndex()) = a; }
    void setEmission(float e) { value(albedoIndex() + 1) = e; }

    // Buildings: corner k = 1..8.
    Point3 corner(int k) const { return {value(3 * k - 2), value(3 * k - 1), value(3 * k)}; }
    void setCorner(int k, float x, float y, float z);

    // Trees.
    float x() const { return value(1); }
    float y() const { return value(2); }
    float height() const { return value(3); }
    float crownRadius() const { return value(4); }
    float trunkLength() const { return value(5); }
    float trunkDiameter() const { return value(6); }

    // Handles on the plan: the eight corners of a building, the trunk of a tree (1-based).
    int handleCount() const { return isBuilding() ? 8 : 1; }
    double handleX(int handle) const { return isBuilding() ? value(3 * handle - 2) : x(); }
    double handleY(int handle) const { return isBuilding() ? value(3 * handle - 1) : y(); }
    // Moves one handle (a corner, or the trunk) or all of them horizontally; z stays.
    void moveHandle(int handle, double dx, double dy);
    void moveAll(double dx, double dy);
    // Rotates every handle about the origin, counter-clockwise for a positive angle (radians).
    void rotate(double angle);

    // Why the values cannot be projected (empty when they can): a trunk longer than the tree
    // is high, a negative crown radius, or a value that is not finite.
    std::string geometryFault() const;
};

// Whether an obstacle of this kind takes part, by the editor's three "in calculation" boxes.
constexpr bool KindIncluded(ObstacleKind kind, bool buildings, bool deciduous, bool conifers) {
    switch (kind) {
        case ObstacleKind::Building:
            return buildings;
        case ObstacleKind::Deciduous:
            return deciduous;
        case ObstacleKind::Conifer:
            return conifers;
    }
    return false;
}

// A building standing on the ground with its four corners (x, y) given counter-clockwise or
// clockwise, its top at height.
Obstacle MakeBuilding(const std::array<std::array<float, 2>, 4>& footprint, float height,
                      float albedo, float emission);
Obstacle MakeTree(ObstacleKind kind, float x, float y, float height, float crownRadius,
                  float trunkLength, float trunkDiameter, float albedo, float emission);

}  // namespace umbrix

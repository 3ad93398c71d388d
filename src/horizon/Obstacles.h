#pragma once
// Obstacles around the location of calculation (buildings, deciduous and coniferous trees) and
// the obstacle file (.obs) that stores them.
//
// Coordinates are metres in a horizontal frame whose origin is the location of calculation:
// x east, y north, z up from the ground. Every value is a 4-byte float.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The "k" line of a file: the template map's centre pixel, the scale and the map file.
struct TemplateLine {
    int mx = 200;
    int my = 200;
    double scale = 1.0;  // metres per plan pixel
    std::string mapFile;
};

struct ObstacleFileContent {
    std::vector<Obstacle> obstacles;
    // Obstacle lines dropped because a number could not be read, numbers were missing or the
    // geometry was undefined; and the 1-based number of the first of them.
    int droppedLines = 0;
    int firstDroppedLine = 0;
    std::string firstDropReason;
    // Lines that are neither blank, an obstacle, the header ("#") nor the template line ("k"),
    // and the first of them; a file of only such lines is no obstacle file.
    int otherLines = 0;
    int firstOtherLine = 0;
    // True when the file holds anything but blank lines.
    bool hasContent = false;
};

// Reads the text of an obstacle file. Lines starting with "g", "l" or "n" are obstacles (at most
// 26 numbers are read, the rest of the line is skipped; a missing albedo and emission
// coefficient take the defaults); every other line is skipped. Never throws.
ObstacleFileContent ParseObstacleFile(std::string_view text, float defaultAlbedo,
                                      float defaultEmission);

// The text of an obstacle file: header line, optional template line, one line per obstacle with
// every value in two decimals; lines end in CR LF.
std::string FormatObstacleFile(const std::vector<Obstacle>& obstacles,
                               const std::string& programCaption,
                               const std::optional<TemplateLine>& templateLine);

// One obstacle line without its line end: "l 12.00 -3.50 10.00 3.00 4.00 0.30 0.30 0.95".
std::string FormatObstacleLine(const Obstacle& obstacle);

// The scale as the template line writes it: 23 characters, " 1.00000000000000E+0000".
std::string FormatScaleField(double scale);

}  // namespace umbrix

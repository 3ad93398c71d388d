#include "horizon/ObstacleProjection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "horizon/Fisheye.h"

using namespace umbrix;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180;

Obstacle Tree(ObstacleKind kind, float x, float y, float h, float r, float l, float d = 0.3f) {
    return MakeTree(kind, x, y, h, r, l, d, 0.3f, 0.95f);
}

// A box standing on the ground, corners counter-clockwise from the south-west.
Obstacle Box(float x0, float y0, float x1, float y1, float height) {
    return MakeBuilding({{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}}, height, 0.3f, 0.95f);
}

Raster Render(const std::vector<Obstacle>& list, double z0 = 1.0) {
    ProjectionSettings settings;
    settings.z0 = z0;
    return RenderObstacleHorizon(ProjectObstacles(list, settings)).rasterize();
}

// Whether the direction (azimuth, elevation in degrees) is obstructed in the picture.
bool Blocked(const Raster& picture, double azimuthDeg, double elevationDeg) {
    Point p = ProjectToFisheye(azimuthDeg * kDeg, elevationDeg * kDeg);
    return picture.pixel(p.x, p.y) != kWhite;
}

double Radius(Point p) {
    return std::hypot(p.x - 240.0, p.y - 240.0);
}

}  // namespace

TEST(ObstacleProjection, FisheyePointsOfAzimuthAndElevation) {
    struct Case {
        double azimuthDeg, elevationDeg;
        Point expected;
    } cases[] = {
        {0, 0, {240, 0}},
        {90, 0, {480, 240}},
        {180, 0, {240, 480}},
        {270, 0, {0, 240}},
        {123, 90, {240, 240}},
        {90, 45, {360, 240}},
        {0, -30, {240, 0}},  // below the horizon:
                             // raised onto the circle
        {45, 0, {410, 70}},  // 240 * sin 45 = 169.7
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProjectToFisheye(c.azimuthDeg * kDeg, c.elevationDeg * kDeg), c.expected)
            << c.azimuthDeg << " " << c.elevationDeg;
}

TEST(ObstacleProjection, SortByKeyLargestFirstEqualKeysKeepOrder) {
    // corner sums: x 8 * 0, y 8 * 6, z 4 * 16 -> centroid (0, 6, 8), 10 m away: key 6400
    Obstacle building = Box(-1, 5, 1, 7, 16);
    Obstacle far = Tree(ObstacleKind::Deciduous, 60, 0, 20, 3, 4);  // 3600 + 400
    Obstacle twin = Tree(ObstacleKind::Conifer, 0, 60, 20, 3, 4);   // same key
    Obstacle near = Tree(ObstacleKind::Deciduous, 3, 4, 10, 3, 4);  // 125
    EXPECT_DOUBLE_EQ(ProjectionSortKey(building), 6400.0);
    EXPECT_DOUBLE_EQ(ProjectionSortKey(far), 4000.0);

    std::vector<Obstacle> list = {near, far, building, twin};
    std::vector<std::size_t> order = SortForProjection(list);
    EXPECT_EQ(order, (std::vector<std::size_t>{2, 1, 3, 0}));
    EXPECT_TRUE(list[0].isBuilding());
    EXPECT_EQ(list[1].kind, ObstacleKind::Deciduous);
    EXPECT_EQ(list[2].kind, ObstacleKind::Conifer);
    EXPECT_FLOAT_EQ(list[3].x(), 3.0f);
}

TEST(ObstacleProjection, ShapeCountsAndUncheckedKindsLeaveNoTrace) {
    std::vector<Obstacle> list = {Box(-5, 10, 5, 20, 15),
                                  Tree(ObstacleKind::Deciduous, -8, -8, 10, 3, 4),
                                  Tree(ObstacleKind::Conifer, 8, -8, 12, 2, 3)};
    ProjectionSettings all;
    std::vector<ProjectedShape> shapes = ProjectObstacles(list, all);
    // crown, cone outline and base; five faces (the ground face lies below the eye); two
    // trunks of a quad and an arc each
    ASSERT_EQ(shapes.size(), 1u + 2u + 5u + 4u);
    EXPECT_EQ(shapes[0].points.size(), 320u);
    EXPECT_EQ(shapes[0].colour, kCrownColour);
    EXPECT_EQ(shapes[1].points.size(), 240u);
    EXPECT_EQ(shapes[2].points.size(), 160u);
    EXPECT_EQ(shapes[3].points.size(), 320u);
    EXPECT_EQ(shapes[3].colour, kBuildingColour);
    EXPECT_EQ(shapes[8].points.size(), 4u);
    EXPECT_EQ(shapes[9].type, ProjectedShape::Type::Arc);

    struct Case {
        bool buildings, deciduous, conifers;
        std::size_t shapes;
    } cases[] = {{false, true, true, 7},
                 {true, false, true, 9},
                 {true, true, false, 8},
                 {false, false, false, 0}};
    for (const Case& c : cases) {
        ProjectionSettings s;
        s.buildings = c.buildings;
        s.deciduous = c.deciduous;
        s.conifers = c.conifers;
        EXPECT_EQ(ProjectObstacles(list, s).size(), c.shapes);
    }
    ProjectionSettings none;
    none.buildings = none.deciduous = none.conifers = false;
    Raster empty = RenderObstacleHorizon(ProjectObstacles(list, none)).rasterize();
    EXPECT_EQ(empty, Raster(481, 481));

    int calls = 0;
    ProjectObstacles(list, all, [&calls] { ++calls; });
    EXPECT_EQ(calls, 6);  // once per obstacle in each pass
}

TEST(ObstacleProjection, BuildingCornerBelowLocationHeightLiesOnTheHorizon) {
    // a wall 10 m south; the bottom edge (ground, 1 m below the eye) is clipped to the horizon
    Obstacle b = Box(-10, -12, 10, -10, 20);
    std::optional<std::vector<Point>> face = BuildingFace(b, 3, 1.0);  // corners 5, 6, 2, 1
    ASSERT_TRUE(face);
    ASSERT_EQ(face->size(), 320u);
    for (int j = 0; j < 80; ++j) EXPECT_NEAR(Radius((*face)[j]), 240.0, 0.75) << j;
    // the top edge (2 -> 1) of this far wall is 19 m above the eye at 12 m
    Point top = (*face)[160 + 39];
    EXPECT_NEAR(Radius(top), (1 - 2 * std::atan(19.0 / 12.0) / kPi) * 240, 1.0);
    // the near wall, 10 m away, rises to 62.2 degrees

    Raster picture = Render({b});
    EXPECT_TRUE(Blocked(picture, 180, 5));
    EXPECT_TRUE(Blocked(picture, 180, 60));
    EXPECT_FALSE(Blocked(picture, 180, 65));
    EXPECT_FALSE(Blocked(picture, 0, 5));
}

TEST(ObstacleProjection, NothingBelowTheLocationHeightIsDrawn) {
    // from a balcony at 15 m: a tree below, a conifer below and the roof of a lower building
    std::vector<Obstacle> below = {Tree(ObstacleKind::Deciduous, 3, 2, 10, 3, 4),
                                   Tree(ObstacleKind::Conifer, -4, 1, 12, 2, 3),
                                   Box(-20, -20, 20, -2, 12)};
    ProjectionSettings high;
    high.z0 = 15;
    EXPECT_TRUE(ProjectObstacles(below, high).empty());
    EXPECT_EQ(Render(below, 15), Raster(481, 481));
    // a tree directly beneath the balcony
    EXPECT_TRUE(ProjectObstacles({Tree(ObstacleKind::Deciduous, 0, 0, 10, 3, 4)}, high).empty());
    // standing on the roof, right above one of its corners
    EXPECT_TRUE(ProjectObstacles({Box(0, 0, 10, 10, 12)}, high).empty());
    // from the ground the same obstacles are drawn
    EXPECT_EQ(ProjectObstacles(below, ProjectionSettings{}).size(), 3u + 4u + 5u);
}

TEST(ObstacleProjection, CrownOverheadCoversTheZenith) {
    // trunk 1 m north, crown from 4 to 10 m with radius 3 m: the location stands under it
    Raster picture = Render({Tree(ObstacleKind::Deciduous, 0, 1, 10, 3, 4)});
    EXPECT_TRUE(Blocked(picture, 0, 90));
    EXPECT_TRUE(Blocked(picture, 180, 70));
    EXPECT_FALSE(Blocked(picture, 180, 20));
    // the same under a cone
    Raster cone = Render({Tree(ObstacleKind::Conifer, 0, 1, 10, 3, 4)});
    EXPECT_TRUE(Blocked(cone, 0, 90));
}

TEST(ObstacleProjection, CrownBesideTheLocationKeepsItsWidth) {
    // 4 m north, 10 m high, radius 3 m, crown from 4 m: centre 6 m above the eye; the crown's
    // tangent cone has a half angle of asin(3 / sqrt(52)) = 24.6 degrees
    Obstacle tree = Tree(ObstacleKind::Deciduous, 0, 4, 10, 3, 4);
    std::optional<std::vector<Point>> crown = DeciduousCrown(tree, 1.0);
    ASSERT_TRUE(crown);
    Raster picture = Render({tree});
    double beta = std::atan(6.0 / 4.0) / kDeg;
    EXPECT_TRUE(Blocked(picture, 0, beta));
    EXPECT_TRUE(Blocked(picture, 0, beta + 22));
    EXPECT_FALSE(Blocked(picture, 0, beta + 27));
    EXPECT_TRUE(Blocked(picture, 0, beta - 22));
    // sideways the outline reaches about 24.6 degrees of arc from the centre direction
    double side = std::atan2(std::sin(22 * kDeg), std::cos(22 * kDeg) * std::cos(beta * kDeg));
    EXPECT_TRUE(Blocked(picture, side / kDeg,
                        std::asin(std::cos(22 * kDeg) * std::sin(beta * kDeg)) / kDeg));
}

TEST(ObstacleProjection, LocationInsideACrownSeesAHemisphereCovered) {
    // crown from 0.5 m to 10 m, radius 3 m, trunk 1 m north: the eye at 1 m is inside it
    Raster picture = Render({Tree(ObstacleKind::Deciduous, 0, 1, 10, 3, 0.5f)});
    EXPECT_TRUE(Blocked(picture, 0, 90));
    EXPECT_TRUE(Blocked(picture, 0, 3));
    EXPECT_TRUE(Blocked(picture, 90, 3));
    EXPECT_TRUE(Blocked(picture, 180, 50));
    EXPECT_FALSE(Blocked(picture, 180, 10));
}

TEST(ObstacleProjection, TreeAtTheLocationLooksStraightUp) {
    for (ObstacleKind kind : {ObstacleKind::Deciduous, ObstacleKind::Conifer}) {
        Obstacle tree = Tree(kind, 0, 0, 10, 3, 4);
        std::vector<ProjectedShape> shapes = ProjectObstacles({tree}, ProjectionSettings{});
        ASSERT_FALSE(shapes.empty());
        Raster picture = RenderObstacleHorizon(shapes).rasterize();
        EXPECT_TRUE(Blocked(picture, 0, 90));
        EXPECT_TRUE(Blocked(picture, 200, 70));
        EXPECT_FALSE(Blocked(picture, 200, 10));
        for (const ProjectedShape& s : shapes)
            for (Point p : s.points) EXPECT_LE(Radius(p), 241.0);
    }
    // standing in the middle of a crown: every direction is covered
    Raster inside = Render({Tree(ObstacleKind::Deciduous, 0, 0, 2, 3, 0)});
    EXPECT_TRUE(Blocked(inside, 0, 90));
    EXPECT_TRUE(Blocked(inside, 77, 2));
    EXPECT_TRUE(Blocked(inside, 250, 2));
}

TEST(ObstacleProjection, ConeApexAndTrunk) {
    // conifer 10 m north, apex 11 m above the eye (47.7 degrees), crown base 1 m above it
    Obstacle cone = Tree(ObstacleKind::Conifer, 0, 10, 12, 2, 2, 0.4f);
    Raster picture = Render({cone});
    EXPECT_TRUE(Blocked(picture, 0, 45));
    EXPECT_FALSE(Blocked(picture, 0, 50));
    EXPECT_TRUE(Blocked(picture, 0, 2));  // trunk below the crown
    EXPECT_FALSE(Blocked(picture, 20, 2));

    std::optional<TrunkShape> trunk = Trunk(cone, 1.0);
    ASSERT_TRUE(trunk);
    // trunk up to the crown centre, (11 + 1) / 2 = 6 m above the eye
    EXPECT_EQ(trunk->quad[2], ProjectToFisheye(std::atan2(0.2, 10.0), std::atan(6.0 / 10.0)));
    // at least 0.01 rad to each side
    std::optional<TrunkShape> thin = Trunk(Tree(ObstacleKind::Conifer, 0, 100, 12, 2, 2, 0), 1.0);
    EXPECT_EQ(thin->quad[0], ProjectToFisheye(-0.01, 0));
    // crown centre at or below the eye: no trunk
    EXPECT_FALSE(Trunk(Tree(ObstacleKind::Deciduous, 5, 5, 1.5f, 1, 0.5f), 1.0));
}

TEST(ObstacleProjection, WinterNoonSunBehindABuildingToTheSouth) {
    // 10 m south, 20 m high: its top edge stands 62 degrees high; the noon sun at 48 N in
    // December about 18.6 degrees
    Raster picture = Render({Box(-15, -14, 15, -10, 20)});
    EXPECT_TRUE(Blocked(picture, 180, 18.6));
    EXPECT_FALSE(Blocked(picture, 0, 18.6));
}

TEST(ObstacleProjection, SkyViewFactorOfACrownNearby) {
    // 4 m north, 10 m high, crown radius 3 m from 4 m: the crown is a sphere seen under a half
    // angle of asin(3 / sqrt(52)), so 1 - (1 - cos 24.6) = 0.909 of the sky stays free; a
    // crown folded forward (points behind the location drawn in front) would leave 0.926
    std::vector<ProjectedShape> shapes =
        ProjectObstacles({Tree(ObstacleKind::Deciduous, 0, 4, 10, 3, 4)}, ProjectionSettings{});
    std::erase_if(shapes, [](const ProjectedShape& s) { return s.colour != kCrownColour; });
    ASSERT_EQ(shapes.size(), 1u);
    Picture crown = RenderObstacleHorizon(shapes);
    HorizonSource sources[] = {&crown};
    SkyViewFactorValues svf = SkyViewFactors(sources, nullptr);
    EXPECT_NEAR(svf.SVF_Umb, 0.909, 0.003);
    EXPECT_LT(svf.SVF_cos, svf.SVF_Umb);
}

TEST(ObstacleProjection, BuildingToTheSouthHidesTheWinterNoonSun) {
    ProjectionSettings settings;
    Picture picture =
        RenderObstacleHorizon(ProjectObstacles({Box(-15, -14, 15, -10, 20)}, settings));
    HorizonSource sources[] = {&picture};
    Raster image = BuildHorizonImage(sources);
    EXPECT_TRUE(IsSunHidden(image, 90 - 18.6, 180));
    EXPECT_FALSE(IsSunHidden(image, 90 - 18.6, 0));
    EXPECT_FALSE(IsSunHidden(image, 90 - 65, 180));
    SkyViewFactorValues svf = SkyViewFactors(sources, nullptr);
    EXPECT_LT(svf.SVF_Umb, 0.9f);
    EXPECT_GT(svf.SVF_Umb, 0.5f);
}

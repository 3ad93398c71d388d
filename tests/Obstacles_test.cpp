#include "horizon/Obstacles.h"

#include <gtest/gtest.h>

#include <numbers>

#include "platform/Error.h"

using namespace umbrix;

namespace {

Obstacle SampleBuilding() {
    return MakeBuilding({{{0, 10}, {5, 10}, {5, 15}, {0, 15}}}, 12.5f, 0.2f, 0.9f);
}

}  // namespace

TEST(ObstacleFile, WritesHeaderTemplateLineAndTwoDecimalsWithCrLf) {
    Obstacle tree = MakeTree(ObstacleKind::Deciduous, 12, -3.5f, 10, 3, 4, 0.3f, 0.3f, 0.95f);
    std::string text = FormatObstacleFile({tree, SampleBuilding()}, "Umbrix Pro",
                                          TemplateLine{187, 203, 1.0, "/maps/yard.bmp"});
    std::string expected =
        "# Umbrix Pro obstacle file #\r\n"
        "k 187 203  1.00000000000000E+0000 /maps/yard.bmp\r\n"
        "l 12.00 -3.50 10.00 3.00 4.00 0.30 0.30 0.95\r\n"
        "g 0.00 10.00 12.50 5.00 10.00 12.50 5.00 15.00 12.50 0.00 15.00 12.50 "
        "0.00 10.00 0.00 5.00 10.00 0.00 5.00 15.00 0.00 0.00 15.00 0.00 0.20 0.90\r\n";
    EXPECT_EQ(text, expected);
    // without a template map there is no "k" line
    EXPECT_EQ(FormatObstacleFile({}, "Umbrix", std::nullopt), "# Umbrix obstacle file #\r\n");
}

TEST(ObstacleFile, ScaleFieldIsTwentyThreeCharactersWithFourDigitExponent) {
    struct Case {
        double scale;
        const char* text;
    } cases[] = {
        {1.0, " 1.00000000000000E+0000"},
        {0.03125, " 3.12500000000000E-0002"},
        {32.0, " 3.20000000000000E+0001"},
        {0.123456789012345678, " 1.23456789012346E-0001"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatScaleField(c.scale), c.text) << c.scale;
        EXPECT_EQ(FormatScaleField(c.scale).size(), 23u);
    }
}

TEST(ObstacleFile, RoundTripKeepsTwoDecimals) {
    Obstacle tree = MakeTree(ObstacleKind::Conifer, 1.234f, -7.0f, 8, 2, 3, 0.25f, 0.3f, 0.957f);
    std::vector<Obstacle> list = {SampleBuilding(), tree};
    ObstacleFileContent back =
        ParseObstacleFile(FormatObstacleFile(list, "Umbrix", TemplateLine{}), 0.1f, 0.5f);
    ASSERT_EQ(back.obstacles.size(), 2u);
    EXPECT_EQ(back.droppedLines, 0);
    EXPECT_EQ(back.obstacles[0].kind, ObstacleKind::Building);
    EXPECT_EQ(back.obstacles[0].values, list[0].values);
    EXPECT_EQ(back.obstacles[1].kind, ObstacleKind::Conifer);
    EXPECT_FLOAT_EQ(back.obstacles[1].emission(), 0.96f);
    EXPECT_FLOAT_EQ(back.obstacles[1].x(), 1.23f);
    EXPECT_FLOAT_EQ(back.obstacles[1].trunkDiameter(), 0.25f);
}

TEST(ObstacleFile, MissingAlbedoAndEmissionTakeTheDefaults) {
    std::string building = "g";
    for (int i = 1; i <= 24; ++i) building += " " + std::to_string(i);
    std::string text = "l 1 2 10 3 4 0.3\n" + building + "\nn 1 2 10 3 4 0.3 0.45\n";
    ObstacleFileContent c = ParseObstacleFile(text, 0.3f, 0.95f);
    ASSERT_EQ(c.obstacles.size(), 3u);
    EXPECT_FLOAT_EQ(c.obstacles[0].albedo(), 0.3f);
    EXPECT_FLOAT_EQ(c.obstacles[0].emission(), 0.95f);
    EXPECT_FLOAT_EQ(c.obstacles[1].albedo(), 0.3f);
    EXPECT_FLOAT_EQ(c.obstacles[1].emission(), 0.95f);
    EXPECT_FLOAT_EQ(c.obstacles[1].value(24), 24.0f);
    // an albedo without an emission coefficient
    EXPECT_FLOAT_EQ(c.obstacles[2].albedo(), 0.45f);
    EXPECT_FLOAT_EQ(c.obstacles[2].emission(), 0.95f);
    // other defaults come through as given
    ObstacleFileContent d = ParseObstacleFile("l 1 2 10 3 4 0.3\n", 0.12f, 0.88f);
    EXPECT_FLOAT_EQ(d.obstacles[0].albedo(), 0.12f);
    EXPECT_FLOAT_EQ(d.obstacles[0].emission(), 0.88f);
}

TEST(ObstacleFile, MoreThanTwentySixNumbersKeepTheFirstTwentySix) {
    std::string line = "g";
    for (int i = 1; i <= 30; ++i) line += " " + std::to_string(i);
    line += " not-a-number";  // beyond the 26th number nothing is read
    ObstacleFileContent c = ParseObstacleFile(line, 0.3f, 0.95f);
    ASSERT_EQ(c.obstacles.size(), 1u);
    EXPECT_EQ(c.droppedLines, 0);
    EXPECT_FLOAT_EQ(c.obstacles[0].value(26), 26.0f);
    EXPECT_FLOAT_EQ(c.obstacles[0].emission(), 26.0f);
}

TEST(ObstacleFile, UnreadableLinesAreDroppedAndCountedUnknownLinesSkipped) {
    std::string text =
        "# Umbrix obstacle file #\r\n"
        "k 200 200  1.00000000000000E+0000 C:\\maps\\a.bmp\r\n"
        "\r\n"
        "   \t \r\n"
        "x this line is not an obstacle\r\n"
        "l 1 2 1O 3 4 0.3\r\n"             // 6: letter O instead of zero
        "  n\t5 6 10 2 4 0.2 0.3 0.9\r\n"  // 7: leading blanks and a tab are fine
        "l 1 2 10 3\r\n"                   // 8: too few numbers
        "n 1 2 3 2 4 0.2\r\n"              // 9: trunk above the tree top
        "g 1 2 3\r\n"                      // 10: too few numbers
        "l 1 2 10 -3 4 0.2\r\n"            // 11: negative crown
        "l 1 2 1e999 3 4 0.2\r\n"          // 12: not a finite number
        "l 3 4 10 3 4 0.2";                // 13: no line end at the end
    ObstacleFileContent c = ParseObstacleFile(text, 0.3f, 0.95f);
    ASSERT_EQ(c.obstacles.size(), 2u);
    EXPECT_EQ(c.obstacles[0].kind, ObstacleKind::Conifer);
    EXPECT_FLOAT_EQ(c.obstacles[0].x(), 5.0f);
    EXPECT_FLOAT_EQ(c.obstacles[1].x(), 3.0f);
    EXPECT_EQ(c.droppedLines, 6);
    EXPECT_EQ(c.firstDroppedLine, 6);
    EXPECT_NE(c.firstDropReason.find("1O"), std::string::npos);
}

TEST(ObstacleFile, OpeningRefusesTextsWithoutObstaclesNamingFileAndReason) {
    const struct {
        std::string text;
        const char* reason;  // empty: opens
    } cases[] = {
        {"\xFF\xFEg\0", "it is in UTF-16"},
        {"", "it is empty"},
        {"# Umbrix obstacle file #\ng 1 2 three\n", "no obstacle line can be read (line 2"},
        {"# Umbrix obstacle file #\nhello\n", "holds no obstacle lines (line 2"},
        {"# Umbrix obstacle file #\nl 1 2 10 3 4 0.3\ng 1 2 three\n", ""},
    };
    for (const auto& c : cases) {
        if (!*c.reason) {
            const ObstacleFileContent content = ReadObstacleText(c.text, "yard.obs", 0.3f, 0.95f);
            EXPECT_EQ(content.obstacles.size(), 1u);
            EXPECT_EQ(content.droppedLines, 1);
            continue;
        }
        try {
            ReadObstacleText(c.text, "yard.obs", 0.3f, 0.95f);
            ADD_FAILURE() << c.reason;
        } catch (const UmbrixError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find("\"yard.obs\""), std::string::npos) << what;
            EXPECT_NE(what.find(c.reason), std::string::npos) << what;
        }
    }
}

TEST(ObstacleFile, TrunkAsLongAsTheTreeIsHighIsAccepted) {
    ObstacleFileContent c = ParseObstacleFile("l 1 2 4 3 4 0.2\n", 0.3f, 0.95f);
    EXPECT_EQ(c.obstacles.size(), 1u);
    EXPECT_EQ(c.droppedLines, 0);
}

TEST(Obstacle, RotateMoveAndHandles) {
    Obstacle b = SampleBuilding();
    b.rotate(std::numbers::pi / 2);  // counter-clockwise: north becomes west
    EXPECT_NEAR(b.corner(1).x, -10.0, 1e-5);
    EXPECT_NEAR(b.corner(1).y, 0.0, 1e-5);
    EXPECT_NEAR(b.corner(3).x, -15.0, 1e-5);
    EXPECT_NEAR(b.corner(3).y, 5.0, 1e-5);
    EXPECT_FLOAT_EQ(float(b.corner(3).z), 12.5f);
    EXPECT_FLOAT_EQ(float(b.corner(7).z), 0.0f);

    Obstacle t = MakeTree(ObstacleKind::Deciduous, 3, 4, 10, 2, 4, 0.2f, 0.3f, 0.95f);
    t.rotate(std::numbers::pi);
    EXPECT_NEAR(t.x(), -3.0, 1e-5);
    EXPECT_NEAR(t.y(), -4.0, 1e-5);
    EXPECT_FLOAT_EQ(t.height(), 10.0f);
    EXPECT_EQ(t.handleCount(), 1);

    b.moveHandle(2, 1.5, -2);  // one corner only
    EXPECT_NEAR(b.handleX(2), b.corner(6).x + 1.5, 1e-5);
    EXPECT_NEAR(b.handleY(2), b.corner(6).y - 2, 1e-5);
    Obstacle moved = b;
    moved.moveAll(1, 1);
    for (int k = 1; k <= 8; ++k) {
        EXPECT_NEAR(moved.corner(k).x, b.corner(k).x + 1, 1e-5);
        EXPECT_FLOAT_EQ(float(moved.corner(k).z), float(b.corner(k).z));
    }
}

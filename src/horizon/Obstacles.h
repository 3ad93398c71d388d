#pragma once
// The obstacle file (.obs) that stores the obstacles around the location of calculation.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "umbrix/obstacle.h"

namespace umbrix {

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

// The obstacles of an obstacle file's text as opening the file takes them: throws UmbrixError
// naming the file (path) when the text is in UTF-16, is empty, or holds no obstacle that can be
// read. Lines that cannot be read are counted in the result, for a warning.
ObstacleFileContent ReadObstacleText(std::string_view text, const std::string& path,
                                     float defaultAlbedo, float defaultEmission);

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

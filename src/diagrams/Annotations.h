#pragma once
// What the desktop adds to a diagram on screen, in print and in PNG pictures: the shadow
// diagram's scale bar and time, and the legend of the horizon layers over the sun path
// diagram. Each is a picture of the frame's size, drawn over the frame; saved SVG and BMP files
// keep the diagram as it was.
#include <string>
#include <vector>

#include "platform/Picture.h"

namespace umbrix {

// The longest round length (1, 2 or 5 times a power of ten metres) whose bar stays within
// 120 pixels of the shadow square at `scale` metres per pixel.
double ScaleBarMetres(double scale);

// The scale bar with its length ("20 m") under the square's left end and `when` (the date and
// time) under its right end, on a picture of the shadow frame's size.
Picture ShadowAnnotations(double scale, const std::string& when);

struct LegendEntry {
    std::string label;
    Colour colour = kWhite;
};

// A swatch and a label for each entry, top right on a picture of the polar grid's size;
// nothing for no entries.
Picture HorizonLegend(const std::vector<LegendEntry>& entries);

}  // namespace umbrix

#pragma once
// The polar sun path diagram and the day routine behind the table's sunrise, sunset and actual
// sunshine duration.
//
// Polar projection, equidistant in zenith angle as the fisheye horizon image: a direction of
// azimuth A and zenith angle Z lies at r = Z (radians) · 2/π · R from the centre, at
// x = cx + round(sin A · r), y = cy − round(cos A · r); north up, east right.
#include <string>

#include "platform/Picture.h"
#include "platform/Raster.h"

namespace umbrix {

class Host;

// The frame picture: the polar grid, or the square frame of the shadow diagram.
constexpr int kPolarGridWidth = 561;
constexpr int kPolarGridHeight = 581;
constexpr int kShadowFrameWidth = 481;
constexpr int kShadowFrameHeight = 501;
// Where the overlay sits on the frame.
constexpr int kDiagramOffset = 40;
// The path picture: ten times the fisheye scale.
constexpr int kPathSize = 4801;
constexpr int kPathCentre = 2400;
constexpr int kPathRadius = 2400;
constexpr int kOverlaySize = 481;

constexpr Colour kPathRed = Rgb(255, 0, 0);
constexpr Colour kHourRed = Rgb(128, 0, 0);
constexpr Colour kSunOrange = Rgb(255, 170, 0);

// The diagram pictures the main window keeps between commands.
struct DiagramPictures {
    Picture grid{kPolarGridWidth, kPolarGridHeight};  // grid or shadow frame
    Picture path{kPathSize, kPathSize};               // the sun paths since the last "&New"
    Picture overlay{kOverlaySize, kOverlaySize};  // path scaled down with the sun disc, or shadows
    Raster shading{kOverlaySize, kOverlaySize};   // white is transparent
    Raster longWave{kOverlaySize, kOverlaySize};  // never drawn into: stays blank
};

// The point of a sun direction (degrees) on a polar picture with the given centre and horizon
// radius.
Point PolarPoint(double Z, double A, Point centre, double R);

// The frame picture: the polar grid (zenith circles every 10°, azimuth lines every 10°,
// elevation labels, compass letters) or, with shadowFrame, the shadow diagram's square with its
// grid and the location of calculation. caption is the one-line text under it.
void DrawDiagramGrid(Picture& grid, bool shadowFrame, const std::string& caption);

// The day's sun path added to the path picture: the path minute by minute of true local time,
// a circle at each full hour of local time with, when labels is set, the hour beside it, and
// the date ("d.m." of day `day` in `year`) at the sunrise end of the path up to day 181 and at
// the sunset end after it. host (may be null) gets one progress step and one round of message
// processing per minute.
void DrawSunPath(Picture& path, int day, int year, bool labels, float longitude, float latitude,
                 float timeZone, Host* host);

// The overlay picture redrawn for local time t: the path picture scaled down onto it and, while
// the sun is above the horizon, an orange disc at the sun's position.
void DrawSunPosition(Picture& overlay, const Picture& path, int day, float longitude,
                     float latitude, float timeZone, double t);

}  // namespace umbrix

#pragma once
// The shadow diagram: a plan view of the obstacles around the location of calculation with the
// shadows they cast at one time of day. Plan coordinates are metres, x east and y north, the
// location at the origin; the plan is drawn into a 4010 × 4010 picture (ten units per pixel of
// the 401-pixel square shown), s metres per pixel, so the square spans ±200.5 · s metres.
#include <vector>

#include "horizon/Obstacles.h"
#include "platform/Picture.h"

namespace umbrix {

class Host;

constexpr int kShadowPictureSize = 4010;
constexpr int kShadowSquare = 401;

constexpr Colour kShadowDark = Rgb(128, 128, 128);   // night, building and trunk shadows
constexpr Colour kShadowLight = Rgb(192, 192, 192);  // crown shadows, building outlines
constexpr Colour kDeciduousGreen = Rgb(0, 128, 0);
constexpr Colour kConiferTeal = Rgb(0, 128, 128);

struct ShadowSettings {
    int day = 1;  // day of year
    float longitude = 0;
    float latitude = 0;
    float timeZone = 0;
    double scale = 1;  // metres per pixel of the 401-pixel square: 0.25 … 4
    // The obstacle editor's "in calculation" boxes: a kind that is off is not drawn at all.
    bool buildings = true;
    bool deciduous = true;
    bool conifers = true;
};

// Where a plan point (metres) lies on the 4010-unit picture.
Point ShadowMap(double x, double y, double scale);

// The shadow picture for local time t: night (the sun's zenith angle 90° or more) as an all-grey
// square; otherwise the crown shadows, then the shadows of buildings and trunks, then the plan
// symbols of the obstacles on top. host (may be null) gets its progress bar reset and one step
// per obstacle of the crown pass.
Picture DrawShadowPicture(const std::vector<Obstacle>& obstacles, const ShadowSettings& settings,
                          double t, Host* host);

// DrawShadows: the shadow picture for time t scaled into (0, 0)-(401, 401) of the overlay.
void DrawShadows(Picture& overlay, const std::vector<Obstacle>& obstacles,
                 const ShadowSettings& settings, double t, Host* host);

}  // namespace umbrix

#pragma once
// The fisheye horizon image: the upper hemisphere seen from the location of calculation,
// 481 × 481 pixels, centre pixel (240, 240), horizon circle of radius 240, north up and east
// right, equidistant in zenith angle. A pixel that is exactly white is free sky; any other
// colour obstructs. From it come the sun test and the two sky view factors: SVF_Umb, the
// share of the hemisphere's solid angle that is free, and SVF_cos, the cosine-weighted share
// (the view factor of a horizontal surface), after the equidistant-projection weighting of
// sky view factor photographs (Steyn 1980, Atmosphere-Ocean 18:254-258).
#include <span>
#include <variant>

#include "platform/Picture.h"
#include "platform/Raster.h"
#include "umbrix/horizon.h"

namespace umbrix {

class Host;

// The one mapping from a direction to a pixel of a polar picture equidistant in zenith angle,
// north up and east right (the fisheye image, the sun path diagram): the azimuth in radians
// clockwise from north, and the distance from the centre as a share of the horizon radius, 0 at
// the zenith and 1 on the horizon.
Point FisheyePixel(double azimuth, double share, Point centre = {kFisheyeCentre, kFisheyeCentre},
                   double radius = kFisheyeRadius);
// The share of the horizon radius of the zenith angle Z, degrees.
double ZenithShare(double Z);
// The pixel of the direction of azimuth A and zenith angle Z, degrees.
Point FisheyePixelOf(double A, double Z, Point centre = {kFisheyeCentre, kFisheyeCentre},
                     double radius = kFisheyeRadius);

// A horizon source: the hand drawing (a raster, white transparent) or a vector picture
// (topography, obstacles). Null entries are skipped.
using HorizonSource = std::variant<const Raster*, const Picture*>;

// A white 481 × 481 raster with each source drawn stretched into dest, in order and
// transparently: white source pixels leave it unchanged, so the result is the union of the
// obstructions.
Raster ComposeHorizon(std::span<const HorizonSource> sources, const Rect& dest);

// The image for the sun test: sources onto (0, 0)-(481, 481).
Raster BuildHorizonImage(std::span<const HorizonSource> sources);
// The image the sky view factors and the shading pass read: sources onto (0, 0)-(482, 482),
// one pixel larger than the raster in each direction.
Raster BuildSkyViewImage(std::span<const HorizonSource> sources);

// True when the sun at zenith angle Z and azimuth A (degrees) is below the horizon (Z >= 90)
// or its pixel in the image is not exactly white.
bool IsSunHidden(const Raster& image, double Z, double A);

struct SkyViewFactorValues {
    float SVF_Umb = 0;  // free share of the solid angle, 0 .. 1
    float SVF_cos = 0;  // free share of the cosine-weighted hemisphere, 0 .. 1
};

// Integrates both factors from an image built by BuildSkyViewImage (or any composed image):
// columns X outer, rows Y inner, centre and radius 240.5, pixel weight sin θ / r with
// θ = r · π/2. host (may be null) gets the progress range and one step and one round of
// message processing per column.
SkyViewFactorValues IntegrateSkyViewFactors(const Raster& skyImage, Host* host);
SkyViewFactorValues SkyViewFactors(std::span<const HorizonSource> sources, Host* host);

// The polar diagram's shading picture: every obstructed pixel of skyImage within the horizon
// circle is set in shading to (0, v, 2v) with v = round(max(255 · 0.5 · (−cos θ), 0)), θ the
// angle between the pixel's direction and the sun (azimuth As, zenith Zs, degrees); surfaces
// facing away from the sun come out brightest. Other pixels of shading are left as they are,
// so the caller clears it first. Progress as for the sky view factors.
void ShadeSkyImage(const Raster& skyImage, Raster& shading, double As, double Zs, Host* host);

// What the main window keeps from one "&New" for the rows that follow and for "A&dd": the
// composed image for the sun test and the two factors (0 before any computation).
struct FisheyeHorizon {
    Raster image;
    float SVF_Umb = 0;
    float SVF_cos = 0;
};

// Builds the image and integrates the factors from the given sources.
void ComputeFisheyeHorizon(FisheyeHorizon& horizon, std::span<const HorizonSource> sources,
                           Host* host);

}  // namespace umbrix

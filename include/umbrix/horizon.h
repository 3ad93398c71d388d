#pragma once
// The horizon seen from the location of calculation, as the fisheye sky image: the upper
// hemisphere in 481 × 481 pixels, centre pixel (240, 240), horizon circle of radius 240, north up
// and east right, equidistant in zenith angle. Only pure white is free sky. From the image come
// the sun test and the two sky view factors.
//
// A Horizon is immutable and cheap to copy (its image is shared), so one can serve many rows and
// threads.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "umbrix/obstacle.h"

namespace umbrix {

inline constexpr int kFisheyeSize = 481;
inline constexpr int kFisheyeCentre = 240;
inline constexpr int kFisheyeRadius = 240;

// A picture of the sky hemisphere in the fisheye frame (a horizon drawing, or the composed
// image): pixels 0xBBGGRR (the low byte red), row by row from the top; 0xFFFFFF is free sky.
struct HorizonImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// A horizon given as elevation angles, one per azimuth sector of `increment` degrees, sector k
// (from 1) covering the azimuths (k − 1) · increment to k · increment.
struct HorizonProfile {
    int increment = 30;         // degrees
    std::vector<float> angles;  // degrees, 0 … 90
};

// The terrain around the location: the 41 × 41 heights of a grid around the grid point nearest
// to the location.
struct TerrainWindow {
    static constexpr int kSize = 41;
    std::array<float, kSize * kSize> heights{};  // m, rows north to south, west to east within
    int spacing = 50;                            // grid distance, whole metres, >= 1
    double x0 = 1000;                            // the location, m east of the grid's first point
    double y0 = 1000;                            // the location, m south of the grid's first point
    double z0 = 0;  // height of the eye, m, in the datum of the heights
};

// Obstacles around the location, and which of them take part.
struct ObstacleScene {
    std::vector<Obstacle> obstacles;
    double eyeHeight = 1;  // height of the location above the ground, m
    bool buildings = true, deciduous = true, conifers = true;
};

// The sources of a composed horizon; each one left null takes no part. They obstruct together
// (the union of what each hides).
struct HorizonSources {
    const HorizonImage* drawing = nullptr;  // a hand drawing, stretched onto the frame
    const TerrainWindow* terrain = nullptr;
    const ObstacleScene* obstacles = nullptr;
};

class Horizon {
  public:
    // Free sky: the image of no source (the sun hides below the horizon only).
    Horizon();

    // The image composed from the sources. Throws std::invalid_argument when the eye lies
    // below the terrain under it.
    static Horizon FromSources(const HorizonSources& sources);
    // The horizon of a profile: its sun test and sky view factors come from the sectors.
    static Horizon FromProfile(HorizonProfile profile);

    // Sky view factors, 0 … 1: the free share of the hemisphere's solid angle, and of the
    // cosine-weighted hemisphere (the view factor of a horizontal surface).
    float skyViewFactor() const;
    float skyViewFactorCos() const;
    // True when the sun at zenith angle Z and azimuth A (degrees) is below the horizon, at no
    // position at all, or behind an obstruction.
    bool isSunHidden(double Z, double A) const;
    // The composed fisheye image (empty for a profile).
    HorizonImage image() const;
    const HorizonProfile* profile() const;

    struct Data;  // the engine's view of it
    const Data& data() const { return *data_; }
    explicit Horizon(std::shared_ptr<const Data> data);

  private:
    std::shared_ptr<const Data> data_;
};

// The normalised elevation of the terrain horizon (1 stands for 90°) for every whole azimuth
// 0 … 359 clockwise from north, and [360] = [0]. Throws std::invalid_argument when the eye
// lies below the terrain.
std::array<double, 361> TerrainHorizon(const TerrainWindow& terrain);

}  // namespace umbrix

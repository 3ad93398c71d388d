#pragma once
// The obstacle editor's plan view: the buildings and trees around the location of calculation,
// north up, at a scale in metres per pixel, over an optional template map.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "horizon/Obstacles.h"
#include "platform/Raster.h"

namespace umbrix {

class ObstaclePlan {
  public:
    static constexpr int kSize = 401;
    static constexpr int kCentre = 200;  // the location of calculation

    ObstaclePlan();

    double scale() const { return scale_; }      // metres per plan pixel
    double mapZoom() const { return mapZoom_; }  // map pixels per plan pixel
    // The map pixel under the plan's centre.
    int mapX() const { return mapX_; }
    int mapY() const { return mapY_; }

    // Ground coordinates of a plan pixel and back.
    double groundX(int X) const { return (X - kCentre) * scale_; }
    double groundY(int Y) const { return (kCentre - Y) * scale_; }
    Point planPoint(double x, double y) const;

    // Halves (in) or doubles the scale within 0.05 … 20 m per pixel; the map keeps its size on
    // the ground.
    void zoom(bool in);
    // A new scale, the map keeping its size on the ground. False (and the scale kept) for a
    // scale that gives no plan.
    bool setScale(double metresPerPixel);
    // The scale a yardstick of `pixels` that is `metres` long gives; the map keeps its zoom, so
    // that the yardstick drawn on it gets its true length. False as setScale.
    bool setScaleFromYardstick(double metres, double pixels);
    // The roundest scale (1, 1.25, 2, 2.5 or 5 times a power of ten, at least 0.05 m per pixel)
    // at which every obstacle lies within nine tenths of the plan's half width, the map keeping
    // its size on the ground. False (and the scale kept) when there is nothing to fit.
    bool fit(const std::vector<Obstacle>& obstacles);
    // One metre per pixel, the map unzoomed (a new list).
    void resetScale();

    // ---- the template map ----
    bool hasMap() const { return !map_.empty(); }
    // The file of the map last imported; it stays when the map is removed.
    const std::string& mapFileName() const { return mapFileName_; }
    void setMap(Raster map, std::string fileName);
    void removeMap();
    // Puts the map pixel (x, y) under the plan's centre and redraws the map view.
    void moveMap(double x, double y);

    // ---- the pictures ----
    // ObsImg: the plan with white as transparent colour; MapImg: the template map region.
    const Raster& planImage() const { return plan_; }
    const Raster& mapImage() const { return mapView_; }
    // The plan over the map, as the window shows it.
    Raster composedView() const;

    // What the plan marks besides the obstacles.
    struct Marks {
        int selected = -1;                         // drawn in yellow
        const std::vector<Point>* pending;         // the clicks of an obstacle being added
        std::optional<std::pair<int, int>> hover;  // (obstacle, handle) under the pointer
        bool gridOnTop = false;
    };
    // Redraws the map view and the plan.
    void draw(const std::vector<Obstacle>& obstacles, const Marks& marks);

    // Keeps plan coordinates of far obstacles within what the drawing can take.
    static int ClampPixel(double v);

  private:
    void drawMapView();
    void drawGrid();
    void drawObstacle(const Obstacle& ob, bool selected);

    double scale_ = 1.0;
    double mapZoom_ = 1.0;
    int mapX_ = kCentre, mapY_ = kCentre;
    Raster map_;  // the template map as loaded
    std::string mapFileName_;
    Raster mapView_;  // MapImg
    Raster plan_;     // ObsImg
};

}  // namespace umbrix

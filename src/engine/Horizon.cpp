// The horizon of the engine: the fisheye image composed from the three sources, or a profile.
#include <stdexcept>
#include <utility>
#include <vector>

#include "engine/HorizonData.h"
#include "horizon/HorizonProfile.h"
#include "horizon/ObstacleProjection.h"
#include "horizon/Terrain.h"

namespace umbrix {

namespace {

std::shared_ptr<const Horizon::Data> FreeSky() {
    // composed from no source, as the main window does with every horizon item unchecked
    static const Horizon free = ComposeHorizonOf({}, nullptr);
    return std::make_shared<const Horizon::Data>(free.data());
}

Raster ToRaster(const HorizonImage& image) {
    if (image.width < 0 || image.height < 0 ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height))
        throw std::invalid_argument("horizon drawing: " + std::to_string(image.pixels.size()) +
                                    " pixels for " + std::to_string(image.width) + " x " +
                                    std::to_string(image.height));
    Raster raster(image.width, image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            raster.row(y)[x] = image.pixels[std::size_t(y) * image.width + x] & 0xFFFFFF;
    return raster;
}

TopoWindow ToTopoWindow(const TerrainWindow& terrain) {
    TopoWindow window;
    for (int r = 0; r < TerrainWindow::kSize; ++r)
        for (int c = 0; c < TerrainWindow::kSize; ++c)
            window.at(c, r) = terrain.heights[std::size_t(r) * TerrainWindow::kSize + c];
    return window;
}

}  // namespace

Horizon ComposeHorizonOf(std::span<const HorizonSource> sources, Host* host, Raster* skyImage) {
    auto data = std::make_shared<Horizon::Data>();
    data->image = BuildHorizonImage(sources);
    Raster sky = BuildSkyViewImage(sources);
    const SkyViewFactorValues factors = IntegrateSkyViewFactors(sky, host);
    data->svf = factors.SVF_Umb;
    data->svfCos = factors.SVF_cos;
    if (skyImage) *skyImage = std::move(sky);
    return Horizon(std::move(data));
}

Horizon::Horizon() : data_(FreeSky()) {}

Horizon::Horizon(std::shared_ptr<const Data> data) : data_(std::move(data)) {}

std::array<double, 361> TerrainHorizon(const TerrainWindow& terrain) {
    if (terrain.spacing < 1) throw std::invalid_argument("terrain: the grid distance is below 1 m");
    const TopoWindow window = ToTopoWindow(terrain);
    if (TopoHeightAtLocation(window, terrain.spacing, terrain.x0, terrain.y0) > terrain.z0)
        throw std::invalid_argument("terrain: the location lies below the terrain");
    return ComputeTerrainHorizon(window, terrain.spacing, terrain.x0, terrain.y0, terrain.z0);
}

Picture ObstacleHorizonPicture(const ObstacleScene& scene) {
    std::vector<Obstacle> sorted = scene.obstacles;
    SortForProjection(sorted);
    ProjectionSettings settings;
    settings.z0 = float(scene.eyeHeight);
    settings.buildings = scene.buildings;
    settings.deciduous = scene.deciduous;
    settings.conifers = scene.conifers;
    return RenderObstacleHorizon(ProjectObstacles(sorted, settings));
}

SourcePictures::SourcePictures(const HorizonSources& sources) {
    if (sources.drawing) {
        drawing_ = ToRaster(*sources.drawing);
        list_.push_back(&drawing_);
    }
    if (sources.terrain) {
        DrawTerrainHorizon(terrain_, TerrainHorizon(*sources.terrain));
        list_.push_back(&terrain_);
    }
    if (sources.obstacles) {
        obstacles_ = ObstacleHorizonPicture(*sources.obstacles);
        list_.push_back(&obstacles_);
    }
}

Horizon Horizon::FromSources(const HorizonSources& sources) {
    // in the main window's order: drawing, topography, obstacles
    const SourcePictures pictures(sources);
    return ComposeHorizonOf(pictures.list(), nullptr);
}

Horizon Horizon::FromProfile(HorizonProfile profile) {
    auto data = std::make_shared<Data>();
    data->svf = ProfileSkyViewFactor(profile);
    data->svfCos = ProfileSkyViewFactorCos(profile);
    data->profile = std::move(profile);
    return Horizon(std::move(data));
}

float Horizon::skyViewFactor() const {
    return data_->svf;
}

float Horizon::skyViewFactorCos() const {
    return data_->svfCos;
}

bool Horizon::isSunHidden(double Z, double A) const {
    if (data_->profile) return IsSunHiddenByProfile(*data_->profile, Z, A);
    return IsSunHidden(data_->image, Z, A);
}

HorizonImage Horizon::image() const {
    HorizonImage out;
    const Raster& r = data_->image;
    out.width = r.width();
    out.height = r.height();
    out.pixels.reserve(std::size_t(r.width()) * std::size_t(r.height()));
    for (int y = 0; y < r.height(); ++y)
        out.pixels.insert(out.pixels.end(), r.row(y), r.row(y) + r.width());
    return out;
}

const HorizonProfile* Horizon::profile() const {
    return data_->profile ? &*data_->profile : nullptr;
}

}  // namespace umbrix

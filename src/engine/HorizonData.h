#pragma once
// What a Horizon holds, and how the window models build one from the pictures their editors
// keep.
#include <atomic>
#include <optional>
#include <span>
#include <vector>

#include "horizon/Fisheye.h"
#include "platform/Picture.h"
#include "platform/Raster.h"
#include "umbrix/horizon.h"

namespace umbrix {

class Host;

// A fact about a horizon's image, worked out when first asked for (by any thread); a copy
// asks afresh, since its image may then change.
class ImageFact {
  public:
    ImageFact() = default;
    ImageFact(const ImageFact&) {}
    ImageFact& operator=(const ImageFact&) {
        state_ = -1;
        return *this;
    }
    template <class Compute>
    bool get(Compute compute) const {
        int s = state_.load(std::memory_order_acquire);
        if (s < 0) {
            s = compute() ? 1 : 0;
            state_.store(s, std::memory_order_release);
        }
        return s == 1;
    }

  private:
    mutable std::atomic<int> state_{-1};
};

struct Horizon::Data {
    Raster image;  // the composed image for the sun test; empty for a profile
    std::optional<HorizonProfile> profile;
    float svf = 1, svfCos = 1;
    ImageFact openSky;  // sky everywhere within the sun test's limit
};

// The horizon of the sources as the main window composes it: the image for the sun test and
// the factors integrated over the image one pixel larger, which goes to skyImage when asked for
// (the polar diagram shades it). host (may be null) sees the progress of the integration.
Horizon ComposeHorizonOf(std::span<const HorizonSource> sources, Host* host,
                         Raster* skyImage = nullptr);

// The sources of a Horizon as the pictures the composition draws, in the main window's order:
// drawing, terrain, obstacles. Throws as Horizon::FromSources does.
class SourcePictures {
  public:
    explicit SourcePictures(const HorizonSources& sources);
    SourcePictures(const SourcePictures&) = delete;
    SourcePictures& operator=(const SourcePictures&) = delete;
    const std::vector<HorizonSource>& list() const { return list_; }

  private:
    Raster drawing_;
    Picture terrain_, obstacles_;
    std::vector<HorizonSource> list_;
};

// The obstacle horizon picture of a scene: the obstacles sorted, projected and recorded as the
// obstacle editor does when it closes.
Picture ObstacleHorizonPicture(const ObstacleScene& scene);

// The composed image of a horizon built from sources (empty for a profile).
inline const Raster& HorizonRaster(const Horizon& horizon) {
    return horizon.data().image;
}

}  // namespace umbrix

#pragma once
// The pointer on the obstacle editor's plan: selecting and dragging obstacles and their
// handles, and, in the mode of the speed button that is down, adding obstacles click by click,
// moving the location, the map or everything, and drawing a yardstick.
#include <optional>
#include <utility>
#include <vector>

#include "horizon/Obstacles.h"
#include "platform/Raster.h"

namespace umbrix {

class ObstacleEditorModel;

enum class MouseButton { Left, Right };

class ObstaclePointer {
  public:
    // Acts on the editor as the user's hand does: selects, moves, adds.
    explicit ObstaclePointer(ObstacleEditorModel& editor) : editor_(editor) {}

    void down(int X, int Y, MouseButton button);
    void move(int X, int Y);
    void up(int X, int Y, MouseButton button);
    void doubleClick();

    // The handle under the pointer, as (obstacle, handle); forgotten when the list changes.
    std::optional<std::pair<int, int>> hover() const { return hover_; }
    void forgetHover() { hover_.reset(); }
    // The clicks of an obstacle being added (plan pixels); null when none is.
    const std::vector<Point>* pendingClicks() const {
        return pending_ ? &pending_->clicks : nullptr;
    }
    // Drops an obstacle half added and the press; true when an obstacle was being added.
    bool release();
    // The length of the last yardstick in plan pixels (0 before).
    double yardstickPixels() const { return yardstickPixels_; }

  private:
    struct PendingAdd {
        ObstacleKind kind = ObstacleKind::Building;
        std::vector<Point> clicks;  // plan pixels
    };

    std::optional<std::pair<int, int>> hitTest(int X, int Y) const;
    void addClick(Point p);

    ObstacleEditorModel& editor_;
    bool pressed_ = false;
    Point press_;
    int pressMapX_ = 0, pressMapY_ = 0;
    std::optional<PendingAdd> pending_;
    double yardstickPixels_ = 0;
    std::optional<std::pair<int, int>> hover_;
};

}  // namespace umbrix

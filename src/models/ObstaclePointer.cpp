#include "models/ObstaclePointer.h"

#include <cmath>

#include "models/ComponentNames.h"
#include "models/ObstacleEditorModel.h"
#include "platform/Format.h"

namespace umbrix {

using namespace obstacle_editor;

namespace {

constexpr const char* kHintCrown = "Set crown expansion - Baumkronenausdehnung festlegen";
constexpr const char* kHintYardstickEnd =
    "Release mouse button on end of yardstick - Maustaste am Ende des Maßstabs loslassen";

// New obstacles from clicks: a building 10 m high, a tree 10 m high with its crown from 4 m.
constexpr float kNewHeight = 10.0f;
constexpr float kNewTrunkLength = 4.0f;

}  // namespace

bool ObstaclePointer::release() {
    pressed_ = false;
    if (!pending_) return false;
    pending_.reset();
    return true;
}

std::optional<std::pair<int, int>> ObstaclePointer::hitTest(int X, int Y) const {
    const ObstaclePlan& plan = editor_.plan_;
    double x = plan.groundX(X), y = plan.groundY(Y), s = plan.scale();
    const std::vector<Obstacle>& obstacles = editor_.obstacles_;
    for (std::size_t i = 0; i < obstacles.size(); ++i) {
        const Obstacle& ob = obstacles[i];
        for (int h = 1; h <= ob.handleCount(); ++h)
            if (std::abs(x - ob.handleX(h)) <= s && std::abs(y - ob.handleY(h)) <= s)
                return std::pair{int(i), h};
    }
    return std::nullopt;
}

void ObstaclePointer::down(int X, int Y, MouseButton /*button*/) {
    pressed_ = true;
    press_ = {X, Y};
    pressMapX_ = editor_.plan_.mapX();
    pressMapY_ = editor_.plan_.mapY();
    std::string m = editor_.mode();
    if (m.empty()) {
        if (auto hit = hitTest(X, Y))
            editor_.selectObstacle(hit->first, hit->second);
        else
            editor_.selectObstacle(-1);
    } else if (m == ScaleBtn) {
        editor_.setHint(kHintYardstickEnd);
    }
}

void ObstaclePointer::move(int X, int Y) {
    ObstaclePlan& plan = editor_.plan_;
    editor_.ctl(LabelX).caption = "x: " + decimals(plan.groundX(X), 2);
    editor_.ctl(LabelY).caption = "y: " + decimals(plan.groundY(Y), 2);
    std::string m = editor_.mode();
    if (pressed_ && m == MoveMapBtn) {
        // the map moves with the pointer, so its centre pixel moves against it
        plan.moveMap(pressMapX_ - std::nearbyint((X - press_.x) * plan.mapZoom()),
                     pressMapY_ - std::nearbyint((Y - press_.y) * plan.mapZoom()));
        editor_.changed(MapImg);
        return;
    }
    if (m == AddObsBtn || m == MoveMapBtn) return;
    std::optional<std::pair<int, int>> hit = hitTest(X, Y);
    if (hit == hover_) return;
    hover_ = hit;
    editor_.redraw();
}

void ObstaclePointer::up(int X, int Y, MouseButton button) {
    if (!pressed_) return;
    pressed_ = false;
    const ObstaclePlan& plan = editor_.plan_;
    double dx = (X - press_.x) * plan.scale(), dy = (press_.y - Y) * plan.scale();
    std::string m = editor_.mode();
    if (m.empty()) {
        const int selected = editor_.selected_;
        if (selected < 0) return;
        // a click without a drag moves nothing and leaves no undo step
        if (dx != 0 || dy != 0) editor_.rememberForUndo();
        Obstacle& ob = editor_.obstacles_[selected];
        if (button == MouseButton::Left)
            ob.moveAll(dx, dy);
        else
            ob.moveHandle(editor_.selectedHandle_, dx, dy);
        editor_.setModified();
        editor_.redraw();
    } else if (m == AddObsBtn) {
        addClick({X, Y});
    } else if (m == MoveLocBtn) {
        editor_.shiftAll(-plan.groundX(X), -plan.groundY(Y));
    } else if (m == MoveBtn) {
        editor_.shiftAll(-dx, -dy);
    } else if (m == ScaleBtn) {
        double length = std::hypot(double(X - press_.x), double(Y - press_.y));
        editor_.releaseModes();
        // a yardstick over no distance gives no scale
        if (length == 0) return;
        yardstickPixels_ = length;
        Control& field = editor_.ctl(EditYardstick);
        field.text = general(length * plan.scale(), 7);
        field.enabled = true;
        editor_.focus_ = EditYardstick;
        editor_.defaultButton_ = ApplyButton;
    } else if (m == MoveMapBtn) {
        editor_.redraw();
    }
}

void ObstaclePointer::doubleClick() {
    // In a pointer mode the second click of a double click is just a click: placing corners
    // quickly must neither lose one nor open the dialog of the obstacle selected before.
    if (!editor_.mode().empty()) return;
    pressed_ = false;
    if (editor_.selected_ >= 0) editor_.edit();
}

void ObstaclePointer::addClick(Point p) {
    if (!pending_) {
        int kindIndex = editor_.ctl(RadioGrp).itemIndex;
        pending_ = PendingAdd{kindIndex == 1   ? ObstacleKind::Deciduous
                              : kindIndex == 2 ? ObstacleKind::Conifer
                                               : ObstacleKind::Building,
                              {}};
        editor_.ctl(RadioGrp).enabled = false;
    }
    pending_->clicks.push_back(p);
    const std::vector<Point>& c = pending_->clicks;
    const ObstaclePlan& plan = editor_.plan_;
    Obstacle ob;
    ob.kind = pending_->kind;
    if (ob.isBuilding()) {
        if (c.size() < 4) return editor_.redraw();
        for (int k = 1; k <= 4; ++k) {
            float x = float(plan.groundX(c[k - 1].x)), y = float(plan.groundY(c[k - 1].y));
            ob.setCorner(k, x, y, kNewHeight);
            ob.setCorner(k + 4, x, y, 0.0f);
        }
    } else {
        if (c.size() < 2) {
            editor_.setHint(kHintCrown);
            return editor_.redraw();
        }
        float r =
            float(std::hypot(double(c[1].x - c[0].x), double(c[1].y - c[0].y)) * plan.scale());
        ob = MakeTree(ob.kind, float(plan.groundX(c[0].x)), float(plan.groundY(c[0].y)), kNewHeight,
                      r, kNewTrunkLength, r / 10, 0, 0);
    }
    ob.setAlbedo(editor_.defaultAlbedo_);
    ob.setEmission(editor_.defaultEmission_);
    pending_.reset();
    editor_.ctl(RadioGrp).enabled = true;
    editor_.showModeHint();
    editor_.appendObstacle(ob);
}

}  // namespace umbrix

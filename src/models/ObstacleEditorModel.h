#pragma once
// The obstacle editor: the list of buildings and trees around the location of calculation and
// the commands on it; when the window closes, the projection of the obstacles into the obstacle
// horizon picture. It composes the plan view (ObstaclePlan), the files (ObstacleFiles) and the
// pointer on the plan (ObstaclePointer).
#include <optional>
#include <string>
#include <vector>

#include "horizon/ObstacleProjection.h"
#include "horizon/Obstacles.h"
#include "models/MainWindowLink.h"
#include "models/ObstacleFiles.h"
#include "models/ObstaclePlan.h"
#include "models/ObstaclePointer.h"
#include "models/UndoHistory.h"
#include "platform/FormModel.h"
#include "platform/Picture.h"
#include "platform/Raster.h"
#include "umbrix/horizon.h"

namespace umbrix {

class BuildingDialog;
class DeciduousTreeDialog;
class ConiferDialog;

class ObstacleEditorModel : public FormModel {
  public:
    static constexpr int kPlanSize = ObstaclePlan::kSize;
    static constexpr int kPlanCentre = ObstaclePlan::kCentre;

    ObstacleEditorModel(Host& host, BuildingDialog& buildingDialog,
                        DeciduousTreeDialog& deciduousDialog, ConiferDialog& coniferDialog);
    ~ObstacleEditorModel() override;

    // The main window, where the obstacles take part in the horizon and the shadow diagram is
    // available or not. May be absent.
    void setMainWindow(MainWindowLink* main) { main_ = main; }
    void setGerman(bool german);

    // ---- the list ----
    const std::vector<Obstacle>& obstacles() const { return obstacles_; }
    // 0-based index of the selected obstacle, or -1; and its selected handle (1-based).
    int selectedIndex() const { return selected_; }
    int selectedHandle() const { return selectedHandle_; }
    bool modified() const { return modified_; }
    float defaultAlbedo() const { return defaultAlbedo_; }
    float defaultEmission() const { return defaultEmission_; }
    // The obstacle file last opened or saved (the save dialog's name); empty before.
    const std::string& obstacleFileName() const { return files_.fileName(); }
    // Before something replaces the list: asks whether to save unsaved changes (Yes, No,
    // Cancel); false when the user cancels.
    bool saveChangesFirst() { return offerSave(); }
    // A list from elsewhere (a project file) as opening a file takes it, unchanged and without
    // history; the obstacle horizon is projected at once when the obstacles take part.
    void replaceList(std::vector<Obstacle> obstacles, bool takesPart);
    // Adds an obstacle as the add mode does (tests, examples).
    void appendObstacle(const Obstacle& obstacle);

    // ---- undo and redo of the list: add, move, edit, remove, paste, rotate, shift, clear ----
    static constexpr std::size_t kUndoDepth = 50;
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    void undo();
    void redo();

    // ---- plan view ----
    double scale() const { return plan_.scale(); }      // metres per plan pixel
    double mapZoom() const { return plan_.mapZoom(); }  // map pixels per plan pixel
    int mapX() const { return plan_.mapX(); }
    int mapY() const { return plan_.mapY(); }
    bool hasMap() const { return plan_.hasMap(); }
    // ObsImg: the plan with white as transparent colour; MapImg: the template map region.
    const Raster& planImage() const { return plan_.planImage(); }
    const Raster& mapImage() const { return plan_.mapImage(); }
    // The plan over the map, as the window shows it.
    Raster composedView() const { return plan_.composedView(); }
    void redraw();

    // Ground coordinates of a plan pixel and back.
    double groundX(int X) const { return plan_.groundX(X); }
    double groundY(int Y) const { return plan_.groundY(Y); }
    Point planPoint(double x, double y) const { return plan_.planPoint(x, y); }

    // ---- pointer on the plan ----
    void mouseDown(int X, int Y, MouseButton button = MouseButton::Left) {
        pointer_.down(X, Y, button);
    }
    void mouseMove(int X, int Y) { pointer_.move(X, Y); }
    void mouseUp(int X, int Y, MouseButton button = MouseButton::Left) {
        pointer_.up(X, Y, button);
    }
    // Opens the selected obstacle's dialog; in a pointer mode it does nothing, the view
    // delivers the second press and release as an ordinary click.
    void doubleClick() { pointer_.doubleClick(); }
    // The handle under the pointer that the inverting circle marks, as (obstacle, handle).
    std::optional<std::pair<int, int>> hoverHandle() const { return pointer_.hover(); }
    // The speed button that is down among the modes, or "".
    std::string mode() const;
    // The control that has the focus after a command, and the default button.
    const std::string& focusedControl() const { return focus_; }
    const std::string& defaultButton() const { return defaultButton_; }

    // ---- closing and the horizon ----
    // "&Close": offers to save changes, builds the obstacle horizon picture, hides the window;
    // cancelled, the window stays open as it was.
    void close();
    // The projection alone (the close handler runs it after the optional save).
    void buildHorizonPicture();
    // The obstacle horizon picture: 481 x 481, white is free sky. Until the first close it does
    // not exist.
    const Picture* horizonPicture() const { return horizon_ ? &*horizon_ : nullptr; }
    // The obstacles, the eye height and the kinds that take part, as the projection takes them.
    ObstacleScene scene() const;
    // The shapes drawn into it, in drawing order.
    const std::vector<ProjectedShape>& horizonShapes() const { return shapes_; }

  protected:
    void onClick(const std::string& name) override;
    void onExit(const std::string& name) override;
    void onChange(const std::string& name) override;
    void onSelect(const std::string& name) override;

  private:
    friend class ObstaclePointer;

    // The main window's side, when there is one.
    void setTakesPart(bool takesPart);
    void setShadowsAvailable(bool available);
    void requireNewTable();
    void newList();
    void openFile();
    bool saveFile();  // false when the user cancels
    // With changes: asks "Save changes?" (Yes, No, Cancel). False when the command must stop:
    // Cancel, or a save dialog that was cancelled.
    bool offerSave();

    void releaseModes();
    void chooseMode(const std::string& button);
    void setHint(const std::string& hint);
    void showModeHint();
    void selectObstacle(int index, int handle = 1);
    void updateCount();
    void setModified();
    struct ListState {
        std::vector<Obstacle> obstacles;
        int selected = -1;
        bool takesPart = false;  // the main window's "Obstacles" item
    };
    ListState listState() const;
    // Called before every change of the list; opening a file starts a new history.
    void rememberForUndo() { history_.record(listState()); }
    void restoreList(ListState state);
    void edit();
    void copyObstacle();
    void pasteObstacle();
    void removeSelected();
    void rotate();
    void zoom(bool in);
    void fitToObstacles();
    void applyScale(bool redrawAfter);
    void applyYardstick();
    void importMap();
    void removeMap();
    void shiftAll(double dx, double dy);

    BuildingDialog& buildingDialog_;
    DeciduousTreeDialog& deciduousDialog_;
    ConiferDialog& coniferDialog_;
    MainWindowLink* main_ = nullptr;
    bool german_ = false;

    std::vector<Obstacle> obstacles_;
    int selected_ = -1;
    int selectedHandle_ = 1;
    bool modified_ = false;
    float defaultAlbedo_ = 0.3f;
    float defaultEmission_ = 0.95f;
    std::optional<Obstacle> clipboard_;
    UndoHistory<ListState> history_{kUndoDepth};

    ObstacleFiles files_;
    ObstaclePlan plan_;
    ObstaclePointer pointer_{*this};
    std::string focus_;
    std::string defaultButton_;

    std::optional<Picture> horizon_;
    std::vector<ProjectedShape> shapes_;
};

}  // namespace umbrix

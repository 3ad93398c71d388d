#pragma once
// The obstacle editor (ObstacleEditorModel): the plan view over the template map with the pointer
// modes of its speed buttons, the kind and number selectors, scale, yardstick, rotation, zoom, copy
// and paste, the "in calculation" boxes, the location height and the file commands; and the
// window of its three obstacle dialogs (BuildingDialog, DeciduousTreeDialog, ConiferDialog).
#include <string>

#include "platform/Raster.h"
#include "ui/Desktop.h"
#include "ui/UndoMenu.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace umbrix {
class ObstacleDialog;
class ObstacleEditorModel;
}  // namespace umbrix

namespace umbrix::ui {

class PictureView;

class ObstacleWindow : public FormWindow {
    Q_OBJECT
  public:
    ObstacleWindow(ObstacleEditorModel& model, Desktop& desktop);
    void refreshView() override;

    PictureView* planView() const { return plan_; }

  private:
    void buildMenu();
    QWidget* buildToolBar();
    QWidget* buildSidePanel();
    void connectPointer();
    void stepNumber(int direction);
    void run(const std::function<void()>& action);

    ObstacleEditorModel& editor_;
    PictureView* plan_ = nullptr;
    UndoMenu undoMenu_;
    QRadioButton* kinds_[3] = {};
    Raster shownPlan_;
    Raster shownMap_;
    std::string focusShown_;
};

class ObstacleDialogWindow : public FormWindow {
    Q_OBJECT
  public:
    ObstacleDialogWindow(ObstacleDialog& model, Desktop& desktop);
    void refreshView() override;

  private:
    void buildBuilding(QGridLayout* grid);
    void buildTree(QGridLayout* grid);
    QLineEdit* field(const std::string& name);

    QPushButton* ok_ = nullptr;
    // the coordinate labels of the bottom corners repeat those of the top corners
    QLabel* repeated_[3] = {};
};

}  // namespace umbrix::ui

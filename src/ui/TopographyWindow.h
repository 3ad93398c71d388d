#pragma once
// The topography editor (TopographyEditorModel): the grid settings and the location, the shaded
// relief map with its grid lines, markers, edge labels and pointer position, the edit point with
// its height field and Auto-enter, and the file commands; "&Close" computes the terrain horizon.
#include <QObject>

#include "platform/Raster.h"
#include "ui/Desktop.h"

class QLineEdit;

namespace umbrix {
class TopographyEditorModel;
}

namespace umbrix::ui {

class PictureView;

class TopographyWindow : public FormWindow {
    Q_OBJECT
  public:
    TopographyWindow(TopographyEditorModel& model, Desktop& desktop);
    void refreshView() override;

    PictureView* mapView() const { return map_; }

  protected:
    // Enter with Auto-enter down and Escape in the height field.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenu();
    QWidget* buildSettings();
    QWidget* buildMap();
    void connectPointer();
    // Gives the height field the focus when the model asks for it.
    void focusHeightIfAsked();

    TopographyEditorModel& editor_;
    PictureView* map_ = nullptr;
    QLineEdit* height_ = nullptr;
    Raster shownMap_;
};

}  // namespace umbrix::ui

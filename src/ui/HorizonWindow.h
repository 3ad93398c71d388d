#pragma once
// The horizon limitation editor (HorizonEditorModel): the fisheye drawing over its grid, the three
// drawing modes with the inverting preview line, the flood fill, the pick buttons with the
// pipette cursor, the cut-off track bars and their swatch, the albedo and emission displays
// with their colour scale and hints, undo and the file commands.
#include <QImage>
#include <vector>

#include "platform/Raster.h"
#include "ui/Desktop.h"
#include "ui/UndoMenu.h"

class QFrame;
class QLabel;

namespace umbrix {
class HorizonEditorModel;
}

namespace umbrix::ui {

class PictureView;

class HorizonWindow : public FormWindow {
    Q_OBJECT
  public:
    HorizonWindow(HorizonEditorModel& model, Desktop& desktop);
    void refreshView() override;

    PictureView* imageView() const { return image_; }

  private:
    QWidget* buildToolBar();
    QWidget* buildSidePanel();
    void connectPointer();
    void pointerOver(int x, int y);
    QImage compose() const;

    HorizonEditorModel& editor_;
    PictureView* image_ = nullptr;
    UndoMenu undoMenu_;
    PictureView* scale_ = nullptr;
    QWidget* scaleColumn_ = nullptr;
    QFrame* brushSwatch_ = nullptr;
    QFrame* cutSwatch_ = nullptr;
    QLabel* hint_ = nullptr;
    QImage grid_;
    // what the view shows, to compose it again only when that changed
    Raster shownPicture_;
    std::vector<Point> shownPolygon_;
    int shownLayers_ = -1;
};

}  // namespace umbrix::ui

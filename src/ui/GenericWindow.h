#pragma once
// A window for a model that has no window of its own here: one row per control, its menu items
// in one menu, its pictures shown as the model hands them over. The editors' plan or drawing is
// shown beside the rows, with the mouse forwarded to the editor in picture pixels.
#include <QImage>
#include <functional>
#include <optional>

#include "ui/Desktop.h"

namespace umbrix {
class Raster;
}

namespace umbrix::ui {

class PictureView;

// What a picture that takes the mouse needs of its editor.
struct EditorCanvas {
    std::function<QImage()> picture;
    std::function<void(int x, int y, Qt::MouseButton button)> press;
    std::function<void(int x, int y)> move;
    std::function<void(int x, int y, Qt::MouseButton button)> release;
    std::function<void(int x, int y)> doubleClick;
};
// The canvas of the editors that have one (obstacles, horizon drawing, topography).
std::optional<EditorCanvas> CanvasOf(FormModel& model, QWidget* window);

class GenericWindow : public FormWindow {
    Q_OBJECT
  public:
    GenericWindow(FormModel& model, Desktop& desktop);
    void refreshView() override;
    PictureView* canvasView() const { return canvasView_; }

  private:
    std::optional<EditorCanvas> canvas_;
    PictureView* canvasView_ = nullptr;
};

}  // namespace umbrix::ui

#pragma once
// The output window's picture leaves the program as the screen shows it: "Save as PNG..." in the
// File menu (twice the shown size, or a size typed in its dialog) and "&Edit" → "&Copy" to the
// clipboard, both drawn by Qt from the vector picture.
#include <QImage>
#include <QSize>
#include <functional>

class QMainWindow;
class QMenu;

namespace umbrix::ui {

class Desktop;
class PictureView;

// The picture the view shows, drawn at `pixels` (device pixels); a null image when the view
// shows nothing.
QImage ViewPicture(const PictureView& view, QSize pixels);
// The size the view's picture takes on the screen, in device pixels.
QSize ShownPixels(const PictureView& view);

// Adds "Save as PNG..." to `file` and an Edit menu with "&Copy" to the window's menu bar.
void AddDiagramExport(QMainWindow& window, QMenu& file, Desktop& desktop,
                      std::function<PictureView*()> view);

}  // namespace umbrix::ui

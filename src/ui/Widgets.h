#pragma once
// Small widgets that the platform's controls need and Qt lacks as such: an up-down pair of
// arrows, a picture view that sizes itself to its picture, and a check list whose items are
// reordered by dragging (the model does the move).
#include <QImage>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace umbrix {
class Picture;
class Raster;
}  // namespace umbrix

namespace umbrix::ui {

class UpDownWidget : public QWidget {
    Q_OBJECT
  public:
    explicit UpDownWidget(QWidget* parent = nullptr);
  signals:
    // +1 for up, -1 for down
    void stepped(int direction);
};

class PictureView : public QWidget {
    Q_OBJECT
  public:
    explicit PictureView(QWidget* parent = nullptr);
    // Shows the vector picture when there is one, else the raster; nothing when neither.
    void showPicture(const std::shared_ptr<const Picture>& picture,
                     const std::shared_ptr<const Raster>& image, bool force = false);
    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    QSize sizeHint() const override;
    // Smooth: a vector picture is drawn by Qt (antialiased, scalable text) fitted to the
    // widget's size at the screen's pixel ratio, and the widget may be resized freely.
    // Otherwise pictures are rasterised 1:1 as the editors need them for their pointers.
    void setSmooth(bool smooth);
    // The vector picture shown in smooth mode (null when a raster or nothing is shown).
    const std::shared_ptr<const Picture>& vectorPicture() const { return vector_; }

  signals:
    void pressed(int x, int y, Qt::MouseButton button);
    void moved(int x, int y);
    void released(int x, int y, Qt::MouseButton button);
    void doubleClicked(int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QImage image_;
    bool smooth_ = false;
    std::shared_ptr<const Picture> vector_;
    // what is shown, to redraw only when the model hands over another picture
    const void* shown_ = nullptr;
    std::size_t shownOps_ = 0;
};

class CheckListWidget : public QListWidget {
    Q_OBJECT
  public:
    explicit CheckListWidget(QWidget* parent = nullptr);
  signals:
    // The item pressed at `from` was released over the item at `to`.
    void itemDragged(int from, int to);

  protected:
    void dropEvent(QDropEvent* event) override;
};

QFont FixedPitchFont();

// A read-only text view in a fixed-pitch font without word wrap, for tables: it follows a
// model's lines, appending what was added and redrawing only when earlier lines changed.
class LinesView : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit LinesView(QWidget* parent = nullptr);
    void showLines(const std::vector<std::string>& lines);
    // Table rows (the lines after the names and units that follow the header's empty line) show
    // a field holding this value as "–"; hovering it shows `missingReason` of the row's
    // fields and the field's column. Saved files keep the value as it is.
    void markMissing(
        double value,
        std::function<QString(const QStringList& names, const QStringList& row, int column)>
            reason);
    // Width in pixels of the widest of the first lines, tabs expanded: what the table needs.
    int contentWidth() const { return contentWidth_; }

  protected:
    bool viewportEvent(QEvent* event) override;

  private:
    int measure() const;
    QString shownLine(std::size_t index) const;

    std::vector<std::string> shown_;
    std::size_t firstRow_ = 0;  // 0: no table rows found yet
    double missingValue_ = 0;
    std::function<QString(const QStringList&, const QStringList&, int)> missingReason_;
    int contentWidth_ = 0;
};

}  // namespace umbrix::ui

#pragma once
// The output window's map view: a map over the obstacle plan at the main window's date and
// time (its inputs as a point calculation takes them), one quantity shown at a time, with a
// pointer hint that gives the values of the cell under the pointer.
#include <QWidget>
#include <optional>

#include "models/MapRequest.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace umbrix {
class Application;
}

namespace umbrix::ui {

class PictureView;

class MapView : public QWidget {
    Q_OBJECT
  public:
    MapView(Application& app, QWidget* parent = nullptr);
    // The hint for the pointer's cell, or the last message.
    QString hintText() const;
    PictureView* picture() const { return picture_; }

  private:
    void compute();
    void showQuantity();
    void pointerAt(int x, int y);
    bool german() const;

    Application& app_;
    QComboBox* quantity_ = nullptr;
    QLineEdit* cell_ = nullptr;
    QPushButton* compute_ = nullptr;
    PictureView* picture_ = nullptr;
    QLabel* hint_ = nullptr;
    std::optional<MapOutcome> outcome_;
};

}  // namespace umbrix::ui

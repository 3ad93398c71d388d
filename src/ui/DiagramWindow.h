#pragma once
// The diagram window (OutputWindowModel): the picture view of the sun path and shadow diagrams, the
// text view of the table in a fixed-pitch font, the toolbar and the menus "&File" and "&View".
#include <QSize>

#include "ui/Desktop.h"

class QScrollArea;
class QStackedWidget;
class QToolBar;
class QToolButton;

namespace umbrix {
class OutputWindowModel;
}

namespace umbrix::ui {

class ChartsPage;
class LinesView;
class MapView;
class OutputTableView;
class PictureView;

class DiagramWindow : public FormWindow {
    Q_OBJECT
  public:
    DiagramWindow(OutputWindowModel& model, Desktop& desktop);
    void refreshView() override;

    PictureView* pictureView() const { return picture_; }
    LinesView* textView() const { return text_; }
    MapView* mapView() const { return mapView_; }
    OutputTableView* tableView() const { return table_; }

  private:
    void buildMenus();
    void buildToolBar();

    OutputWindowModel& map_;
    QToolBar* tools_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    PictureView* picture_ = nullptr;
    LinesView* text_ = nullptr;
    QSize clientShown_;
    bool textShown_ = false;
    OutputTableView* table_ = nullptr;
    QToolButton* tableButton_ = nullptr;
    // the "Map" button shows the map view in place of the picture and text views
    QStackedWidget* pages_ = nullptr;
    MapView* mapView_ = nullptr;
    ChartsPage* charts_ = nullptr;  // likewise the "Charts" button
};

}  // namespace umbrix::ui

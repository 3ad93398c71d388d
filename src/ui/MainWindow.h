#pragma once
// The main window (MainWindowModel): the inputs of a calculation in five groups, the commands
// "&New" and "A&dd", Cancel and the progress bar, and the menus "&File", "&Input", "&Output",
// "&Table", "Lan&guage" and "&?".
#include "ui/Desktop.h"

class QLayout;

namespace umbrix {
class MainWindowModel;
}

namespace umbrix::ui {

class MainWindow : public FormWindow {
    Q_OBJECT
  public:
    MainWindow(MainWindowModel& model, Desktop& desktop);

  private:
    void buildMenus();
    QWidget* buildGeographic();
    QWidget* buildDateTime();
    QWidget* buildMeteorology();
    QWidget* buildPerson();
    QWidget* buildIndices();
    QLayout* buildCommands();
};

}  // namespace umbrix::ui

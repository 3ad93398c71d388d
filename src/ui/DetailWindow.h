#pragma once
// The detail window of the PET/MEMI and mPET models (DetailTableModel): the detail table as text.
#include "ui/Desktop.h"

namespace umbrix {
class DetailTableModel;
}

namespace umbrix::ui {

class LinesView;

class DetailWindow : public FormWindow {
    Q_OBJECT
  public:
    DetailWindow(DetailTableModel& model, Desktop& desktop);
    void refreshView() override;

  private:
    DetailTableModel& model_;
    LinesView* text_;
};

}  // namespace umbrix::ui

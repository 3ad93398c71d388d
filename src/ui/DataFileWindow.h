#pragma once
// The data-file window (DataFileWindowModel): the data file, its reading formats and separator, the
// column list (checked and reordered by dragging), "Output in file".
#include "ui/Desktop.h"

namespace umbrix {
class DataFileWindowModel;
}

namespace umbrix::ui {

class DataFileWindow : public FormWindow {
    Q_OBJECT
  public:
    DataFileWindow(DataFileWindowModel& model, Desktop& desktop);
};

}  // namespace umbrix::ui

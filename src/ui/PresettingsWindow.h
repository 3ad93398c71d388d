#pragma once
// The pre-settings window (PresettingsModel): model parameters and the output date and time
// formats.
#include "ui/Desktop.h"

namespace umbrix {
class PresettingsModel;
}

namespace umbrix::ui {

class PresettingsWindow : public FormWindow {
    Q_OBJECT
  public:
    PresettingsWindow(PresettingsModel& model, Desktop& desktop);
};

}  // namespace umbrix::ui

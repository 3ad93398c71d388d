#pragma once
// The pre-settings window (TFormVorgaben): model parameters and the output date and time formats.
#include "ui/Desktop.h"

namespace umbrix {
class TFormVorgaben;
}

namespace umbrix::ui {

class PresettingsWindow : public FormWindow {
    Q_OBJECT
  public:
    PresettingsWindow(TFormVorgaben& model, Desktop& desktop);
};

}  // namespace umbrix::ui

#pragma once
// A window for a model that has no window of its own here: one row per control and its menu
// items in one menu, so that a new model is usable before it gets a window made for it.
#include "ui/Desktop.h"

namespace umbrix::ui {

class GenericWindow : public FormWindow {
    Q_OBJECT
  public:
    GenericWindow(FormModel& model, Desktop& desktop);
};

}  // namespace umbrix::ui

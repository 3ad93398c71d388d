#pragma once
// A window for a model that has no window of its own here yet: one row per control, its menu
// items in one menu, its pictures shown as the model hands them over.
#include "ui/Desktop.h"

namespace umbrix::ui {

class GenericWindow : public FormWindow {
    Q_OBJECT
public:
    GenericWindow(FormModel& model, Desktop& desktop);
};

}  // namespace umbrix::ui

#pragma once
// The data-file window (TFormWerte): the data file, its reading formats and separator, the
// column list (checked and reordered by dragging), "Output in file".
#include "ui/Desktop.h"

namespace umbrix {
class TFormWerte;
}

namespace umbrix::ui {

class DataFileWindow : public FormWindow {
    Q_OBJECT
  public:
    DataFileWindow(TFormWerte& model, Desktop& desktop);
};

}  // namespace umbrix::ui

#pragma once
// The detail window of the PET/MEMI and mPET models (TFormMemi): the detail table as text.
#include "ui/Desktop.h"

namespace umbrix {
class TFormMemi;
}

namespace umbrix::ui {

class LinesView;

class DetailWindow : public FormWindow {
    Q_OBJECT
  public:
    DetailWindow(TFormMemi& model, Desktop& desktop);
    void refreshView() override;

  private:
    TFormMemi& memi_;
    LinesView* text_;
};

}  // namespace umbrix::ui

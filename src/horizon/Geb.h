#pragma once
// The building dialog: eight corners (top corners #1-#4 and the bottom corners below them, as
// columns of x, y and z), albedo and emission coefficient.
#include "horizon/ObstacleDialog.h"

namespace umbrix {

class TGebForm : public ObstacleDialog {
  public:
    explicit TGebForm(Host& host);
    void setGerman(bool german) override;
};

}  // namespace umbrix

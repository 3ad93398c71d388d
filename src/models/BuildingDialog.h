#pragma once
// The building dialog: eight corners (top corners #1-#4 and the bottom corners below them, as
// columns of x, y and z), albedo and emission coefficient.
#include "models/ObstacleDialog.h"

namespace umbrix {

class BuildingDialog : public ObstacleDialog {
  public:
    explicit BuildingDialog(Host& host);
    void setGerman(bool german) override;
};

}  // namespace umbrix

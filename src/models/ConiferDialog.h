#pragma once
// The coniferous tree dialog: trunk position, tree height, crown radius, trunk length and diameter,
// albedo and emission coefficient.
#include "models/ObstacleDialog.h"

namespace umbrix {

class ConiferDialog : public TreeDialog {
  public:
    explicit ConiferDialog(Host& host);
};

}  // namespace umbrix

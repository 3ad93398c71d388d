#pragma once
// The coniferous tree dialog: trunk position, tree height, crown radius, trunk length and diameter,
// albedo and emission coefficient.
#include "horizon/ObstacleDialog.h"

namespace umbrix {

class TNadelForm : public TreeDialog {
  public:
    explicit TNadelForm(Host& host);
};

}  // namespace umbrix

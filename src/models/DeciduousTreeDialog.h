#pragma once
// The deciduous tree dialog: trunk position, tree height, crown radius, trunk length and diameter,
// albedo and emission coefficient.
#include "models/ObstacleDialog.h"

namespace umbrix {

class DeciduousTreeDialog : public TreeDialog {
  public:
    explicit DeciduousTreeDialog(Host& host);
};

}  // namespace umbrix

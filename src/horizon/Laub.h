#pragma once
// The deciduous tree dialog: trunk position, tree height, crown radius, trunk length and diameter,
// albedo and emission coefficient.
#include "horizon/ObstacleDialog.h"

namespace umbrix {

class TLaubForm : public TreeDialog {
  public:
    explicit TLaubForm(Host& host);
};

}  // namespace umbrix

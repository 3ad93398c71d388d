#pragma once
// The program's icon: a sun half hidden by a building (data/umbrix.svg, built in).
#include <QIcon>

namespace umbrix::ui {

QIcon ApplicationIcon();

}  // namespace umbrix::ui

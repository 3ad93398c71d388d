#include "models/DeciduousTreeDialog.h"

namespace umbrix {

DeciduousTreeDialog::DeciduousTreeDialog(Host& host)
    : TreeDialog("LaubForm", host, "Edit deciduous tree - Laubbaum bearbeiten") {}

}  // namespace umbrix

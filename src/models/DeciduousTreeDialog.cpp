#include "models/DeciduousTreeDialog.h"

#include "models/ComponentNames.h"

namespace umbrix {

DeciduousTreeDialog::DeciduousTreeDialog(Host& host)
    : TreeDialog(tree_dialog::kDeciduousForm, host, "Edit deciduous tree - Laubbaum bearbeiten") {}

}  // namespace umbrix

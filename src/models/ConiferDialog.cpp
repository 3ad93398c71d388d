#include "models/ConiferDialog.h"

#include "models/ComponentNames.h"

namespace umbrix {

ConiferDialog::ConiferDialog(Host& host)
    : TreeDialog(tree_dialog::kConiferForm, host, "Edit coniferous tree - Nadelbaum bearbeiten") {}

}  // namespace umbrix

#include "models/ConiferDialog.h"

namespace umbrix {

ConiferDialog::ConiferDialog(Host& host)
    : TreeDialog("NadelForm", host, "Edit coniferous tree - Nadelbaum bearbeiten") {}

}  // namespace umbrix

#include "horizon/Nadel.h"

namespace umbrix {

TNadelForm::TNadelForm(Host& host)
    : TreeDialog("NadelForm", host, "Edit coniferous tree - Nadelbaum bearbeiten") {}

}  // namespace umbrix

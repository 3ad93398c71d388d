#include "horizon/Laub.h"

namespace umbrix {

TLaubForm::TLaubForm(Host& host)
    : TreeDialog("LaubForm", host, "Edit deciduous tree - Laubbaum bearbeiten") {}

}  // namespace umbrix

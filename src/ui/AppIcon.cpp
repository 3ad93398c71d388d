#include "ui/AppIcon.h"

// The resources of a static library are registered by hand, outside any namespace.
static void RegisterIconResource() {
    Q_INIT_RESOURCE(umbrix);
}

namespace umbrix::ui {

QIcon ApplicationIcon() {
    static const bool registered = (RegisterIconResource(), true);
    (void)registered;
    return QIcon(":/icons/umbrix.svg");
}

}  // namespace umbrix::ui

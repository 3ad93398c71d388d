// umbrix-gui: the desktop program.
#include "ui/start.h"

int main(int argc, char** argv) {
    return umbrix::ui::RunDesktop(argc, argv);
}

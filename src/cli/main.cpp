// umbrix: the command line. Drives the window models as a user would.
#include <iostream>

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    std::cerr << "umbrix: not built yet\n";
    return 1;
}
